// The settings window as the program creates it: its tray icon, the icon's return after the shell
// restarts, and the options: their layout at two scalings, their states, rules and commands.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/resource.h"
#include "shell/default_palette.h"
#include "shell/exe_path.h"
#include "shell/messages.h"
#include "shell/option_controls.h"
#include "shell/settings.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"
#include "shell/settings_window.h"
#include "support/platform_override.h"

namespace {

class SettingsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings = SettingsRecord();
        window = CreateSettingsWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        char cfg[kPathCapacity];
        DestroyWindow(window);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted by the destruction
        if (SiblingPath(".cfg", cfg))
            DeleteFileA(cfg);  // written beside the test program by the destruction
    }
    // A new settings window that starts from `record` (there is no settings file to read).
    void Reopen(const SettingsRecord& record)
    {
        TearDown();
        Settings = record;
        window = CreateSettingsWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
    }
    HWND Item(int id) { return GetDlgItem(window, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(Item(id), message, wParam, lParam);
    }
    std::string Text(int id)
    {
        char text[80] = {};
        GetWindowTextA(Item(id), text, sizeof(text));
        return text;
    }
    // "7F off 1002": the option bits as the boxes show them, then the controls that are disabled.
    std::string Shown()
    {
        const std::pair<int, uint32_t> boxes[] = {{1001, 0x1}, {1002, 0x400}, {1003, 0x2}, {1005, 0x4}, {1008, 0x40},
                                                  {1010, 0x8}, {1012, 0x10}, {1013, 0x20}, {1014, 0x100}, {1015, 0x80}};
        uint32_t flags = 0;
        for (const auto& [id, bit] : boxes)
            flags |= Send(id, BM_GETCHECK) == BST_CHECKED ? bit : 0;
        char text[120];
        wsprintfA(text, "%X off", flags);
        std::string out = text;
        for (int id = kTaskTrayBox; id <= kHelpButton; ++id)
            out += IsWindowEnabled(Item(id)) ? "" : " " + std::to_string(id);
        return out;
    }
    // Whether the shell still knows the icon: only a known icon can be modified.
    bool ShellKnowsTheIcon()
    {
        NOTIFYICONDATAA probe = notifyIcon;
        probe.uFlags = NIF_TIP;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    }
    HWND window = nullptr;
};

UINT fakeDpi;

