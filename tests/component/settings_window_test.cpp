// The settings window as the program creates it: its tray icon, the icon's return after the shell
// restarts, and the options: their layout at two scalings, their states, rules and commands.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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
    // "1002- 1003+ ...": whether each control that the rules enable is enabled.
    std::string Enabled()
    {
        std::string out;
        for (int id : {kMouseHookBox, kHotKeyBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit, kResetButton})
            out += std::to_string(id) + (IsWindowEnabled(Item(id)) ? "+ " : "- ");
        return out;
    }
    // The option bits as the check boxes show them.
    uint32_t Checked()
    {
        uint32_t flags = 0;
        for (const auto& [id, bit] : kBoxes)
            flags |= Send(id, BM_GETCHECK) == BST_CHECKED ? bit : 0;
        return flags;
    }
    static constexpr std::pair<int, uint32_t> kBoxes[] = {
        {kTaskTrayBox, OPT_TASKTRAY}, {kMouseHookBox, OPT_MOUSE_HOOK}, {kHotKeyBox, OPT_HOTKEY},
        {kDelayBox, OPT_DELAYED_LAUNCH}, {kPenKeyBox, OPT_SELECT_PEN_BY_KEY},
        {kRememberPaletteBox, OPT_REMEMBER_PALETTE}, {kRememberLastPenBox, OPT_REMEMBER_LAST_PEN},
        {kRememberPenSizeBox, OPT_REMEMBER_PEN_SIZE}, {kIncludeCursorBox, OPT_INCLUDE_CURSOR},
        {kViaClipboardBox, OPT_VIA_CLIPBOARD}};
    // Whether the shell still knows the icon: only a known icon can be modified.
    bool ShellKnowsTheIcon()
    {
        NOTIFYICONDATAA probe = notifyIcon;
        probe.uFlags = NIF_TIP;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    }
    HWND window = nullptr;
};

TEST_F(SettingsWindow, StartsHiddenWithItsIconAndTip)
{
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(trayMode);
    EXPECT_TRUE(trayIconAdded);
    EXPECT_STREQ(notifyIcon.szTip, "Scrivane");
    EXPECT_EQ(notifyIcon.uCallbackMessage, TWM_TRAY_NOTIFY);
    EXPECT_EQ(notifyIcon.uID, TRAY_ICON_ID);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_NE(trayMenu, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 190);
}

TEST_F(SettingsWindow, IconComesBackWhenTheShellRestarts)
{
    // What a restarted shell looks like from here: the icon is gone, then TaskbarCreated arrives.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &notifyIcon));
    ASSERT_FALSE(ShellKnowsTheIcon());
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_TRUE(trayIconAdded);

    // The message also comes when the icon survived: it stays, once.
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(trayIconAdded) << "an icon that is still there is kept, so that Exit removes it";
    EXPECT_TRUE(ShellKnowsTheIcon());
}

UINT fakeDpi;
POINT fakePointer;

