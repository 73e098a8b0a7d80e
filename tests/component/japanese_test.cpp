// Run under a Japanese user locale (code page 932, UI language 1041): the command-line and path
// rules with the system's own lead-byte table, and the tray menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "shell/exe_path.h"
#include "shell/settings_window.h"
#include "shell/tray_icon.h"

namespace {

TEST(Japanese, PathRulesStepOverTheSystemsDoubleByteCharacters)
{
    ASSERT_EQ(GetACP(), 932u) << "not run under the Japanese locale";
    const struct {
        std::string commandLine, want;
        const char* why;
    } lines[] = {
        {"\"C:\\a\x81\"b\\S.exe\" -x", "C:\\a\x81\"b\\S.exe", "0x81 leads: the quote after it is its trail byte"},
        {"C:\\\xA5 -x", "C:\\\xA5", "0xA5, a half-width kana, leads nothing: the blank ends the path"},
    };
    for (const auto& c : lines) {
        char out[kPathCapacity];
        ExePathFromCommandLine(c.commandLine.c_str(), out, SystemLeadByte);
        EXPECT_EQ(std::string(out), c.want) << c.why;
    }
    lstrcpyA(exePath, "C:\\\x95\x5C.d\\S\x81.");  // the folder "表.d", then a lead byte before the last dot
    char cfg[kPathCapacity];
    ASSERT_TRUE(SiblingPath(".cfg", cfg));
    EXPECT_EQ(std::string(cfg), "C:\\\x95\x5C.cfg") << "the last dot that is no trail byte";
    exePath[0] = '\0';
}

// Only here: another process cannot read a menu's items under Wine.
TEST(Japanese, TheTrayMenuIsJapanese)
{
    ASSERT_EQ(GetUserDefaultUILanguage(), 0x411) << "not run under the Japanese locale";
    HWND window = CreateSettingsWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    wchar_t config[40] = {}, exit[40] = {};
    GetMenuStringW(GetSubMenu(trayMenu, 0), IDM_CONFIG, config, 40, MF_BYCOMMAND);
    GetMenuStringW(GetSubMenu(trayMenu, 0), IDM_EXIT, exit, 40, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(config) + L" " + exit, L"設定(&C) 終了(&X)");
    DestroyWindow(window);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    char cfg[kPathCapacity];
    if (SiblingPath(".cfg", cfg))
        DeleteFileA(cfg);
}

}  // namespace
