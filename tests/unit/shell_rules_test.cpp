// The shell's plain rules: the settings file's read rule, the paths derived from the command line,
// the hot-key encoding, the tray menu alignment (0x08 TPM_RIGHTALIGN, 0x20 TPM_BOTTOMALIGN) and the launch delay.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/base/hot_key.h"
#include "shell/base/settings.h"
#include "shell/exe_path.h"
#include "shell/launch_rules.h"

namespace {

TEST(SettingsFile, SizeDecidesHowMuchIsReadAndAShortReadTakesNothing)
{
    const struct { uint64_t size; size_t want; const char* why; } sizes[] = {  // 64..79: a short read, taken as none
        {63, 0, "below the smallest record"}, {64, 80, "the short record"}, {340, 340, "exactly the whole record"},
        {341, 80, "one byte more is no longer the whole record"}, {uint64_t(1) << 32 | 340, 80, "past 32 bits"}};
    for (const auto& c : sizes)
        EXPECT_EQ(SettingsBytesToRead(c.size), c.want) << c.why;
    unsigned char file[340];
    for (size_t i = 0; i < sizeof(file); ++i)
        file[i] = static_cast<unsigned char>(0x30 + i % 64);  // never NUL
    // Regression: a path filling all 260 bytes without a NUL made every later use of it read on.
    const struct { size_t requested, delivered; bool taken; const char* why; } reads[] = {
        {340, 340, true, "the whole record, the path cut to 259 bytes"}, {80, 80, true, "the short record over defaults"},
        {340, 339, false, "the file shrank between size and read"}};
    for (const auto& c : reads) {
        SettingsRecord s;
        s.penSize = 17;
        EXPECT_EQ(SettingsFromFileBytes(file, c.requested, c.delivered, s), c.taken) << c.why;
        EXPECT_EQ(s.penSize, c.taken ? 0x43424140u : 17u) << c.why;  // bytes 16..19 of the file
        EXPECT_EQ(std::string(s.savePath), std::string(file + 80, file + (c.taken && c.requested == 340 ? 339 : 80)));
    }
}

// Shift-JIS lead bytes ("表" is 0x95 0x5C: its trail byte is a backslash), and a code page whose trail
// bytes may be quotes, blanks and dots.
const LeadBytePredicate sjis = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
const LeadBytePredicate high = [](unsigned char c) { return c >= 0x80; };

TEST(Paths, CutByCharactersAndNeverPastTheBuffer)
{
    enum Rule { Exe, Sibling, Module };
    const std::string a255(255, 'a'), a259(259, 'a'), hyou = "\x95\x5C";
    const struct { Rule rule; std::string in; LeadBytePredicate lead; std::string want; const char* why; } cases[] = {
        // want "": the rule answers false. Regressions: 260 bytes or more overflowed the path buffer; the
        // hook module's folder was cut at the last 0x5C byte, the trail byte of a character of the name.
        {Exe, "\"C:\\Program Files\\S.exe\" x", sjis, "C:\\Program Files\\S.exe", "quoted, with blanks"},
        {Exe, "C:\\x\\S.exe\t-a b", sjis, "C:\\x\\S.exe\t-a", "unquoted ends at the first blank, not a tab"},
        {Exe, "\"C:\\Tools\\S.exe -x", sjis, "", "a quote never closed"},
        {Exe, "\"C:\\a\x81\"b\\S.exe\" -x", high, "C:\\a\x81\"b\\S.exe", "a quote as trail byte does not end it"},
        {Exe, "C:\\\x81 \\S.exe -x", high, "C:\\\x81 \\S.exe", "nor does a blank as trail byte"},
        {Exe, "\"C:\\S\x81", high, "", "a lead byte at the end is one byte and leaves the quote open"},
        {Exe, a259 + " x", sjis, a259, "259 bytes still fit with the NUL"}, {Exe, a259 + "a", sjis, "", "260 do not"},
        {Sibling, "C:\\My.Tools\\S", sjis, "C:\\My.cfg", "dotted folder, bare name: cut inside the folder"},
        {Sibling, "S.tar.exe", sjis, "S.tar.cfg", "only the last dot"},
        {Sibling, "C:\\" + hyou + "\\" + hyou + ".exe", sjis, "C:\\" + hyou + "\\" + hyou + ".cfg", "trail backslashes"},
        {Sibling, "C:\\S\x81.", high, "C:\\S\x81..cfg", "a dot as trail byte is no extension"},
        {Sibling, a255 + ".exe", sjis, a255 + ".cfg", "259 bytes fit"}, {Sibling, a255 + "a", sjis, "", "260 do not"},
        {Module, "C:\\T\\" + hyou + ".exe", sjis, "C:\\T\\Scrivane.dll", "the folder found by characters"},
        {Module, "S.exe", sjis, "Scrivane.dll", "a bare name has no folder"},
        {Module, std::string(250, 'a') + "\\x.exe", sjis, "", "a result that does not fit is no result"}};
    for (const auto& c : cases) {
        char out[kPathCapacity];
        std::memset(out, 'x', sizeof(out));
        const bool made = c.rule == Exe       ? ExePathFromCommandLine(c.in.c_str(), out, c.lead)
                          : c.rule == Sibling ? SiblingPathOf(c.in.c_str(), ".cfg", out, c.lead)
                                              : FileInFolderOf(c.in.c_str(), "Scrivane.dll", out, c.lead);
        EXPECT_TRUE(made == !c.want.empty() && out == c.want) << c.why;
    }
}

TEST(LaunchRules, HotKeyBitsTrayMenuTowardsTheMiddleAndTheDelayIn1To60)
{
    // Kept in the hot-key control's form (Shift 1, Ctrl 2, Alt 4, extended 8 in the second byte);
    // RegisterHotKey wants MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, and MOD_WIN 8 never.
    for (const auto& [hotKey, want] : {std::pair{0x002Cu, 0u}, {0x012C, 4}, {0x022C, 2}, {0x042C, 1}, {0xFF41, 7}})
        EXPECT_EQ(HotKeyModifiers(hotKey), want) << std::hex << hotKey;
    uint8_t keys[256] = {};
    keys[0x10] = 0x80, keys[0x12] = 0x81, keys[0x11] = 0x01;  // Shift and Alt down, Ctrl only toggled
    EXPECT_EQ(PrintScreenHotKey(keys), 0x052Cu);
    const RECT primary = {0, 0, 1280, 800}, right = {1280, 0, 2304, 768};
    const struct { POINT p; RECT monitor; uint32_t want; const char* why; } menus[] = {
        {{639, 399}, primary, 0x00, "just before both halves: left, top"}, {{640, 400}, primary, 0x28, "the far side"},
        {{1300, 10}, right, 0x08, "halves of the coordinates, not of the extent: all of a right monitor"}};
    for (const auto& c : menus)
        EXPECT_EQ(TrayMenuAlignment(c.p, c.monitor), c.want) << c.why;
    // Regression: a delay read from the file was waited as stored: 4,000,000,000 s froze the program.
    for (const auto& [seconds, want] : {std::pair{0u, 0u}, {60, 60000}, {61, 60000}, {0xFFFFFFFFu, 60000}})
        EXPECT_EQ(LaunchDelayMilliseconds(seconds), want) << seconds;
    const struct { const char *text, *correction; uint32_t kept; const char* why; } edits[] = {
        {" +7x", nullptr, 7, "read like atoi"}, {"60", nullptr, 60, "the largest"}, {"0", "1", 30, "below"},
        {"-5", "1", 30, "negative"}, {"61", "60", 30, "above"}, {"4294967297", "60", 30, "saturates, never wraps to 1"}};
    for (const auto& c : edits) {
        uint32_t delay = 30;
        EXPECT_STREQ(DelayEditCorrection(c.text, delay), c.correction) << c.why;
        EXPECT_EQ(delay, c.kept) << c.why;
    }
}

}  // namespace
