#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/settings_file.h"
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

TEST_F(SettingsFile, SaveReplacesAnExistingFileOfAnotherSize)
{
    WriteWholeFile(path, Pattern(100));
    SettingsRecord s;
    s.penSize = 9;
    ASSERT_TRUE(SaveSettingsTo(path.c_str(), s));
    EXPECT_EQ(ReadWholeFile(path), RecordBytes(s)) << "an existing file of another size is replaced whole";
}

}  // namespace
