// Saving files, seen where the faults strike: each row puts one fault beside an old settings file or
// picture and runs the program's own load and save. Afterwards the file is whole, old or new as the
// row says, the call answered as designed, and nothing else is left in the folder. The faults only
// the whole program shows are in the end-to-end stories.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/bmp_export.h"
#include "render/bmp_layout.h"
#include "shell/base/platform.h"
#include "shell/settings_file.h"

namespace {

using Names = std::vector<std::string>;

SettingsRecord Record(uint32_t penSize)
{
    SettingsRecord r;
    r.flags = 0x5A00007F;  // marks in unused bits: only a whole write keeps them
    r.penSize = penSize;
    return r;
}

std::string Bytes(const SettingsRecord& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof(r)); }

const std::string kOldSettings = Bytes(Record(7)), kNewSettings = Bytes(Record(9));
const std::string kOldPicture(200, 'x');  // longer than the new picture: none of it may remain
const char kRows[] = "\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20\21\22\23\24\25\26\27\30";  // 3 x 2: rows of 9 and 3 of pad
std::string target;                       // the file of the row
bool everyWriteFoundTheOldFileWhole;

BOOL FullDisk(HANDLE, const void*, DWORD, DWORD*) { return SetLastError(ERROR_DISK_FULL), FALSE; }

BOOL HalfWritten(HANDLE file, const void* bytes, DWORD size, DWORD* written)
{
    return SystemPlatform().writeFile(file, bytes, size / 2, written);
}

// A kill at any write of the save leaves on disk what the next start reads then.
BOOL KilledHereWouldLeave(HANDLE file, const void* bytes, DWORD size, DWORD* written)
{
    SettingsRecord next;
    everyWriteFoundTheOldFileWhole &= LoadSettingsFrom(target.c_str(), next) && Bytes(next) == kOldSettings;
    return SystemPlatform().writeFile(file, bytes, size, written);
}

bool SaveNew(const std::string& path) { return SaveSettingsTo(path.c_str(), Record(9)); }
bool SavePicture(const std::string& path) { return WriteBmp(3, path.c_str(), 2, kRows) != 0; }
void TargetIsAFolder(const std::string&) { DeleteFileA(target.c_str()), CreateDirectoryA(target.c_str(), nullptr); }

