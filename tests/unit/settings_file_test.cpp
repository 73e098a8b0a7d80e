#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/settings_file.h"
#include "support/platform_override.h"
#include "support/temp_dir.h"

namespace {

std::string Pattern(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(0x41 + i % 26);
    return bytes;
}

std::string RecordBytes(const SettingsRecord& s)
{
    return std::string(reinterpret_cast<const char*>(&s), sizeof(s));
}

class SettingsFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("Scrivane.cfg");
};

TEST_F(SettingsFile, EachFileSizeFollowsTheReadRule)
{
    const SettingsRecord defaults;
    struct Case {
        size_t size;
        size_t taken;  // bytes of the file that end up in the record
        const char* why;
    } cases[] = {
        {0, 0, "empty"},       {63, 0, "below 64"},         {64, 0, "64..79: the 80-byte read comes up short"},
        {79, 0, ""},           {80, 80, "short record"},    {81, 80, "first 80 bytes only"},
        {340, 340, "whole"},   {341, 80, "not exactly 340"}, {400, 80, ""},
    };
    for (const Case& c : cases) {
        std::string bytes = Pattern(c.size);
        if (c.size == 340)
            bytes[339] = '\0';
        WriteWholeFile(path, bytes);
        SettingsRecord s;
        EXPECT_EQ(LoadSettingsFrom(path.c_str(), s), c.taken != 0) << c.size << " bytes: " << c.why;
        std::string want = RecordBytes(defaults);
        want.replace(0, c.taken, bytes.substr(0, c.taken));
        EXPECT_EQ(RecordBytes(s), want) << c.size << " bytes: " << c.why;
    }
}

TEST_F(SettingsFile, MissingFileKeepsTheRecord)
{
    SettingsRecord s;
    s.penSize = 12;
    EXPECT_FALSE(LoadSettingsFrom(path.c_str(), s));
    EXPECT_EQ(s.penSize, 12u);
    EXPECT_FALSE(LoadSettingsFrom("", s)) << "no path at all";
}

TEST_F(SettingsFile, SaveWritesExactlyTheRecord)
{
    SettingsRecord s;
    s.flags = 0xABC00001u;
    s.lastPen = -1;
    std::strcpy(s.savePath, "C:\\pictures\\note.bmp");
    std::memset(s.reserved2, 0x77, sizeof(s.reserved2));
    ASSERT_TRUE(SaveSettingsTo(path.c_str(), s));
    EXPECT_EQ(ReadWholeFile(path), RecordBytes(s));
    EXPECT_FALSE(FileExists(path + ".new")) << "no temporary file left behind";

    SettingsRecord back;
    ASSERT_TRUE(LoadSettingsFrom(path.c_str(), back));
    EXPECT_EQ(RecordBytes(back), RecordBytes(s)) << "round trip";
}

TEST_F(SettingsFile, ShortFileComesBackWhole)
{
    const std::string shortRecord = Pattern(80);
    WriteWholeFile(path, shortRecord);
    SettingsRecord s;
    ASSERT_TRUE(LoadSettingsFrom(path.c_str(), s));
    ASSERT_TRUE(SaveSettingsTo(path.c_str(), s));
    const std::string written = ReadWholeFile(path);
    ASSERT_EQ(written.size(), 340u);
    EXPECT_EQ(written.substr(0, 80), shortRecord);
    EXPECT_EQ(written.substr(80), std::string(260, '\0')) << "empty save path";
}

// Regressions: a save truncated the old file first, so a write that could not complete lost it; then a
// fixed temporary name ("Scrivane.cfg.new") left behind read-only, or as a folder, blocked every save.
TEST_F(SettingsFile, SaveSurvivesLeftoversAndLosesNothingWhenTheWriteFails)
{
    const std::string previous = Pattern(340);
    SettingsRecord s;
    s.penSize = 9;

    WriteWholeFile(path, previous);
    ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
    WriteWholeFile(path + ".tmp", "x");
    SetFileAttributesA((path + ".tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(SaveSettingsTo(path.c_str(), s)) << "a leftover folder or read-only file of a fixed name";
    EXPECT_EQ(ReadWholeFile(path), RecordBytes(s));

    WriteWholeFile(path, previous);
    PlatformOverride platform;
    Platform.writeFile = [](HANDLE, const void*, DWORD, DWORD*) -> BOOL { return FALSE; };  // a full disk
    EXPECT_FALSE(SaveSettingsTo(path.c_str(), s));
    EXPECT_EQ(ReadWholeFile(path), previous) << "the old file is kept";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir.path() + "\\*.tmp").c_str(), &found);
    int temporaries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            temporaries += std::string(found.cFileName) != "Scrivane.cfg.tmp";
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(temporaries, 0) << "no temporary file is left behind";
}

TEST_F(SettingsFile, SaveReplacesAnExistingFileOfAnotherSize)
{
    WriteWholeFile(path, Pattern(100));
    SettingsRecord s;
    s.penSize = 9;
    ASSERT_TRUE(SaveSettingsTo(path.c_str(), s));
    EXPECT_EQ(ReadWholeFile(path), RecordBytes(s)) << "an existing file of another size is replaced whole";
}

}  // namespace
