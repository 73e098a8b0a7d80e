// Run under a Japanese user locale (code page 932, UI language 1041): the command-line and path
// rules with the system's own lead-byte table, and the texts the program shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "shell/exe_path.h"
#include "shell/option_controls.h"
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
        {"C:\\\x81 \\S.exe -x", "C:\\\x81 \\S.exe", "and so is a blank"},
        {"C:\\\xA5 -x", "C:\\\xA5", "0xA5, a half-width kana, leads nothing: the blank ends the path"},
        {"C:\\S\x81", "C:\\S\x81", "a lead byte at the very end is taken alone"},
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

std::wstring Wide(const char* ansi)
{
    wchar_t text[100] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, text, 100);
    return text;
}

TEST(Japanese, TheOptionsMenuAndMessagesAreJapanese)
{
    ASSERT_EQ(GetUserDefaultUILanguage(), 0x411) << "not run under the Japanese locale";
    // Through the program's 80-byte buffers, in Shift-JIS: each text whole.
    for (UINT id = IDS_TASKTRAY; id <= IDS_HOTKEY_FAILED; ++id) {
        char ansi[80] = {};
        LoadStringA(GetModuleHandleA(nullptr), id, ansi, sizeof(ansi));
        const wchar_t* full = nullptr;
        const int length = LoadStringW(GetModuleHandleA(nullptr), id, reinterpret_cast<wchar_t*>(&full), 0);
        EXPECT_EQ(Wide(ansi), std::wstring(full, length > 0 ? length : 0)) << id;
        EXPECT_GT(full[0], 0x3000) << id << ": the Japanese text";
    }
    HWND window = CreateSettingsWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    wchar_t text[80] = {};
    GetWindowTextW(GetDlgItem(window, kTaskTrayBox), text, 80);
    EXPECT_EQ(std::wstring(text), L"タスクトレイに格納");
    HMENU file = GetSubMenu(trayMenu, 0);
    GetMenuStringW(file, 0, text, 80, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"設定(&C)");
    GetMenuStringW(file, 2, text, 80, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"終了(&X)");
    DestroyWindow(window);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    char cfg[kPathCapacity];
    if (SiblingPath(".cfg", cfg))
        DeleteFileA(cfg);
}

}  // namespace
