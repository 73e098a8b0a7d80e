// The shell's plain rules: the settings record and its file sizes, the executable's path and its
// siblings, the hot-key modifiers, the tray menu alignment and the launch delay.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/exe_path.h"
#include "shell/base/hot_key.h"
#include "shell/launch_rules.h"
#include "shell/base/settings.h"

namespace {

std::string Hex(const void* p, size_t n)
{
    std::string out;
    for (const auto* b = static_cast<const unsigned char*>(p); n--; ++b)
        out += {"0123456789abcdef"[*b >> 4], "0123456789abcdef"[*b & 15]};
    return out;
}

TEST(SettingsDefaults, AreTheFirstStartValuesInTheFileLayout)
{
    const SettingsRecord s;
    // Tray, hot key, delay, remember palette, pen and size, pen keys; Print Screen; 1 s; pen 0; 5; F1.
    EXPECT_EQ(Hex(&s, 32), "7f0000002c00000001000000000000000500000070000000" + std::string(16, '0'));
    // Black, white, red, green, blue, yellow, cyan, magenta as 0x00BBGGRR.
    EXPECT_EQ(Hex(s.palette, 32), "00000000ffffff00ff00000000ff00000000ff00ffff000000ffff00ff00ff00");
    EXPECT_EQ(Hex(s.reserved2, 16 + kPathCapacity), std::string(2 * (16 + kPathCapacity), '0'));
}

TEST(SettingsFileSize, DecidesHowMuchIsRead)
{
    const struct { uint64_t size; size_t want; const char* why; } cases[] = {
        {0, 0, "an empty file"},
        {63, 0, "below the smallest record"},
        {64, 80, "64..79 ask for the short record (and the read then comes up short)"},
        {80, 80, "exactly the short record"},
        {339, 80, "any other size takes the first 80 bytes"},
        {340, 340, "exactly the whole record"},
        {341, 80, "one byte too many is no longer the whole record"},
        {uint64_t(1) << 32 | 340, 80, "larger than 32 bits"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsBytesToRead(c.size), c.want) << c.size << " bytes: " << c.why;
}

TEST(SettingsFromFileBytes, FileBytesGoOverADefaultRecord)
{
    unsigned char file[340];
    for (size_t i = 0; i < sizeof(file); ++i)
        file[i] = static_cast<unsigned char>(0x30 + i % 64);  // never NUL, flags and reserved bytes included
    const struct { size_t requested, delivered; bool taken; const char* why; } cases[] = {
        // Regression: a path filling all 260 bytes without a NUL made every later use of it read on.
        {340, 340, true, "the whole record as stored, the path cut to 259 bytes"},
        {80, 80, true, "the short record, the path from a default record"},
        {80, 79, false, "a short read takes nothing"},
        {340, 339, false, "the file shrank between size and read"},
    };
    for (const auto& c : cases) {
        SettingsRecord s, want;
        s.penSize = want.penSize = 17;
        if (c.taken) {
            want = SettingsRecord();
            std::memcpy(&want, file, c.requested);
            want.savePath[259] = '\0';
        }
        EXPECT_EQ(SettingsFromFileBytes(file, c.requested, c.delivered, s), c.taken) << c.why;
        EXPECT_EQ(Hex(&s, 340), Hex(&want, 340)) << c.why;
    }
}

// Shift-JIS lead bytes, as the Japanese system code page has them ("表" is 0x95 0x5C: its trail
// byte is a backslash); a code page of our own whose trail bytes may be quotes, blanks and dots; none.
const LeadBytePredicate shiftJis = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
const LeadBytePredicate allHigh = [](unsigned char c) { return c >= 0x80; };
const LeadBytePredicate none = [](unsigned char) { return false; };

struct Case {
    std::string in;
    LeadBytePredicate lead;
    std::string want;  // "": the answer is false
    const char* why;
};

template <typename Rule>
void Check(const Case& c, Rule rule)
{
    char out[kPathCapacity];
    std::memset(out, 'x', sizeof(out));
    EXPECT_EQ(rule(c.in.c_str(), out, c.lead), !c.want.empty()) << c.why;
    EXPECT_EQ(out, c.want) << c.why;
}

TEST(ExePathFromCommandLine, TakesTheFirstToken)
{
    const std::string a259(259, 'a');
    const Case cases[] = {
        {"\"C:\\Program Files\\Scrivane.exe\" x", shiftJis, "C:\\Program Files\\Scrivane.exe", "quoted, with blanks"},
        {"C:\\Tools\\Scrivane.exe -x y", shiftJis, "C:\\Tools\\Scrivane.exe", "unquoted ends at the first blank"},
        {"C:\\x\\S.exe\t-arg", shiftJis, "C:\\x\\S.exe\t-arg", "only a blank separates, not a tab"},
        {"\"C:\\Tools\\Scrivane.exe -x", shiftJis, "", "a quote never closed"},
        {"\"C:\\a\x81\"b\\S.exe\" -x", allHigh, "C:\\a\x81\"b\\S.exe", "a quote as trail byte does not end it"},
        {"\"C:\\a\x81\"b\\S.exe\" -x", none, "C:\\a\x81", "without the code page it does"},
        {"C:\\\x81 \\S.exe -x", allHigh, "C:\\\x81 \\S.exe", "nor does a blank as trail byte"},
        {"C:\\S\x81", allHigh, "C:\\S\x81", "a lead byte at the end is read as one byte"},
        {"\"C:\\S\x81", allHigh, "", "...and leaves a quote unclosed"},
        // Regression: a first token of 260 bytes or more overflowed the path buffer.
        {a259 + " x", shiftJis, a259, "259 bytes still fit with the NUL"},
        {a259 + "a", shiftJis, "", "260 do not"},
        {"\"" + std::string(5000, 'a') + "\"", shiftJis, "", "nor does a long quoted one"},
    };
    for (const Case& c : cases)
        Check(c, ExePathFromCommandLine);
}

TEST(SiblingPathOf, ReplacesTheExtension)
{
    const std::string hyou = "\x95\x5C", a255(255, 'a');
    const Case cases[] = {
        {"C:\\Tools\\Scrivane.exe", shiftJis, "C:\\Tools\\Scrivane.cfg", "ordinary"},
        {"C:\\Tools\\Scrivane", shiftJis, "C:\\Tools\\Scrivane.cfg", "no dot anywhere: appended"},
        {"C:\\My.Tools\\Scrivane", shiftJis, "C:\\My.cfg", "dotted folder, bare name: cut inside the folder"},
        {"Scrivane.tar.exe", shiftJis, "Scrivane.tar.cfg", "only the last dot"},
        {"", shiftJis, ".cfg", "no path: the name alone"},
        {"C:\\" + hyou + "\\" + hyou + ".exe", shiftJis, "C:\\" + hyou + "\\" + hyou + ".cfg", "trail backslashes"},
        {"C:\\S\x81.", allHigh, "C:\\S\x81..cfg", "a dot as trail byte is no extension"},
        {"C:\\S\x81.", none, "C:\\S\x81.cfg", "without the code page it is"},
        // Regression: appending the suffix to a long path ran past the 260-byte buffer.
        {a255 + ".exe", shiftJis, a255 + ".cfg", "259 bytes fit"},
        {a255 + "a.exe", shiftJis, "", "260 do not"},
        {a255 + "aa", shiftJis, "", "nor an appended suffix past the end"},
    };
    for (const Case& c : cases)
        Check(c, [](const char* in, char (&out)[kPathCapacity], LeadBytePredicate lead) {
            return SiblingPathOf(in, ".cfg", out, lead);
        });
}

// Regression: the hook module's folder was cut at the last 0x5C byte, which in Shift-JIS can be the
// trail byte of a character of the executable's own name.
TEST(FileInFolderOf, FolderFoundByCharactersNotBytes)
{
    char out[kPathCapacity];
    ASSERT_TRUE(FileInFolderOf("C:\\Tools\\\x95\x5C.exe", "Scrivane.dll", out, shiftJis));
    EXPECT_STREQ(out, "C:\\Tools\\Scrivane.dll");
    ASSERT_TRUE(FileInFolderOf("Scrivane.exe", "Scrivane.dll", out, shiftJis));
    EXPECT_STREQ(out, "Scrivane.dll") << "a bare name has no folder";
    EXPECT_FALSE(FileInFolderOf((std::string(250, 'a') + "\\x.exe").c_str(), "Scrivane.dll", out, shiftJis));
    EXPECT_STREQ(out, "") << "a result that does not fit is no result";
}

TEST(HotKeyModifiers, MapsControlFlagsToRegisterHotKeyBits)
{
    const struct { uint32_t hotKey, want; const char* why; } cases[] = {
        {0x002C, 0x0, "Print Screen alone"},
        {0x012C, 0x4, "Shift -> MOD_SHIFT"},
        {0x022C, 0x2, "Ctrl -> MOD_CONTROL"},
        {0x042C, 0x1, "Alt -> MOD_ALT"},
        {0x0F41, 0x7, "the extended-key flag is dropped"},
        {0xF041, 0x0, "unknown high bits never become MOD_WIN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HotKeyModifiers(c.hotKey), c.want) << c.why;
}

TEST(TrayMenuAlignment, OpensTowardsTheMiddleOfTheMonitor)
{
    const RECT primary = {0, 0, 1280, 800}, right = {1280, 0, 2304, 768};
    const struct { POINT p; RECT monitor; uint32_t want; const char* why; } cases[] = {
        {{639, 399}, primary, 0x00, "upper left, just before both halves: left and top aligned"},
        {{640, 400}, primary, 0x28, "the halves themselves count as the far side: right and bottom"},
        {{1300, 10}, right, 0x08, "halves of the coordinates, not of the extent: all of a right monitor"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrayMenuAlignment(c.p, c.monitor), c.want) << c.why;
}

// Regression: a delay read from the file was waited as stored; 4,000,000,000 seconds froze the
// program for over a century.
TEST(LaunchDelay, IsWaitedAsStoredButNeverOverAMinute)
{
    const struct { uint32_t seconds, want; } cases[] = {
        {0, 0}, {1, 1000}, {60, 60000}, {61, 60000}, {0xFFFFFFFFu, 60000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LaunchDelayMilliseconds(c.seconds), c.want) << c.seconds << " s";
}

}  // namespace