// Regressions among the rows: a save that truncated the old file first lost it when the write
// failed; a fixed temporary name left behind read-only, or as a folder, blocked every later save.
TEST(Saving, EverySaveLeavesAWholeFileAndNothingElse)
{
    const struct {
        const char *fault, *target;
        void (*arrange)(const std::string& dir);
        BOOL (*write)(HANDLE, const void*, DWORD, DWORD*);  // the platform's write during the row, if not the system's
        bool (*act)(const std::string& path);                // the program's own steps; their answer
        bool answer;
        const char* holds;  // old, new (whole), folder or nothing
        Names leaves;
    } rows[] = {
        {"a read-only Scrivane.cfg.new left by an older save", "Scrivane.cfg",
         [](const std::string& d) {
             std::ofstream(d + "\\Scrivane.cfg.new") << "x";
             SetFileAttributesA((d + "\\Scrivane.cfg.new").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         nullptr, SaveNew, true, "new", {"Scrivane.cfg", "Scrivane.cfg.new"}},
        {"a folder named Scrivane.cfg.new", "Scrivane.cfg",
         [](const std::string& d) { CreateDirectoryA((d + "\\Scrivane.cfg.new").c_str(), nullptr); }, nullptr,
         SaveNew, true, "new", {"Scrivane.cfg", "Scrivane.cfg.new"}},
        {"the settings file is a folder: defaults, and the save gives up", "Scrivane.cfg", TargetIsAFolder, nullptr,
         [](const std::string& path) {  // false: nothing taken, nothing saved
             SettingsRecord r = Record(3);
             return LoadSettingsFrom(path.c_str(), r) || r.penSize != 3 || SaveNew(path);
         },
         false, "folder", {"Scrivane.cfg"}},
        {"a 100 MB settings file: its first 80 bytes are taken, and it is saved whole", "Scrivane.cfg",
         [](const std::string&) { std::filesystem::resize_file(target, 100 << 20); }, nullptr,
         [](const std::string& path) {
             SettingsRecord r;
             return LoadSettingsFrom(path.c_str(), r) && r.penSize == 7 && r.savePath[0] == '\0' && SaveNew(path);
         },
         true, "new", {"Scrivane.cfg"}},
        {"the disk is full: no write succeeds", "Scrivane.cfg", nullptr, FullDisk, SaveNew, false, "old", {"Scrivane.cfg"}},
        {"the disk fills part way: a write stops short", "Scrivane.cfg", nullptr, HalfWritten, SaveNew, false, "old",
         {"Scrivane.cfg"}},
        {"killed at any write of the save: the next start reads the old file whole", "Scrivane.cfg", nullptr,
         KilledHereWouldLeave, [](const std::string& path) { return SaveNew(path) && everyWriteFoundTheOldFileWhole; },
         true, "new", {"Scrivane.cfg"}},
        {"a picture over an old one: exactly the headers and the rows", "pic.bmp", nullptr, nullptr, SavePicture, true,
         "new", {"pic.bmp"}},
        {"a picture saved to a full disk", "pic.bmp", nullptr, FullDisk, SavePicture, false, "old", {"pic.bmp"}},
        {"a picture of no columns is refused", "pic.bmp", nullptr, nullptr,
         [](const std::string& path) { return WriteBmp(0, path.c_str(), 2, kRows) != 0; }, false, "old", {"pic.bmp"}},
        {"no pixels: the DIB section could not be made", "pic.bmp", nullptr, nullptr,
         [](const std::string& path) { return WriteBmp(3, path.c_str(), 2, nullptr) != 0; }, false, "old", {"pic.bmp"}},
        {"a picture named as a folder", "shots", TargetIsAFolder, nullptr, SavePicture, false, "folder", {"shots"}},
        {"a picture saved into a folder that has vanished since the dialog", "gone\\pic.bmp", nullptr, nullptr,
         SavePicture, false, "nothing", {}},
        {"regression: a new picture under a folder too long for a temporary name (Windows refuses one over 246 "
         "characters, Wine does not) was not saved: made in place", "pic.bmp", [](const std::string&) {
             DeleteFileA(target.c_str()), Platform.tempFileName = [](auto, auto, auto&) { return false; }; },
         nullptr, SavePicture, true, "new", {"pic.bmp"}},
    };
    BmpLayout layout = {};
    uint8_t headers[kBmpHeadersSize];
    BmpLayoutFor(3, 2, layout);
    FillBmpHeaders(3, 2, layout, headers);
    const std::string newPicture = std::string(headers, headers + sizeof(headers)) + std::string(kRows, 24);
    const std::string dir = (std::filesystem::current_path() / "scrivane-saves").string();  // in the build tree
    for (const auto& row : rows) {
        std::filesystem::create_directory(dir);
        target = dir + "\\" + row.target;
        const bool picture = std::string(row.target) != "Scrivane.cfg";
        const std::string old = picture ? kOldPicture : kOldSettings;
        std::ofstream(target, std::ios::binary) << old;  // nothing, when the folder is gone
        const PlatformFunctions saved = Platform;
        if (row.arrange)
            row.arrange(dir);

        everyWriteFoundTheOldFileWhole = true;
        if (row.write)
            Platform.writeFile = row.write;
        EXPECT_EQ(row.act(target), row.answer) << row.fault;
        Platform = saved;
        std::ostringstream now;
        now << std::ifstream(target, std::ios::binary).rdbuf();
        const DWORD attributes = GetFileAttributesA(target.c_str());
        EXPECT_EQ(attributes == INVALID_FILE_ATTRIBUTES ? "nothing" : attributes & FILE_ATTRIBUTE_DIRECTORY ? "folder"
                  : now.str() == old ? "old" : now.str() == (picture ? newPicture : kNewSettings) ? "new" : "other",
                  std::string(row.holds)) << row.fault;
        Names leaves;  // then the folder goes, with everything in it
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            leaves.push_back(entry.path().filename().string());
            SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(dir);
        std::sort(leaves.begin(), leaves.end());
        EXPECT_EQ(leaves, row.leaves) << row.fault << ": nothing else is left in the folder";
    }
}

}  // namespace
