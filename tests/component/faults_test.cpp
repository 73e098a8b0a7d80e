// Saving files, seen where the faults strike: each row puts one fault beside an old settings file or
// picture and runs the program's own load and save. Afterwards the file is whole, old or new as the
// row says, the call answered as designed, and nothing else is left in the folder. The faults only
// the whole program shows are in the end-to-end stories.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/bmp_export.h"
#include "shell/base/platform.h"
#include "shell/settings_file.h"

namespace {

SettingsRecord Record(uint32_t penSize)
{
    SettingsRecord r;
    r.flags = 0x5A00007F;  // marks in unused bits: only a whole write keeps them
    r.launchHotKey = 0x22C, r.launchDelay = 3, r.lastPen = -1, r.penSize = penSize, r.penSelectKey = 0x171;
    for (int i = 0; i < 8; ++i)
        r.palette[i] = 0x030201 * (i + 1);
    std::strcpy(r.savePath, "C:\\a.bmp");
    return r;
}

// The same record as the file other copies of the program read: offsets and sizes pinned here.
std::string FileOf(uint32_t penSize)
{
    std::string f(340, '\0');
    const auto put = [&f](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) f[at + i] = char(v >> 8 * i); };
    put(0, 0x5A00007F), put(4, 0x22C), put(8, 3), put(12, 0xFFFFFFFF), put(16, penSize), put(20, 0x171);
    for (int i = 0; i < 8; ++i)
        put(32 + 4 * i, 0x030201 * (i + 1));
    return f.replace(80, 8, "C:\\a.bmp");
}

std::string Bytes(const SettingsRecord& r) { return std::string(reinterpret_cast<const char*>(&r), sizeof(r)); }

const std::string kOldSettings = FileOf(7), kNewSettings = FileOf(9);
const std::string kOldPicture(200, 'x');  // longer than the new picture: none of it may remain
const char kRows[] = "\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20\21\22\23\24\25\26\27\30";  // 3 x 2: rows of 9 and 3 of pad
// The file: "BM", its size, the offset of the rows; the information header's size, width, height,
// planes, bits per pixel, no compression, the size of the rows; then the rows.
const unsigned char kHeaders[54] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0,
                                    2,   0,   0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 24};
const std::string kNewPicture = std::string(kHeaders, kHeaders + 54) + std::string(kRows, 24);
std::string target;  // the file of the row
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
// failed; a fixed temporary name left behind read-only blocked every later save.
TEST(Saving, EverySaveLeavesAWholeFileAndNothingElse)
{
    const struct {
        const char *fault, *target;
        void (*arrange)(const std::string& dir);
        BOOL (*write)(HANDLE, const void*, DWORD, DWORD*);  // the platform's write during the row, if not the system's
        bool (*act)(const std::string& path);                // the program's own steps; their answer
        bool answer;
        const char* holds;  // old, new (whole), folder or nothing
        std::vector<std::string> leaves;
    } rows[] = {
        {"a read-only Scrivane.cfg.new left by an older save", "Scrivane.cfg",
         [](const std::string& d) {
             std::ofstream(d + "\\Scrivane.cfg.new") << "x";
             SetFileAttributesA((d + "\\Scrivane.cfg.new").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         nullptr, SaveNew, true, "new", {"Scrivane.cfg", "Scrivane.cfg.new"}},
        {"the settings file is a folder: defaults, and the save gives up", "Scrivane.cfg", TargetIsAFolder, nullptr,
         [](const std::string& path) {  // false: nothing taken, nothing saved
             SettingsRecord r = Record(3);
             return LoadSettingsFrom(path.c_str(), r) || r.penSize != 3 || SaveNew(path);
         },
         false, "folder", {"Scrivane.cfg"}},
        {"a 100 MB settings file: only its first 80 bytes are taken, and it is saved whole", "Scrivane.cfg",
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
                  : now.str() == old ? "old" : now.str() == (picture ? kNewPicture : kNewSettings) ? "new" : "other",
                  std::string(row.holds)) << row.fault;
        std::vector<std::string> leaves;  // then the folder goes, with everything in it
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            leaves.push_back(entry.path().filename().string());
            SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(dir);
        std::sort(leaves.begin(), leaves.end());
        EXPECT_EQ(leaves, row.leaves) << row.fault;
    }
}

}  // namespace
