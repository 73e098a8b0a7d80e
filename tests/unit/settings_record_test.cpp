#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/default_palette.h"
#include "shell/settings.h"

namespace {

std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(0x30 + i % 64);  // printable, never NUL
    return bytes;
}

TEST(SettingsDefaults, MatchTheDocumentedFirstStart)
{
    const SettingsRecord s;
    EXPECT_EQ(s.flags, 0x7Fu) << "tray, hot key, delay, remember palette/pen/size, pen keys";
    EXPECT_EQ(s.launchHotKey, 0x2Cu) << "Print Screen";
    EXPECT_EQ(s.launchDelay, 1u);
    EXPECT_EQ(s.lastPen, 0);
    EXPECT_EQ(s.penSize, 5u);
    EXPECT_EQ(s.penSelectKey, 0x70u) << "F1";
    EXPECT_EQ(0, std::memcmp(s.palette, defaultPalette, sizeof(s.palette)));
    EXPECT_EQ(s.palette[2], 0x0000FFu) << "red in COLORREF order";
    for (unsigned char b : s.reserved1)
        EXPECT_EQ(b, 0);
    for (unsigned char b : s.reserved2)
        EXPECT_EQ(b, 0);
    for (char c : s.savePath)
        EXPECT_EQ(c, 0);
}

TEST(SettingsFileSize, DecidesHowMuchIsRead)
{
    struct Case {
        uint64_t size;
        size_t want;
        const char* why;
    } cases[] = {
        {0, 0, "empty file"},
        {63, 0, "below the smallest record"},
        {64, 80, "64..79 ask for the short record (and the read then comes up short)"},
        {79, 80, ""},
        {80, 80, "exactly the short record"},
        {81, 80, "any other size takes the first 80 bytes"},
        {339, 80, ""},
        {340, 340, "exactly the whole record"},
        {341, 80, "one byte too many is no longer the whole record"},
        {400, 80, ""},
        {uint64_t(1) << 33, 80, "larger than 32 bits"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingsBytesToRead(c.size), c.want) << c.size << " bytes: " << c.why;
}

TEST(SettingsFromFileBytes, WholeRecordIsTakenAsStored)
{
    std::vector<unsigned char> bytes = Pattern(340);
    bytes[339] = 0;
    SettingsRecord s;
    ASSERT_TRUE(SettingsFromFileBytes(bytes.data(), 340, 340, s));
    EXPECT_EQ(0, std::memcmp(&s, bytes.data(), 340)) << "flags, reserved bytes and path byte for byte";
}

TEST(SettingsFromFileBytes, ShortRecordKeepsDefaultPath)
{
    std::vector<unsigned char> bytes = Pattern(80);
    SettingsRecord s;
    std::strcpy(s.savePath, "C:\\old.bmp");
    ASSERT_TRUE(SettingsFromFileBytes(bytes.data(), 80, 80, s));
    EXPECT_EQ(0, std::memcmp(&s, bytes.data(), 80));
    EXPECT_STREQ(s.savePath, "") << "fields past the short record come from a default record";
}

TEST(SettingsFromFileBytes, UnknownBitsAndReservedBytesAreCarried)
{
    SettingsRecord stored;
    stored.flags = 0xFFFFF800u | OPT_HIGHLIGHTER | OPT_TASKTRAY;
    std::memset(stored.reserved1, 0xA5, sizeof(stored.reserved1));
    std::memset(stored.reserved2, 0x5A, sizeof(stored.reserved2));
    SettingsRecord s;
    ASSERT_TRUE(SettingsFromFileBytes(&stored, 340, 340, s));
    EXPECT_EQ(s.flags, stored.flags);
    EXPECT_EQ(0, std::memcmp(s.reserved1, stored.reserved1, 8));
    EXPECT_EQ(0, std::memcmp(s.reserved2, stored.reserved2, 16));
}

TEST(SettingsFromFileBytes, ShortReadTakesNothing)
{
    std::vector<unsigned char> bytes = Pattern(340);
    SettingsRecord s;
    s.penSize = 17;
    EXPECT_FALSE(SettingsFromFileBytes(bytes.data(), 80, 79, s)) << "a 79-byte file";
    EXPECT_FALSE(SettingsFromFileBytes(bytes.data(), 80, 64, s)) << "a 64-byte file";
    EXPECT_FALSE(SettingsFromFileBytes(bytes.data(), 340, 339, s)) << "file shrank between size and read";
    EXPECT_EQ(s.penSize, 17u) << "record untouched";
}

// Regression: a path filling all 260 bytes without a NUL made every later use of savePath read past
// the record.
TEST(SettingsFromFileBytes, UnterminatedPathIsTerminated)
{
    std::vector<unsigned char> bytes = Pattern(340);  // no NUL anywhere
    SettingsRecord s;
    ASSERT_TRUE(SettingsFromFileBytes(bytes.data(), 340, 340, s));
    EXPECT_EQ(std::strlen(s.savePath), 259u);
    EXPECT_EQ(0, std::memcmp(s.savePath, bytes.data() + 80, 259));
}

}  // namespace
