#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/exe_path.h"

namespace {

// Shift-JIS lead bytes, as the Japanese system code page has them. "表" is 0x95 0x5C: its trail
// byte is a backslash.
bool ShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A code page of our own making whose trail bytes may be dots, so that skipping a trail byte is
// observable for the dot search too.
bool EveryHighByteLeads(unsigned char c)
{
    return c >= 0x80;
}

bool NoLeadBytes(unsigned char)
{
    return false;
}

std::string ExePath(const std::string& commandLine, LeadBytePredicate lead = ShiftJisLead, bool* ok = nullptr)
{
    char out[kPathCapacity];
    std::memset(out, 'x', sizeof(out));
    const bool result = ExePathFromCommandLine(commandLine.c_str(), out, lead);
    if (ok)
        *ok = result;
    return out;
}

std::string Sibling(const std::string& path, const char* suffix, LeadBytePredicate lead = ShiftJisLead, bool* ok = nullptr)
{
    char out[kPathCapacity];
    std::memset(out, 'x', sizeof(out));
    const bool result = SiblingPathOf(path.c_str(), suffix, out, lead);
    if (ok)
        *ok = result;
    return out;
}

TEST(ExePathFromCommandLine, TakesTheFirstToken)
{
    struct Case {
        std::string commandLine, want;
        const char* why;
    } cases[] = {
        {"\"C:\\Program Files\\Scrivane\\Scrivane.exe\" extra", "C:\\Program Files\\Scrivane\\Scrivane.exe", "quoted, with blanks"},
        {"\"C:\\a b\\Scrivane.exe\"", "C:\\a b\\Scrivane.exe", "quoted, nothing after"},
        {"C:\\Tools\\Scrivane.exe -x y", "C:\\Tools\\Scrivane.exe", "unquoted ends at the first blank"},
        {"C:\\Tools\\Scrivane.exe", "C:\\Tools\\Scrivane.exe", "no blank: the whole line"},
        {"Scrivane", "Scrivane", "relative, no extension"},
        {"\"\"", "", "empty quotes"},
        {"", "", "empty command line"},
        {"C:\\x\\Scrivane.exe\t-arg", "C:\\x\\Scrivane.exe\t-arg", "only the blank separates, not a tab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExePath(c.commandLine), c.want) << c.why;
}

TEST(ExePathFromCommandLine, UnclosedQuoteGivesNoPath)
{
    bool ok = true;
    EXPECT_EQ(ExePath("\"C:\\Tools\\Scrivane.exe -x", ShiftJisLead, &ok), "");
    EXPECT_FALSE(ok);
}

TEST(ExePathFromCommandLine, DoubleByteCharactersAreUnits)
{
    // 0x81 0x40 is the ideographic space of Shift-JIS; its trail byte 0x40 is no blank, but a lead
    // byte followed by a quote or blank as trail byte must not end the token either.
    const std::string quoteTrail = std::string("\"C:\\a") + "\x81\"" + "b\\S.exe\" -x";
    EXPECT_EQ(ExePath(quoteTrail, EveryHighByteLeads), std::string("C:\\a") + "\x81\"" + "b\\S.exe");
    EXPECT_EQ(ExePath(quoteTrail, NoLeadBytes), std::string("C:\\a") + "\x81") << "without the code page the quote ends it";

    const std::string blankTrail = std::string("C:\\") + "\x81 " + "\\S.exe -x";
    EXPECT_EQ(ExePath(blankTrail, EveryHighByteLeads), std::string("C:\\") + "\x81 " + "\\S.exe");
}

TEST(ExePathFromCommandLine, LeadByteAtTheEndDoesNotReadPastIt)
{
    EXPECT_EQ(ExePath(std::string("C:\\S") + "\x81", EveryHighByteLeads), std::string("C:\\S") + "\x81");
    bool ok = true;
    EXPECT_EQ(ExePath(std::string("\"C:\\S") + "\x81", EveryHighByteLeads, &ok), "");
    EXPECT_FALSE(ok) << "still an unclosed quote";
}

// Regression: a first token of 260 bytes or more overflowed the path buffer.
TEST(ExePathFromCommandLine, OverlongTokenGivesNoPath)
{
    const std::string longest(259, 'a');
    bool ok = false;
    EXPECT_EQ(ExePath(longest + " x", ShiftJisLead, &ok), longest) << "259 bytes still fit with the NUL";
    EXPECT_TRUE(ok);
    EXPECT_EQ(ExePath(std::string(260, 'a'), ShiftJisLead, &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(ExePath("\"" + std::string(5000, 'a') + "\"", ShiftJisLead, &ok), "");
    EXPECT_FALSE(ok);
}

TEST(SiblingPathOf, ReplacesTheExtension)
{
    struct Case {
        std::string path, want;
        const char* why;
    } cases[] = {
        {"C:\\Tools\\Scrivane.exe", "C:\\Tools\\Scrivane.cfg", "ordinary"},
        {"C:\\Tools\\Scrivane", "C:\\Tools\\Scrivane.cfg", "no dot anywhere: appended"},
        {"C:\\My.Tools\\Scrivane", "C:\\My.cfg", "dotted folder, bare name: cut inside the folder name"},
        {"C:\\My.Tools\\Scrivane.exe", "C:\\My.Tools\\Scrivane.cfg", "dotted folder, extension: the last dot"},
        {"Scrivane.tar.exe", "Scrivane.tar.cfg", "only the last dot"},
        {"", ".cfg", "no path: the name alone, in the current folder"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sibling(c.path, ".cfg"), c.want) << c.why;
}

TEST(SiblingPathOf, TrailBytesAreNotSeparatorsOrDots)
{
    // "表" (0x95 0x5C) as a folder and file name: the backslash inside it is not a separator, and
    // the extension is found as usual.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(Sibling("C:\\" + hyou + "\\" + hyou + ".exe", ".cfg"), "C:\\" + hyou + "\\" + hyou + ".cfg");
    // With a code page whose trail byte can be a dot, the dot inside the character is skipped.
    const std::string dotTrail = "\x81.";
    EXPECT_EQ(Sibling("C:\\A\\S" + dotTrail, ".cfg", EveryHighByteLeads), "C:\\A\\S" + dotTrail + ".cfg");
    EXPECT_EQ(Sibling("C:\\A\\S" + dotTrail, ".cfg", NoLeadBytes), "C:\\A\\S\x81.cfg");
}

// Regression: appending the suffix to a long path ran past the 260-byte buffer.
TEST(SiblingPathOf, ResultThatDoesNotFitGivesNothing)
{
    bool ok = false;
    const std::string stem(255, 'a');
    EXPECT_EQ(Sibling(stem + ".exe", ".cfg", ShiftJisLead, &ok), stem + ".cfg") << "259 bytes fit";
    EXPECT_TRUE(ok);
    EXPECT_EQ(Sibling(std::string(256, 'a') + ".exe", ".cfg", ShiftJisLead, &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Sibling(std::string(257, 'a'), ".htm", ShiftJisLead, &ok), "") << "no dot, appended past the end";
    EXPECT_FALSE(ok);
}

}  // namespace

namespace {

// Regression: the hook module's folder was cut at the last 0x5C byte, which in Shift-JIS can be the
// trail byte of a character of the executable's own name ("\x95\x5C" is one character).
TEST(FileInFolderOf, FolderFoundByCharactersNotBytes)
{
    char out[kPathCapacity];
    ASSERT_TRUE(FileInFolderOf("C:\\Tools\\\x95\x5C.exe", "Scrivane.dll", out, ShiftJisLead));
    EXPECT_STREQ(out, "C:\\Tools\\Scrivane.dll");
    ASSERT_TRUE(FileInFolderOf("Scrivane.exe", "Scrivane.dll", out, ShiftJisLead));
    EXPECT_STREQ(out, "Scrivane.dll") << "a bare name has no folder";
    EXPECT_FALSE(FileInFolderOf((std::string(250, 'a') + "\\x.exe").c_str(), "Scrivane.dll", out, ShiftJisLead));
    EXPECT_STREQ(out, "") << "a result that does not fit is no result";
}

}  // namespace