// The sixteen controls as the system sees them: in creation order, with their classes, styles and
// places, at 96 DPI exactly as given, and on a monitor at 150 % scaled with their font.
TEST_F(SettingsWindow, ControlsHaveTheirClassesStylesAndPlacesAtEachScaling)
{
    const struct {
        int id;
        const char* cls;
        DWORD style, exStyle;
        int x, y, width, height;  // at 96 DPI
    } table[] = {
        {1001, "Button", 0x0C03, 0, 10, 10, 130, 20}, {1002, "Button", 0x0C03, 0, 150, 10, 130, 20},
        {1003, "Button", 0x0C03, 0, 30, 35, 110, 20}, {1004, "msctls_hotkey32", 0x0880, WS_EX_CLIENTEDGE, 150, 36, 140, 18},
        {1005, "Button", 0x0C03, 0, 10, 60, 130, 20}, {1006, "Edit", 0x0082, WS_EX_CLIENTEDGE, 150, 61, 30, 18},
        {1007, "msctls_updown32", 0x00A2, 0, 180, 61, 10, 18}, {1008, "Button", 0x0C03, 0, 10, 85, 130, 20},
        {1009, "msctls_hotkey32", 0x0880, WS_EX_CLIENTEDGE, 150, 86, 140, 18}, {1010, "Button", 0x0C03, 0, 10, 110, 130, 20},
        {1011, "Button", 0x0C00, 0, 150, 109, 60, 22}, {1012, "Button", 0x0C03, 0, 10, 135, 130, 20},
        {1013, "Button", 0x0C03, 0, 150, 135, 130, 20}, {1014, "Button", 0x0C03, 0, 10, 160, 130, 20},
        {1015, "Button", 0x0C03, 0, 150, 160, 110, 20}, {1016, "Button", 0x0C00, 0, 268, 159, 22, 22},
    };
    PlatformOverride platform;
    Platform.monitorDpi = [](HMONITOR) { return fakeDpi; };
    LOGFONTA stock;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (UINT dpi : {96u, 144u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        const auto scaled = [dpi](int v) { return std::to_string(MulDiv(v, dpi, 96)); };
        RECT client;
        GetClientRect(window, &client);
        // Wine draws the caption at its real 96 DPI whatever the test pretends: the client size can be
        // checked there only.
        if (dpi == 96) {
            EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), "300x190");
        }
        HWND child = GetWindow(window, GW_CHILD);
        for (const auto& c : table) {
            char cls[32] = {};
            GetClassNameA(child, cls, sizeof(cls));
            RECT r = {};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            LOGFONTA font = {};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), sizeof(font), &font);
            const auto describe = [](int id, const char* name, DWORD style, DWORD ex, const std::string& at, LONG height) {
                char text[160];
                wsprintfA(text, "%d %s style %lX ex %lX at %s font %ld", id, name, style, ex, at.c_str(), height);
                return std::string(text);
            };
            EXPECT_EQ(describe(GetDlgCtrlID(child), CharLowerA(cls), GetWindowLongA(child, GWL_STYLE) & ~WS_DISABLED,
                               GetWindowLongA(child, GWL_EXSTYLE),
                               std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                                   std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top),
                               font.lfHeight),
                      describe(c.id, CharLowerA(std::string(c.cls).data()), c.style | WS_CHILD | WS_VISIBLE, c.exStyle,
                               scaled(c.x) + "," + scaled(c.y) + " " + scaled(c.width) + "x" + scaled(c.height),
                               c.id == kDelayUpDown ? 0 : MulDiv(stock.lfHeight, dpi, 96)))  // arrows keep no font
                << "at " << dpi << " DPI";
            child = GetWindow(child, GW_HWNDNEXT);
        }
    }
}

// The pointer lands on the caption's middle; near the edges of the work area the window stays 10
// pixels inside. The hot key is free meanwhile, for the hot-key field.
TEST_F(SettingsWindow, ConfigShowsTheOptionsAtThePointerInsideTheWorkArea)
{
    PlatformOverride platform;
    Platform.getCursorPos = [](POINT* p) { *p = fakePointer; return TRUE; };
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        POINT pointer;
        LONG RECT::*sideX;
        LONG wantX;
        LONG RECT::*sideY;
        LONG wantY;
        const char* why;
    } cases[] = {
        {{work.left, work.top}, &RECT::left, work.left + 10, &RECT::top, work.top + 10, "top-left corner"},
        {{work.right - 1, work.top}, &RECT::right, work.right - 10, &RECT::top, work.top + 10, "top-right corner"},
        {{work.left, work.bottom - 1}, &RECT::left, work.left + 10, &RECT::bottom, work.bottom - 10, "bottom-left corner"},
        {{work.right - 1, work.bottom - 1}, &RECT::right, work.right - 10, &RECT::bottom, work.bottom - 10, "bottom-right"},
    };
    for (const auto& c : cases) {
        fakePointer = c.pointer;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(std::vector<LONG>({r.*c.sideX, r.*c.sideY}), std::vector<LONG>({c.wantX, c.wantY})) << c.why;
    }
    fakePointer = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
    RECT r;
    GetWindowRect(window, &r);
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    EXPECT_EQ(r.left + (r.right - r.left) / 2, fakePointer.x) << "centred on the pointer";
    EXPECT_TRUE(r.top < fakePointer.y && fakePointer.y < clientTop.y) << "the pointer is on the caption";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(hotKeyRegistered);
}