// The sixteen controls as the system sees them, in creation order: at 96 DPI exactly as given, and on
// a monitor at 150 % scaled, font included.
TEST_F(SettingsWindow, ControlsHaveTheirClassesStylesAndPlacesAtEachScaling)
{
    const struct {
        const char* cls;
        DWORD style, exStyle;
        int x, y, width, height;  // at 96 DPI; ids from 1001 on
    } table[] = {
        {"button", 0x0C03, 0, 10, 10, 130, 20}, {"button", 0x0C03, 0, 150, 10, 130, 20},
        {"button", 0x0C03, 0, 30, 35, 110, 20}, {"msctls_hotkey32", 0x0880, WS_EX_CLIENTEDGE, 150, 36, 140, 18},
        {"button", 0x0C03, 0, 10, 60, 130, 20}, {"edit", 0x0082, WS_EX_CLIENTEDGE, 150, 61, 30, 18},
        {"msctls_updown32", 0x00A2, 0, 180, 61, 10, 18}, {"button", 0x0C03, 0, 10, 85, 130, 20},
        {"msctls_hotkey32", 0x0880, WS_EX_CLIENTEDGE, 150, 86, 140, 18}, {"button", 0x0C03, 0, 10, 110, 130, 20},
        {"button", 0x0C00, 0, 150, 109, 60, 22}, {"button", 0x0C03, 0, 10, 135, 130, 20},
        {"button", 0x0C03, 0, 150, 135, 130, 20}, {"button", 0x0C03, 0, 10, 160, 130, 20},
        {"button", 0x0C03, 0, 150, 160, 110, 20}, {"button", 0x0C00, 0, 268, 159, 22, 22},
    };
    PlatformOverride platform;
    Platform.monitorDpi = [](HMONITOR) { return fakeDpi; };
    LOGFONTA stock;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    const auto describe = [](int id, const char* cls, DWORD style, DWORD ex, RECT r, LONG font) {
        char text[160];
        wsprintfA(text, "%d %s style %lX ex %lX at %ld,%ld %ldx%ld font %ld", id, cls, style, ex, r.left, r.top,
                  r.right - r.left, r.bottom - r.top, font);
        return std::string(text);
    };
    for (UINT dpi : {96u, 144u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        const auto scaled = [dpi](int v) { return LONG(MulDiv(v, dpi, 96)); };
        HWND child = GetWindow(window, GW_CHILD);
        for (int i = 0; i < 16; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
            const auto& c = table[i];
            char cls[32] = {};
            GetClassNameA(child, cls, sizeof(cls));
            RECT r = {};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            LOGFONTA font = {};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), sizeof(font), &font);
            EXPECT_EQ(describe(GetDlgCtrlID(child), CharLowerA(cls), GetWindowLongA(child, GWL_STYLE) & ~WS_DISABLED,
                               GetWindowLongA(child, GWL_EXSTYLE), r, font.lfHeight),
                      describe(1001 + i, c.cls, c.style | WS_CHILD | WS_VISIBLE, c.exStyle,
                               {scaled(c.x), scaled(c.y), scaled(c.x) + scaled(c.width), scaled(c.y) + scaled(c.height)},
                               i == 6 ? 0 : scaled(stock.lfHeight)))  // the arrows keep no font
                << "at " << dpi << " DPI";
        }
    }
    // Wine draws the caption at its real 96 DPI whatever the test pretends: the client size can be
    // checked at 96 only.
    fakeDpi = 96;
    SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), "300x190");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(hotKeyRegistered) << "free while the options are open, for the hot-key field";
}

TEST_F(SettingsWindow, ControlsStartFromTheSettings)
{
    const struct {
        uint32_t flags, delay, launchKey, penKey;
        const char *shown, *delayShownAndKept, *why;
    } cases[] = {
        {0x7F, 0, 0x2C, 0x70, "7F off 1002", "1 1", "defaults, a stored 0 delay; no hook module beside the tests"},
        {0x591, 75, 0x641, 0x231, "591 off 1002 1004 1006 1007 1009 1011", "60 60",
         "options off disable their fields; the hook box keeps its check; a stored 75 delay"},
    };
    for (const auto& c : cases) {
        SettingsRecord record;
        record.flags = c.flags;
        record.launchDelay = c.delay;
        record.launchHotKey = c.launchKey;
        record.penSelectKey = c.penKey;
        Reopen(record);
        EXPECT_EQ(Shown(), c.shown) << c.why;
        EXPECT_EQ(Text(kDelayEdit) + " " + std::to_string(Settings.launchDelay), c.delayShownAndKept) << c.why;
        EXPECT_EQ(Send(kLaunchKeyEdit, HKM_GETHOTKEY) << 16 | Send(kPenKeyEdit, HKM_GETHOTKEY),
                  LRESULT(c.launchKey << 16 | c.penKey)) << c.why;
    }
}

// Clicks in a row, from the defaults: each box stores its bit and enables what depends on it.
TEST_F(SettingsWindow, ClickingABoxStoresItsBitAndEnablesItsFields)
{
    const struct {
        int box;
        const char *shown, *why;
    } steps[] = {
        {kHotKeyBox, "7D off 1002 1004", "hot key off: its field too"},
        {kTaskTrayBox, "7C off 1002 1003 1004", "tray off: the hot-key box; the hook box as it was"},
        {kTaskTrayBox, "7D off 1002 1004", "tray on: not the field of a hot key that is off"},
        {kHotKeyBox, "7F off 1002", "hot key on"},
        {kDelayBox, "7B off 1002 1006 1007", "no delay: the edit and its arrows"},
        {kPenKeyBox, "3B off 1002 1006 1007 1009", "no pen keys: their field"},
        {kRememberPaletteBox, "33 off 1002 1006 1007 1009 1011", "no remembered palette: Reset"},
        {kIncludeCursorBox, "133 off 1002 1006 1007 1009 1011", "only the bit"},
    };
    for (const auto& s : steps) {
        Send(s.box, BM_CLICK);
        EXPECT_EQ(Shown(), s.shown) << s.why;
        EXPECT_EQ(Settings.flags, std::stoul(s.shown, nullptr, 16)) << s.why << ": stored as shown";
    }
    EXPECT_EQ(Settings.launchDelay, 1u) << "a disabled delay keeps its value";
    Send(kIncludeCursorBox, BM_SETCHECK, BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(kIncludeCursorBox, BN_SETFOCUS), LPARAM(Item(kIncludeCursorBox)));
    EXPECT_EQ(Settings.flags, 0x133u) << "only a click stores the bit";
}

