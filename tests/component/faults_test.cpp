// The fault table for saving files, seen where the faults strike: each row puts one fault beside
// an old settings file or picture and runs the program's own load and save. Afterwards the file is
// whole, old or new as the row says, the call answered as designed, and nothing else is left in the
// folder. The faults only the whole program shows are in the end-to-end stories.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/bmp_export.h"
#include "shell/settings_file.h"
#include "support/platform_override.h"
#include "support/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

SettingsRecord Record(uint32_t penSize)
{
    SettingsRecord r;
    r.flags = 0x5A00007F;  // marks in unused bits: only a whole write keeps them
    r.penSize = penSize;
    return r;
}

std::string Bytes(const SettingsRecord& r)
{
    return std::string(reinterpret_cast<const char*>(&r), sizeof(r));
}

const std::string kOldSettings = Bytes(Record(7));
const std::string kNewSettings = Bytes(Record(9));
const std::string kOldPicture = "an old picture";
const char kPixels[16] = {};  // 2 x 2, rows of 6 bytes and 2 of pad

BOOL FullDisk(HANDLE, const void*, DWORD, DWORD*)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL HalfWritten(HANDLE file, const void* bytes, DWORD size, DWORD* written)
{
    return SystemPlatform().writeFile(file, bytes, size / 2, written);
}

// A kill at any write of the save leaves on disk what the next start reads then.
std::string target;
bool everyWriteFoundTheOldFileWhole;
BOOL KilledHereWouldLeave(HANDLE file, const void* bytes, DWORD size, DWORD* written)
{
    SettingsRecord next;
    everyWriteFoundTheOldFileWhole &= LoadSettingsFrom(target.c_str(), next) && Bytes(next) == kOldSettings;
    return SystemPlatform().writeFile(file, bytes, size, written);
}

bool SaveNew(const std::string& path)
{
    return SaveSettingsTo(path.c_str(), Record(9));
}

bool SavePicture(const std::string& path)
{
    return WriteBmp(2, path.c_str(), 2, kPixels) != 0;
}

Names Listing(const TempDir& dir)
{
    Names names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(dir.file("*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Regressions among the rows: a save that truncated the old file first lost it when the write
// failed; a fixed temporary name left behind read-only, or as a folder, blocked every later save.
TEST(Faults, EverySaveLeavesAWholeFileAndNothingElse)
{
    using WriteFn = BOOL (*)(HANDLE, const void*, DWORD, DWORD*);
    enum class Holds { Old, New, Folder, Nothing };
    struct Row {
        const char* fault;
        const char* target;
        void (*arrange)(const TempDir&);
        WriteFn write;                         // the platform's write during the row; null: the system's
        bool (*act)(const std::string& path);  // the program's own steps; their answer
        bool answer;
        Holds holds;
        Names leaves;
    } rows[] = {
        {"a read-only Scrivane.cfg.new left by an older save", "Scrivane.cfg",
         [](const TempDir& d) {
             WriteWholeFile(d.file("Scrivane.cfg.new"), "x");
             SetFileAttributesA(d.file("Scrivane.cfg.new").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         nullptr, SaveNew, true, Holds::New, {"Scrivane.cfg", "Scrivane.cfg.new"}},
        {"a folder named Scrivane.cfg.new", "Scrivane.cfg",
         [](const TempDir& d) { CreateDirectoryA(d.file("Scrivane.cfg.new").c_str(), nullptr); }, nullptr, SaveNew,
         true, Holds::New, {"Scrivane.cfg", "Scrivane.cfg.new"}},
        {"the settings file is a folder: defaults, and the save gives up", "Scrivane.cfg",
         [](const TempDir& d) {
             DeleteFileA(d.file("Scrivane.cfg").c_str());
             CreateDirectoryA(d.file("Scrivane.cfg").c_str(), nullptr);
         },
         nullptr,
         [](const std::string& path) {  // false: nothing taken, nothing saved
             SettingsRecord r = Record(3);
             return LoadSettingsFrom(path.c_str(), r) || r.penSize != 3 || SaveNew(path);
         },
         false, Holds::Folder, {"Scrivane.cfg"}},
        {"a 100 MB settings file: its first 80 bytes are taken, and it is saved whole", "Scrivane.cfg",
         [](const TempDir& d) {
             HANDLE f = CreateFileA(d.file("Scrivane.cfg").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             LARGE_INTEGER size;
             size.QuadPart = 100 << 20;
             SetFilePointerEx(f, size, nullptr, FILE_BEGIN);
             SetEndOfFile(f);
             CloseHandle(f);
         },
         nullptr,
         [](const std::string& path) {
             SettingsRecord r;
             return LoadSettingsFrom(path.c_str(), r) && r.penSize == 7 && r.savePath[0] == '\0' && SaveNew(path);
         },
         true, Holds::New, {"Scrivane.cfg"}},
        {"the disk is full: no write succeeds", "Scrivane.cfg", nullptr, FullDisk, SaveNew, false, Holds::Old,
         {"Scrivane.cfg"}},
        {"the disk fills part way: a write stops short", "Scrivane.cfg", nullptr, HalfWritten, SaveNew, false,
         Holds::Old, {"Scrivane.cfg"}},
        {"killed at any write of the save: the next start reads the old file whole", "Scrivane.cfg", nullptr,
         KilledHereWouldLeave, [](const std::string& path) { return SaveNew(path) && everyWriteFoundTheOldFileWhole; },
         true, Holds::New, {"Scrivane.cfg"}},
        {"a picture saved to a full disk", "pic.bmp", nullptr, FullDisk, SavePicture, false, Holds::Old, {"pic.bmp"}},
        {"a picture saved into a folder that has vanished since the dialog", "gone\\pic.bmp", nullptr, nullptr,
         SavePicture, false, Holds::Nothing, {}},
    };
    for (const Row& row : rows) {
        TempDir dir;
        target = dir.file(row.target);
        const bool picture = std::string(row.target).find(".bmp") != std::string::npos;
        const std::string old = picture ? kOldPicture : kOldSettings;
        WriteWholeFile(target, old);  // nothing, when the folder is gone
        if (row.arrange)
            row.arrange(dir);

        everyWriteFoundTheOldFileWhole = true;
        {
            PlatformOverride platform;
            if (row.write)
                Platform.writeFile = row.write;
            EXPECT_EQ(row.act(target), row.answer) << row.fault;
        }
        const std::string now = ReadWholeFile(target);
        switch (row.holds) {
        case Holds::Old: EXPECT_EQ(now, old) << row.fault << ": the old file is kept"; break;
        case Holds::New: EXPECT_EQ(now, kNewSettings) << row.fault << ": the new record, whole"; break;
        case Holds::Folder:
            EXPECT_EQ(GetFileAttributesA(target.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY)) << row.fault;
            break;
        case Holds::Nothing: EXPECT_FALSE(FileExists(target)) << row.fault; break;
        }
        EXPECT_EQ(Listing(dir), row.leaves) << row.fault << ": nothing else is left in the folder";
    }
}

}  // namespace