TEST_F(SettingsWindow, ControlsStartFromTheSettings)
{
    const uint32_t fewOn = OPT_TASKTRAY | OPT_MOUSE_HOOK | OPT_VIA_CLIPBOARD | OPT_INCLUDE_CURSOR | OPT_REMEMBER_LAST_PEN;
    const struct {
        uint32_t flags, delay, launchKey, penKey;
        const char *delayText, *enabled, *why;
    } cases[] = {
        {0x7F, 1, 0x2C, 0x70, "1", "1002- 1003+ 1004+ 1006+ 1007+ 1009+ 1011+ ", "defaults, no hook module beside the tests"},
        {fewOn, 75, 0x641, 0x231, "60", "1002- 1003+ 1004- 1006- 1007- 1009- 1011- ",
         "options off disable their fields; the hook box keeps its check; a stored 75 is shown and kept as 60"},
        {0x7F, 0, 0x2C, 0x70, "1", "1002- 1003+ 1004+ 1006+ 1007+ 1009+ 1011+ ", "a stored 0 is shown and kept as 1"},
    };
    for (const auto& c : cases) {
        SettingsRecord record;
        record.flags = c.flags;
        record.launchDelay = c.delay;
        record.launchHotKey = c.launchKey;
        record.penSelectKey = c.penKey;
        Reopen(record);
        EXPECT_EQ(Checked(), c.flags) << c.why;
        EXPECT_EQ(Enabled(), c.enabled) << c.why;
        EXPECT_EQ(Text(kDelayEdit), c.delayText) << c.why;
        EXPECT_EQ(std::to_string(Settings.launchDelay), c.delayText) << c.why;
        EXPECT_EQ(std::vector<LRESULT>({Send(kLaunchKeyEdit, HKM_GETHOTKEY), Send(kPenKeyEdit, HKM_GETHOTKEY)}),
                  std::vector<LRESULT>({LRESULT(c.launchKey), LRESULT(c.penKey)})) << c.why;
    }
}

