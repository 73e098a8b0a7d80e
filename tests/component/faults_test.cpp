// Saving files where the faults strike: each row puts one fault beside an old settings file or picture and runs
// the program's own load and save. The file is then whole, old or new, and nothing else is left in the folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "render/bmp_export.h"
#include "shell/base/platform.h"
#include "shell/settings_file.h"

namespace {

SettingsRecord Record(uint32_t penSize)  // the file is the record byte for byte: its layout is pinned where it is defined
{
    SettingsRecord r;
    r.flags = 0x5A00007F, r.penSize = penSize;  // marks in unused bits: only a whole write keeps them
    return std::strcpy(r.savePath, "C:\\a.bmp"), r;
}
std::string Bytes(const SettingsRecord& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof(r)); }

const std::string kOldSettings = Bytes(Record(7)), kNewSettings = Bytes(Record(9)), kOldPicture(200, 'x');  // longer
const char kRows[] = "\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20\21\22\23\24\25\26\27\30";  // 3 x 2: rows of 9 and 3 of pad
// "BM", file size, offset of the rows; header size, width, height, planes, bits per pixel, BI_RGB, size of the rows.
const unsigned char kHeaders[54] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0,
                                    2,   0,   0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 24};
const std::string kNewPicture = std::string(kHeaders, kHeaders + 54) + std::string(kRows, 24);
std::string target;  // the file of the row
bool everyWriteFoundTheOldFileWhole;

BOOL FullDisk(HANDLE, const void*, DWORD, DWORD*) { return SetLastError(ERROR_DISK_FULL), FALSE; }
BOOL HalfWritten(HANDLE f, const void* b, DWORD size, DWORD* n) { return SystemPlatform().writeFile(f, b, size / 2, n); }
BOOL KilledHereWouldLeave(HANDLE f, const void* b, DWORD size, DWORD* n)  // what the next start would read
{
    SettingsRecord next;
    everyWriteFoundTheOldFileWhole &= LoadSettingsFrom(target.c_str(), next) && Bytes(next) == kOldSettings;
    return SystemPlatform().writeFile(f, b, size, n);
}
bool SaveNew(const std::string& path) { return SaveSettingsTo(path.c_str(), Record(9)); }
bool SavePicture(const std::string& path) { return WriteBmp(3, path.c_str(), 2, kRows) != 0; }
void TargetIsAFolder() { DeleteFileA(target.c_str()), CreateDirectoryA(target.c_str(), nullptr); }
void ReadOnlyNew()  // as an older version of the program left it
{
    std::ofstream(target + ".new") << "x";
    SetFileAttributesA((target + ".new").c_str(), FILE_ATTRIBUTE_READONLY);
}

// Regressions: a save that truncated the old file first lost it; a fixed temporary name left read-only blocked saves.
TEST(Saving, EverySaveLeavesAWholeFileAndNothingElse)
{
    const struct {  // the fault, the file, the platform's write if not the system's, the program's steps and their answer
        const char *fault, *target;
        void (*arrange)();
        BOOL (*write)(HANDLE, const void*, DWORD, DWORD*);
        bool (*act)(const std::string& path), answer;
        const char* holds;  // old, new (whole), folder or nothing
    } rows[] = {
        {"a read-only Scrivane.cfg.new left by an older version", "Scrivane.cfg", ReadOnlyNew, nullptr, SaveNew, true, "new"},
        {"the settings file is a folder: defaults, and the save gives up", "Scrivane.cfg", TargetIsAFolder, nullptr,
         [](const std::string& path) { SettingsRecord r; return LoadSettingsFrom(path.c_str(), r) || SaveNew(path); },
         false, "folder"},
        {"a 100 MB settings file: only its first 80 bytes are taken, and it is saved whole", "Scrivane.cfg",
         [] { std::filesystem::resize_file(target, 100 << 20); }, nullptr,
         [](const std::string& p) { SettingsRecord r; return LoadSettingsFrom(p.c_str(), r) && r.penSize == 7 && !*r.savePath && SaveNew(p); },
         true, "new"},
        {"the disk is full: no write succeeds", "Scrivane.cfg", nullptr, FullDisk, SaveNew, false, "old"},
        {"the disk fills part way: a write stops short", "Scrivane.cfg", nullptr, HalfWritten, SaveNew, false, "old"},
        {"killed at any write of the save: the next start reads the old file whole", "Scrivane.cfg", nullptr,
         KilledHereWouldLeave, [](const std::string& path) { return SaveNew(path) && everyWriteFoundTheOldFileWhole; }, true, "new"},
        {"a picture over an old one: exactly the headers and the rows", "pic.bmp", nullptr, nullptr, SavePicture, true, "new"},
        {"a picture saved into a folder that has vanished since the dialog", "gone\\pic.bmp", nullptr, nullptr, SavePicture, false, "nothing"},
        {"regression: a new picture in a folder too long for a temporary name (Windows refuses them, Wine does not)",
         "pic.bmp", [] { DeleteFileA(target.c_str()), Platform.tempFileName = [](auto, auto, auto&) { return false; }; },
         nullptr, SavePicture, true, "new"},
    };
    const std::string dir = (std::filesystem::current_path() / "scrivane-saves").string();  // in the build tree
    const auto names = [&dir](bool writable) {  // what the folder holds; made writable again to be removed
        std::set<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            all.insert(entry.path().filename().string()), writable && SetFileAttributesA(entry.path().string().c_str(), 0x80);
        return all;
    };
    for (const auto& row : rows) {
        std::filesystem::create_directory(dir), target = dir + "\\" + row.target;
        const std::string old = std::string(row.target) != "Scrivane.cfg" ? kOldPicture : kOldSettings;
        std::ofstream(target, std::ios::binary) << old;  // nothing, when the folder is gone
        const PlatformFunctions saved = Platform;
        row.arrange ? row.arrange() : void();
        std::set<std::string> before = names(false);
        everyWriteFoundTheOldFileWhole = true, Platform.writeFile = row.write ? row.write : Platform.writeFile;
        EXPECT_EQ(row.act(target), row.answer) << row.fault;
        Platform = saved;
        std::ostringstream now;
        now << std::ifstream(target, std::ios::binary).rdbuf();
        const DWORD attributes = GetFileAttributesA(target.c_str());
        const std::string holds = attributes == INVALID_FILE_ATTRIBUTES ? "nothing" : attributes & FILE_ATTRIBUTE_DIRECTORY ? "folder"
                                  : now.str() == old ? "old" : now.str() == (old == kOldPicture ? kNewPicture : kNewSettings) ? "new" : "other";
        EXPECT_EQ(holds, row.holds) << row.fault;
        holds == "nothing" || before.insert(row.target).second;
        EXPECT_EQ(names(true), before) << row.fault << ": what the folder holds afterwards";
        std::filesystem::remove_all(dir);
    }
}

}  // namespace
