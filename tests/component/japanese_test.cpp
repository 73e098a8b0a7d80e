// Under a Japanese user locale (code page 932, UI language 1041): path rules with the system's lead bytes; its menu.
#include <windows.h>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "shell/base/dbcs_path.h"
#include "shell/exe_path.h"

namespace {

TEST(Japanese, PathRulesStepOverTheSystemsDoubleByteCharacters)
{
    ASSERT_EQ(GetACP(), 932u) << "not run under the Japanese locale";
    char out[kPathCapacity];
    ExePathFromCommandLine("\"C:\\a\x81\"b\\S.exe\" -x", out, SystemLeadByte);
    EXPECT_STREQ(out, "C:\\a\x81\"b\\S.exe") << "0x81 leads: the quote after it is its trail byte";
    ExePathFromCommandLine("C:\\\xA5 -x", out, SystemLeadByte);
    EXPECT_STREQ(out, "C:\\\xA5") << "0xA5, a half-width kana, leads nothing: the blank ends the path";
    lstrcpyA(exePath, "C:\\\x95\x5C.d\\S\x81.");  // the folder "表.d", then a lead byte before the last dot
    ASSERT_TRUE(SiblingPath(".cfg", out));
    EXPECT_STREQ(out, "C:\\\x95\x5C.cfg") << "the last dot that is no trail byte";
}

TEST(Japanese, TheTrayMenuIsTheJapaneseOne)  // only here: another process cannot read a menu's items under Wine
{
    ASSERT_EQ(GetUserDefaultUILanguage(), 0x411) << "not run under the Japanese locale";
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TRAY));
    wchar_t text[40];
    for (UINT id : {IDM_CONFIG, IDM_EXIT})
        EXPECT_TRUE(GetMenuStringW(GetSubMenu(menu, 0), id, text, 40, MF_BYCOMMAND) > 0 && text[0] > 0x7F) << id << ": English";
    DestroyMenu(menu);
}

}  // namespace