// Clicks in a row, from the defaults: each box stores its bit and enables what depends on it.
TEST_F(SettingsWindow, ClickingABoxStoresItsBitAndEnablesItsFields)
{
    const struct {
        int box;
        uint32_t flags;
        const char *enabled, *why;
    } steps[] = {
        {kHotKeyBox, 0x7D, "1002- 1003+ 1004- 1006+ 1007+ 1009+ 1011+ ", "hot key off: its field too"},
        {kTaskTrayBox, 0x7C, "1002- 1003- 1004- 1006+ 1007+ 1009+ 1011+ ", "tray off: the hot-key box"},
        {kTaskTrayBox, 0x7D, "1002- 1003+ 1004- 1006+ 1007+ 1009+ 1011+ ", "tray on: not the field of a hot key that is off"},
        {kHotKeyBox, 0x7F, "1002- 1003+ 1004+ 1006+ 1007+ 1009+ 1011+ ", "hot key on"},
        {kDelayBox, 0x7B, "1002- 1003+ 1004+ 1006- 1007- 1009+ 1011+ ", "no delay: the edit and its arrows"},
        {kPenKeyBox, 0x3B, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011+ ", "no pen keys: their field"},
        {kRememberPaletteBox, 0x33, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011- ", "no remembered palette: Reset"},
        {kRememberLastPenBox, 0x23, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011- ", "only the bit"},
        {kRememberPenSizeBox, 0x03, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011- ", "only the bit"},
        {kIncludeCursorBox, 0x103, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011- ", "only the bit"},
        {kViaClipboardBox, 0x183, "1002- 1003+ 1004+ 1006- 1007- 1009- 1011- ", "only the bit"},
    };
    for (const auto& s : steps) {
        Send(s.box, BM_CLICK);
        EXPECT_EQ(Settings.flags, s.flags) << s.why;
        EXPECT_EQ(Checked(), s.flags) << s.why;
        EXPECT_EQ(Enabled(), s.enabled) << s.why;
    }
    EXPECT_EQ(Settings.launchDelay, 1u) << "a disabled delay keeps its value";
    Send(kViaClipboardBox, BM_SETCHECK, BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(kViaClipboardBox, BN_SETFOCUS), LPARAM(Item(kViaClipboardBox)));
    EXPECT_EQ(Settings.flags, 0x183u) << "only a click stores the bit";
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
        {" 12", " 12", 12, "a leading blank"},
        {"4294967297", "60", 60, "regression: wrapped round to 1 while the box showed the long number"},
    };
    for (const auto& c : cases) {
        Settings.launchDelay = 30;
        SetWindowTextA(Item(kDelayEdit), c.entered);
        EXPECT_EQ(Text(kDelayEdit), c.shown) << c.why;
        EXPECT_EQ(Settings.launchDelay, c.stored) << c.why;
    }
    Send(kDelayUpDown, UDM_SETPOS32, 0, 42);
    EXPECT_EQ(Settings.launchDelay, 42u) << "the arrows reach the delay through the edit's text";
}

// Keys as the two fields receive them, with the modifiers down in the keyboard state.
TEST_F(SettingsWindow, HotKeyFieldsStoreWhatTheyShow)
{
    const struct {
        int field;
        std::vector<std::pair<UINT, WPARAM>> keys;
        int held;
        uint32_t want;
        const char* why;
    } cases[] = {
        {kLaunchKeyEdit, {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}}, 0, 0x641, "a letter alone becomes Ctrl+Alt+letter"},
        {kLaunchKeyEdit, {{WM_KEYUP, VK_SNAPSHOT}}, 0, 0x2C, "Print Screen alone: only its release arrives"},
        {kLaunchKeyEdit, {{WM_KEYUP, VK_SNAPSHOT}}, VK_CONTROL, 0x22C, "Ctrl+Print Screen, though Ctrl alone is a rule"},
        {kLaunchKeyEdit, {{WM_SYSKEYUP, VK_SNAPSHOT}}, VK_MENU, 0x42C,
         "regression: Alt+Print Screen arrives as WM_SYSKEYUP and was not taken"},
        {kPenKeyEdit, {{WM_KEYDOWN, VK_F3}, {WM_KEYUP, VK_F3}}, 0, 0x72, "the pen key has no rules"},
    };
    for (const auto& c : cases) {
        BYTE keys[256] = {};
        keys[c.held] = c.held ? 0x80 : 0;
        SetKeyboardState(keys);
        Settings.launchHotKey = Settings.penSelectKey = 0;
        for (const auto& [message, vk] : c.keys)
            Send(c.field, message, vk, message == WM_KEYDOWN ? 1 : 0xC0000001);
        EXPECT_EQ(c.field == kLaunchKeyEdit ? Settings.launchHotKey : Settings.penSelectKey, c.want) << c.why;
        EXPECT_EQ(Send(c.field, HKM_GETHOTKEY), LRESULT(c.want)) << c.why << ": the field shows what is stored";
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
}

TEST_F(SettingsWindow, ResetRestoresThePaletteAndNothingElse)
{
    std::fill(std::begin(Settings.palette), std::end(Settings.palette), 0x123456u);
    Settings.savePath[0] = 'x';
    SettingsRecord want = Settings;
    std::copy(std::begin(defaultPalette), std::end(defaultPalette), want.palette);
    Send(kResetButton, BM_CLICK);
    EXPECT_EQ(std::memcmp(&Settings, &want, sizeof(want)), 0);
    EXPECT_EQ(Settings.palette[2], 0x0000FFu);
}

}  // namespace