TEST_F(SettingsWindow, DelayEditKeepsTheDelayWithinOneToSixty)
{
    const struct {
        const char *entered, *shown;
        uint32_t stored;
        const char* why;
    } cases[] = {
        {"0", "1", 1, "below 1: the edit shows 1, and its second notification stores it"},
        {"-3", "1", 1, "negative"},
        {"", "1", 1, "cleared"},
        {"75", "60", 60, "above 60"},
        {"7x", "7x", 7, "digits then a letter: the digits count, the text stays"},
        {"4294967297", "60", 60, "regression: wrapped round to 1 while the box showed the long number"},
    };
    for (const auto& c : cases) {
        Settings.launchDelay = 30;
        SetWindowTextA(Item(kDelayEdit), c.entered);
        EXPECT_EQ(Text(kDelayEdit) + " " + std::to_string(Settings.launchDelay), c.shown + (" " + std::to_string(c.stored)))
            << c.why;
    }
    Send(kDelayUpDown, UDM_SETPOS32, 0, 42);
    EXPECT_EQ(Settings.launchDelay, 42u) << "the arrows reach the delay through the edit's text";
}

// Keys as the launch-key field receives them, with a modifier down in the keyboard state.
TEST_F(SettingsWindow, LaunchKeyFieldStoresWhatItShows)
{
    const struct {
        UINT down, up;  // messages; no press: the system keeps Print Screen's to itself
        WPARAM key;
        int held;
        uint32_t want;
        const char* why;
    } cases[] = {
        {WM_KEYDOWN, WM_KEYUP, 'A', 0, 0x641, "a letter alone becomes Ctrl+Alt+letter"},
        {0, WM_KEYUP, VK_SNAPSHOT, 0, 0x2C, "Print Screen alone"},
        {0, WM_KEYUP, VK_SNAPSHOT, VK_CONTROL, 0x22C, "Ctrl+Print Screen, though Ctrl alone is against the rules"},
        {0, WM_SYSKEYUP, VK_SNAPSHOT, VK_MENU, 0x42C, "regression: Alt+Print Screen, a WM_SYSKEYUP, was lost"},
    };
    for (const auto& c : cases) {
        BYTE keys[256] = {};
        keys[c.held] = c.held ? 0x80 : 0;
        SetKeyboardState(keys);
        Settings.launchHotKey = 0;
        if (c.down)
            Send(kLaunchKeyEdit, c.down, c.key, 1);
        Send(kLaunchKeyEdit, c.up, c.key, 0xC0000001);
        EXPECT_EQ(std::to_string(Settings.launchHotKey) + " shown " + std::to_string(Send(kLaunchKeyEdit, HKM_GETHOTKEY)),
                  std::to_string(c.want) + " shown " + std::to_string(c.want)) << c.why;
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
}

TEST_F(SettingsWindow, ResetRestoresThePaletteAndNothingElse)
{
    std::fill(std::begin(Settings.palette), std::end(Settings.palette), 0x123456u);
    SettingsRecord want = Settings;
    std::copy(std::begin(defaultPalette), std::end(defaultPalette), want.palette);
    Send(kResetButton, BM_CLICK);
    EXPECT_EQ(std::memcmp(&Settings, &want, sizeof(want)), 0) << "palette[2] " << Settings.palette[2];
}

}  // namespace
