// The settings window and the paint sessions it starts, as the program creates them: the tray icon,
// the options, launching and ending sessions, closing the settings window, the answers to the
// mouse-hook module, and inside a session its surfaces, frames, clipboard picture, remembered tool,
// keys and pointer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "canvas/tool_state.h"
#include "render/bmp_export.h"
#include "render/pen_renderer.h"
#include "resources/resource.h"
#include "session/capture.h"
#include "session/paint_state.h"
#include "session/paint_window.h"
#include "session/session_objects.h"
#include "shell/base/default_palette.h"
#include "shell/exe_path.h"
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/message_loop.h"
#include "shell/option_controls.h"
#include "shell/base/platform.h"
#include "shell/session_launch.h"
#include "shell/settings_window.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"

namespace {

constexpr COLORREF kOld = RGB(10, 20, 30), kNew = RGB(200, 100, 50), kCapture = RGB(0, 128, 255);
constexpr COLORREF kPaper = RGB(255, 255, 255), kInk = RGB(0, 0, 0);  // kInk: cell 0 of the default palette
std::vector<DWORD> waits;
bool middleHeld, ctrlHeld;
UINT fakeDpi;

// As the user, from another thread: waits up to `ms` for the message box, presses `button`, reads it.
std::future<std::string> AnswerMessageBox(int button, DWORD ms = 1000)
{
    return std::async(std::launch::async, [button, ms] {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
            if (HWND box = FindWindowA("#32770", kProgramName)) {
                char text[128] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                PostMessageA(box, WM_COMMAND, button, 0);
                return std::string(text);
            }
        return std::string("(no message box)");
    });
}

bool HotKeyTaken()  // the launch hot key of these tests, Ctrl+Alt+F11
{
    const bool free = RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11);
    UnregisterHotKey(nullptr, 77);
    return !free;
}

void Fill(HDC dc, COLORREF color)
{
    const RECT all = {0, 0, 32767, 32767};
    SetDCBrushColor(dc, color);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Regression: the loop ended only when the last message it removed was the quit, so one posted just
// after it kept an invisible program running.
TEST(MessageLoop, EndsWithTheCodeOfAQuitFollowedByAnotherMessage)
{
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 7, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 7);
}

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings = SettingsRecord();
        Settings.launchHotKey = VK_F11 | (0x06 << 8);
        Settings.launchDelay = 2;
        waits.clear();
        middleHeld = ctrlHeld = false;
        fakeDpi = 96;
        Platform.sleep = [](DWORD ms) { waits.push_back(ms); };
        Platform.getAsyncKeyState = [](int key) -> SHORT { return key == VK_MBUTTON && middleHeld ? -32768 : 0; };
        Platform.pressPrintScreen = [] { return true; };  // the tests put the clipboard's picture there themselves
        Platform.getKeyboardState = [](BYTE* keys) -> BOOL { return GetKeyboardState(keys) && (keys[VK_CONTROL] |= ctrlHeld << 7); };
        Platform.monitorDpi = [](HMONITOR) { return fakeDpi; };
        Reopen(Settings);
    }
    void TearDown() override
    {
        Reopen(Settings, false);
        Platform = saved;
        ResetMonitorLookup();
    }
    // The settings window and its session destroyed, with the settings file that wrote beside the
    // test program; then, when `open`, a new settings window that starts from `record`.
    void Reopen(SettingsRecord record, bool open = true)
    {
        char cfg[kPathCapacity];
        DestroyWindow(paintWindow);
        Pump();  // the session's end reaches the settings window while it is there
        DestroyWindow(window);
        Pump();
        if (SiblingPath(".cfg", cfg))
            DeleteFileA(cfg);
        Settings = record;
        window = open ? CreateSettingsWindow(GetModuleHandleA(nullptr)) : nullptr;
        ASSERT_EQ(window != nullptr, open);
    }
    HWND Start(bool delayAllowed = false)
    {
        SendMessageA(window, TWM_LAUNCH, 0, delayAllowed);
        return paintWindow;
    }
    void End()
    {
        SendMessageA(paintWindow, WM_CLOSE, 0, 0);
        Pump();
    }
    static void Pump()  // delivers what was posted: launches, the end of a session, the quit
    {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendDlgItemMessageA(window, id, message, wParam, lParam);
    }
    // "7F off 1002": the option bits as the boxes show them, then the controls that are disabled.
    std::string Options()
    {
        const std::pair<int, uint32_t> boxes[] = {{1001, 0x1}, {1002, 0x400}, {1003, 0x2}, {1005, 0x4}, {1008, 0x40},
                                                  {1010, 0x8}, {1012, 0x10}, {1013, 0x20}, {1014, 0x100}, {1015, 0x80}};
        uint32_t flags = 0;
        for (const auto& [id, bit] : boxes)
            flags |= Send(id, BM_GETCHECK) == BST_CHECKED ? bit : 0;
        char text[16];
        wsprintfA(text, "%X off", flags);
        std::string out = text;
        for (int id = kTaskTrayBox; id <= kHelpButton; ++id)
            out += IsWindowEnabled(GetDlgItem(window, id)) ? "" : " " + std::to_string(id);
        return out;
    }
    // The delay as the edit shows it, then as stored.
    std::string Delay()
    {
        char text[80] = {};
        GetDlgItemTextA(window, kDelayEdit, text, sizeof(text));
        return text + (" " + std::to_string(Settings.launchDelay));
    }
    const PlatformFunctions saved = Platform;
    HWND window = nullptr;
};

TEST_F(Session, TheIconHasItsTipAndCallbackAndComesBackWhenTheShellRestarts)
{
    EXPECT_STREQ(notifyIcon.szTip, "Scrivane");
    EXPECT_EQ(notifyIcon.uCallbackMessage, TWM_TRAY_NOTIFY);
    NOTIFYICONDATAA probe = notifyIcon;  // only an icon the shell knows can be modified
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &notifyIcon));  // the shell restarted: the icon is gone
    for (int restart = 0; restart < 2; ++restart) {  // the second time the icon survived: it is kept
        SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_TRUE(trayIconAdded && Shell_NotifyIconA(NIM_MODIFY, &probe)) << "restart " << restart;
    }
}

// The sixteen controls as the system sees them, in creation order: at 96 DPI exactly as given, and on
// a monitor at 150 % scaled, font included.
TEST_F(Session, OptionsHaveTheirClassesStylesAndPlacesAtEachScaling)
{
    // From id 1001 on: class, style and extended style in hex, place and size at 96 DPI.
    const char* const table =
        "button c03 0 10 10 130 20  button c03 0 150 10 130 20  button c03 0 30 35 110 20 "
        "msctls_hotkey32 880 200 150 36 140 18  button c03 0 10 60 130 20  edit 82 200 150 61 30 18 "
        "msctls_updown32 a2 0 180 61 10 18  button c03 0 10 85 130 20  msctls_hotkey32 880 200 150 86 140 18 "
        "button c03 0 10 110 130 20  button c00 0 150 109 60 22  button c03 0 10 135 130 20 "
        "button c03 0 150 135 130 20  button c03 0 10 160 130 20  button c03 0 150 160 110 20 "
        "button c00 0 268 159 22 22";
    LOGFONTA stock, font;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (UINT dpi : {144u, 96u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        const auto s = [dpi](LONG v) { return MulDiv(v, dpi, 96); };
        std::istringstream in(table);
        std::string want, got;
        char cls[32], line[160];
        HWND child = GetWindow(window, GW_CHILD);
        for (int id = 1001; in >> cls; ++id, child = GetWindow(child, GW_HWNDNEXT)) {
            unsigned style, ex;
            int x, y, cx, cy;
            in >> std::hex >> style >> ex >> std::dec >> x >> y >> cx >> cy;
            wsprintfA(line, "%d %s %X %X at %d,%d %dx%d font %d\n", id, cls, style | WS_CHILD | WS_VISIBLE, ex, s(x),
                      s(y), s(cx), s(cy), id == 1007 ? 0 : s(stock.lfHeight));  // the arrows keep no font
            want += line;
            RECT r = {};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            GetClassNameA(child, cls, sizeof(cls));
            font.lfHeight = 0;
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), sizeof(font), &font);
            wsprintfA(line, "%d %s %X %X at %d,%d %dx%d font %d\n", GetDlgCtrlID(child), CharLowerA(cls),
                      GetWindowLongA(child, GWL_STYLE) & ~WS_DISABLED, GetWindowLongA(child, GWL_EXSTYLE), r.left,
                      r.top, r.right - r.left, r.bottom - r.top, font.lfHeight);
            got += line;
        }
        EXPECT_EQ(got, want) << "at " << dpi << " DPI";
    }
    // Wine draws the caption at its real 96 DPI whatever the test pretends: the client size is
    // checked at 96 only.
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), "300x190");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(hotKeyRegistered) << "free while the options are open, for the hot-key field";
}

TEST_F(Session, OptionsStartFromTheSettingsAndFollowTheirBoxes)
{
    const struct { uint32_t flags, delay, launchKey, penKey; const char *shown, *delayShownAndKept, *why; } starts[] = {
        {0x7F, 0, 0x2C, 0x70, "7F off 1002", "1 1", "defaults, a stored 0 delay; no hook module beside the tests"},
        {0x591, 75, 0x641, 0x231, "591 off 1002 1004 1006 1007 1009 1011", "60 60",
         "options off disable their fields; the hook box keeps its check; a stored 75 delay"},
    };
    for (const auto& c : starts) {
        SettingsRecord record;
        record.flags = c.flags, record.launchDelay = c.delay, record.launchHotKey = c.launchKey, record.penSelectKey = c.penKey;
        Reopen(record);
        EXPECT_EQ(Options(), c.shown) << c.why;
        EXPECT_EQ(Delay(), c.delayShownAndKept) << c.why;
        EXPECT_EQ(Send(kLaunchKeyEdit, HKM_GETHOTKEY) << 16 | Send(kPenKeyEdit, HKM_GETHOTKEY),
                  LRESULT(c.launchKey << 16 | c.penKey)) << c.why;
    }
    // Clicks in a row, from the defaults: each box stores its bit and enables what depends on it.
    const struct { int box; const char *shown, *why; } clicks[] = {
        {kHotKeyBox, "7D off 1002 1004", "hot key off: its field too"},
        {kTaskTrayBox, "7C off 1002 1003 1004", "tray off: the hot-key box; the hook box as it was"},
        {kTaskTrayBox, "7D off 1002 1004", "tray on: not the field of a hot key that is off"},
        {kHotKeyBox, "7F off 1002", "hot key on"},
        {kDelayBox, "7B off 1002 1006 1007", "no delay: the edit and its arrows"},
        {kPenKeyBox, "3B off 1002 1006 1007 1009", "no pen keys: their field"},
        {kRememberPaletteBox, "33 off 1002 1006 1007 1009 1011", "no remembered palette: Reset"},
        {kIncludeCursorBox, "133 off 1002 1006 1007 1009 1011", "only the bit"},
    };
    Reopen(SettingsRecord());
    for (const auto& s : clicks) {
        Send(s.box, BM_CLICK);
        EXPECT_EQ(Options(), s.shown) << s.why;
        EXPECT_EQ(Settings.flags, std::stoul(s.shown, nullptr, 16)) << s.why << ": stored as shown";
    }
    EXPECT_EQ(Settings.launchDelay, 1u) << "a disabled delay keeps its value";
    Send(kIncludeCursorBox, BM_SETCHECK, BST_UNCHECKED);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(kIncludeCursorBox, BN_SETFOCUS), LPARAM(GetDlgItem(window, kIncludeCursorBox)));
    EXPECT_EQ(Settings.flags, 0x133u) << "only a click stores the bit";
}

TEST_F(Session, OptionFieldsStoreWhatTheyShow)
{
    const struct { const char *entered, *shownAndStored, *why, *typed = ""; } delays[] = {
        {"0", "1 1", "below 1: the edit shows 1, and its second notification stores it"},
        {"-3", "1 1", "negative"},
        {"", "1 1", "cleared"},
        {"75", "60 60", "above 60"},
        {"7x", "7x 7", "digits then a letter: the digits count, the text stays"},
        {"4294967297", "60 60", "regression: wrapped round to 1 while the box showed the long number"},
        {"", "8 8", "regression: 5, Backspace, 8 gave 81 and so 60: the bound is selected to be typed over", "5\b8"},
    };
    for (const auto& c : delays) {
        Settings.launchDelay = 30;
        SetDlgItemTextA(window, kDelayEdit, c.entered);
        for (const char* typed = c.typed; *typed; ++typed)
            Send(kDelayEdit, WM_CHAR, *typed, 1);
        EXPECT_EQ(Delay(), c.shownAndStored) << c.why;
    }
    Send(kDelayUpDown, UDM_SETPOS32, 0, 42);
    EXPECT_EQ(Settings.launchDelay, 42u) << "the arrows reach the delay through the edit's text";

    // Keys as the launch-key field receives them, with a modifier down in the keyboard state; no
    // press for Print Screen: the system keeps it to itself.
    const struct { UINT down, up; WPARAM key; int held; uint32_t want; const char* why; } keys[] = {
        {WM_KEYDOWN, WM_KEYUP, 'A', 0, 0x641, "a letter alone becomes Ctrl+Alt+letter"},
        {0, WM_SYSKEYUP, VK_SNAPSHOT, VK_MENU, 0x42C, "regression: Alt+Print Screen, a WM_SYSKEYUP, was lost"},
    };
    for (const auto& c : keys) {
        BYTE state[256] = {};
        state[c.held] = c.held ? 0x80 : 0;
        SetKeyboardState(state);
        Settings.launchHotKey = 0;
        if (c.down)
            Send(kLaunchKeyEdit, c.down, c.key, 1);
        Send(kLaunchKeyEdit, c.up, c.key, 0xC0000001);
        EXPECT_EQ(std::to_string(Settings.launchHotKey) + " shown " + std::to_string(Send(kLaunchKeyEdit, HKM_GETHOTKEY)),
                  std::to_string(c.want) + " shown " + std::to_string(c.want)) << c.why;
    }
    BYTE none[256] = {};
    SetKeyboardState(none);

    std::fill(std::begin(Settings.palette), std::end(Settings.palette), 0x123456u);
    SettingsRecord want = Settings;
    std::copy(std::begin(defaultPalette), std::end(defaultPalette), want.palette);
    Send(kResetButton, BM_CLICK);
    EXPECT_EQ(std::memcmp(&Settings, &want, sizeof(want)), 0) << "Reset restores the palette and nothing else";
}

TEST_F(Session, OneTopmostSessionWaitsOnlyWhenToldAndFreesTheHotKeyMeanwhile)
{
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT screen = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const struct { bool allowed; uint32_t flags; bool optionsOpen, delayed; const char* why; } cases[] = {
        {true, 0x7F, false, true, "a tray click or second start with Delayed Launching"},
        {false, 0x7F, false, false, "the hot key and the mouse hook never wait"},
        {true, 0x7B, false, false, "Delayed Launching off"},
        {false, 0x7F, true, false, "while the options are open the hot key stays free, for choosing another"},
    };
    for (const auto& c : cases) {
        Settings.flags = c.flags;
        ShowWindow(window, c.optionsOpen ? SW_SHOWNA : SW_HIDE);
        HWND session = Start(c.allowed);
        EXPECT_EQ(IsWindowVisible(session) == FALSE, c.delayed) << c.why << ": hidden until the delay ends";
        EXPECT_EQ(Start(true), session) << c.why << ": a launch during a session or its delay is ignored";
        SendMessageA(window, WM_TIMER, LAUNCH_TIMER_ID, 0);  // the delay ends
        RECT r;
        EXPECT_TRUE(IsWindowVisible(session) && GetWindowRect(session, &r) && EqualRect(&r, &screen)) << c.why;
        EXPECT_EQ(GetWindowLongA(session, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
        EXPECT_EQ(GetWindowLongA(session, GWL_STYLE) & (WS_POPUP | WS_CAPTION), LONG(WS_POPUP)) << "borderless";
        EXPECT_FALSE(HotKeyTaken()) << c.why << ": during the session";
        EXPECT_EQ(FindWindowExA(nullptr, session, kPaintClassName, nullptr), nullptr) << "a second paint window";
        End();
        EXPECT_EQ(HotKeyTaken(), !c.optionsOpen) << c.why << ": after the session";
    }
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

// A paint window that cannot be built must not leave the program stuck: the user is told.
TEST_F(Session, AFailedStartIsReportedAndTheProgramCarriesOn)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    UnregisterClassA(kPaintClassName, self);  // the real one comes back with the next paint window
    WNDCLASSA refusing = {0, RefuseCreation, 0, 0, self, nullptr, nullptr, nullptr, nullptr, kPaintClassName};
    ASSERT_TRUE(RegisterClassA(&refusing));
    for (const bool tray : {true, false}) {
        trayMode = tray;
        auto user = AnswerMessageBox(IDOK);
        Start(true);
        EXPECT_EQ(user.get(), "Failed to create main window");
        EXPECT_EQ(HotKeyTaken(), tray) << "in stand-by the hot key works again";
        EXPECT_EQ(IsWindow(window) != FALSE, tray) << "without the tray the program ends";
    }
    UnregisterClassA(kPaintClassName, self);
}

TEST_F(Session, ClosingTheSettingsWindowHidesItOrAsksFirst)
{
    const char *taken = "Failed to register HotKey.", *notice = "To modify options, remove the config file \"Scrivane.cfg\".";
    const struct { bool tray, keyTaken; int answer; const char* text; bool visible, exists; const char* why; } cases[] = {
        {true, false, IDOK, "(no message box)", false, true, "back to stand-by"},
        {true, true, IDCANCEL, taken, true, true, "the hot key is taken: Cancel stays, to choose another"},
        {true, true, IDOK, taken, false, true, "OK goes to stand-by without it"},
        {false, false, IDCANCEL, notice, true, true, "without the tray: Cancel keeps the program"},
        {false, false, IDOK, notice, false, false, "OK ends it"},
    };
    for (const auto& c : cases) {
        Settings.flags = c.tray ? 0x7F : 0x7E;
        if (c.keyTaken) {  // by another program
            UnregisterLaunchHotKey(window);
            RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11);
        }
        ShowWindow(window, SW_SHOWNA);
        auto user = AnswerMessageBox(c.answer, c.text[0] == '(' ? 300 : 1000);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(user.get(), c.text) << c.why;
        EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible) << c.why;
        EXPECT_EQ(IsWindow(window) != FALSE, c.exists) << c.why;
        UnregisterHotKey(nullptr, 77);
    }
}

TEST_F(Session, OnlyARightPressWithTheMiddleButtonHeldStartsOne)
{
    const struct { UINT press; bool middle; LRESULT answer; const char* why; } cases[] = {
        {WM_RBUTTONDOWN, true, 1, "the gesture: swallowed, and a session starts without the delay"},
        {WM_NCRBUTTONDOWN, true, 1, "over a window frame too"},
        {WM_RBUTTONDOWN, false, 0, "a right press alone is the user's"},
        {WM_LBUTTONDOWN, true, 0, "so is any other press"},
    };
    for (const auto& c : cases) {
        middleHeld = c.middle;
        EXPECT_EQ(SendMessageA(window, TWM_HOOK_EVENT, c.press, 0), c.answer) << c.why;
        MSG launch;
        EXPECT_EQ(PeekMessageA(&launch, window, TWM_LAUNCH, TWM_LAUNCH, PM_REMOVE) && !launch.lParam, c.answer == 1) << c.why;
    }
}

// "view/window " at each point: old, new, capture or other.
std::string Shown(std::vector<POINT> points)
{
    std::string out;
    for (const POINT& p : points)
        for (HDC dc : {viewSurface, windowDC}) {
            const COLORREF c = GetPixel(dc, p.x, p.y);
            out += std::string(c == kOld ? "old" : c == kNew ? "new" : c == kCapture ? "capture" : "other") +
                   (dc == windowDC ? " " : "/");
        }
    return out;
}

TEST_F(Session, SurfacesAreTheVirtualScreenFramesReachTheWindowAtOnceAndAllIsReleased)
{
    Start();
    std::vector<HGDIOBJ> objects;
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface}) {
        BITMAP bm = {};
        objects.insert(objects.end(), {dc, GetCurrentObject(dc, OBJ_BITMAP)});
        GetObjectA(objects.back(), sizeof(bm), &bm);
        EXPECT_EQ(std::to_string(bm.bmWidth) + "x" + std::to_string(bm.bmHeight), std::to_string(GetSystemMetrics(
            SM_CXVIRTUALSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    }
    EXPECT_EQ(GetCurrentObject(drawingSurface, OBJ_BRUSH), GetStockObject(NULL_BRUSH)) << "shapes are outlines";
    const POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
    const RECT r = {10, 10, 20, 20};
    Fill(drawingSurface, kOld);
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, 0);
    Fill(drawingSurface, kNew);  // drawn, not yet shown
    RedrawWindow(paintWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Shown({{40, 40}}), "old/old ") << "uncovering repaints the last frame without composing";
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(Shown({{10, 10}, {19, 19}, {20, 15}, {15, 9}}), "new/new new/new old/old old/old ") << "a rectangle";
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, 0);
    EXPECT_EQ(Shown({{0, 0}, corner}), "new/new new/new ") << "the whole window";
    Fill(captureSurface, kCapture);
    PaintWindowProc(paintWindow, PWM_CLEAR, 0, 0);
    EXPECT_EQ(Shown({{5, 5}, corner}), "capture/capture capture/capture ") << "clearing shows the capture";
    EXPECT_EQ(GetPixel(committedSurface, 5, 5), kCapture) << "and takes back the marks";
    End();
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u) << "a surface or its bitmap is left over";
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
    // A desktop too large for the process must not leave a half-built session behind.
    EXPECT_FALSE(CreateSurfacesOfSize(window, 200000, 200000));
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
    ASSERT_TRUE(CreateSurfacesOfSize(window, 16, 16)) << "a later session still works";
    ReleaseSurfaces(window);
}

// 3 x 2, top row first: red green blue / white black yellow.
const COLORREF kPicture[6] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255), 0, RGB(255, 255, 0)};

// The picture as an 8-bit bottom-up DIB, its 256-entry table grey but for entry 10 + k, colour k;
// put on the clipboard without its last byte when `cut`.
void PutDib(HWND owner, bool cut)
{
    const BITMAPINFOHEADER h = {sizeof(h), 3, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> dib(reinterpret_cast<const BYTE*>(&h), reinterpret_cast<const BYTE*>(&h + 1));
    for (int entry = 0; entry < 256; ++entry) {
        const COLORREF c = entry >= 10 && entry < 16 ? kPicture[entry - 10] : RGB(128, 128, 128);
        dib.insert(dib.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    dib.insert(dib.end(), {13, 14, 15, 0, 10, 11, 12, 0});  // rows of 4 bytes, the bottom one first
    dib.resize(dib.size() - cut);
    OpenClipboard(owner);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    std::copy(dib.begin(), dib.end(), static_cast<BYTE*>(GlobalLock(block)));
    GlobalUnlock(block);
    SetClipboardData(CF_DIB, block);
    CloseClipboard();
}

// The pixels of `dc` that are not the picture at the top-left, with the old colour right and below.
std::string WrongPixels(HDC dc)
{
    std::string wrong;
    for (int i = 0; i < 12; ++i)
        if (GetPixel(dc, i % 4, i / 4) != (i % 4 < 3 && i / 4 < 2 ? kPicture[i / 4 * 3 + i % 4] : kOld))
            wrong += std::to_string(i % 4) + "," + std::to_string(i / 4) + " ";
    return wrong;
}

TEST_F(Session, TakesAClipboardBitmapUprightAtTheTopLeftIntoEverySurface)
{
    Start();
    PutDib(window, true);
    Fill(captureSurface, kOld);
    SIZE size = {};
    EXPECT_FALSE(CaptureFromClipboard(paintWindow, size)) << "a pixel area one byte short of the block";
    EXPECT_EQ(GetPixel(captureSurface, 0, 0), kOld) << "the refused block was drawn";

    Settings.flags |= OPT_VIA_CLIPBOARD;
    PutDib(window, false);
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        Fill(dc, kOld);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_TRUE(waits.empty()) << "a first try that succeeds does not wait";
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        EXPECT_EQ(WrongPixels(dc), "") << "surface " << dc;
    OpenClipboard(window);
    EmptyClipboard();
    CloseClipboard();
}

// Regression: the delay slept on the one thread, and every program that sends to all top-level
// windows (setting changes, shutdown queries) hung with it.
TEST_F(Session, TheLaunchDelayKeepsAnsweringTakesThePictureWhenItEndsAndExitCancelsIt)
{
    Platform.sleep = saved.sleep;  // a delay that slept would really sleep
    Settings.flags |= OPT_VIA_CLIPBOARD;
    Settings.launchDelay = 5;
    auto other = std::async(std::launch::async, [this] {  // another program, while the session waits
        Sleep(500);
        DWORD_PTR result;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) && !IsWindowVisible(paintWindow);
    });
    HWND session = Start(true);
    PutDib(window, false);  // the desktop as the delay ends
    while (!IsWindowVisible(session) && MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0)
        Pump();
    EXPECT_TRUE(other.get()) << "no answer within 100 ms during the delay";
    EXPECT_EQ(GetPixel(captureSurface, 2, 1), kPicture[5]) << "not the picture of the delay's end";
    End();
    Start(true);
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(RunMessageLoop(), 0) << "Exit during the delay";
    char cfg[kPathCapacity];
    EXPECT_TRUE(SiblingPath(".cfg", cfg) && GetFileAttributesA(cfg) != INVALID_FILE_ATTRIBUTES) << "unsaved settings";
    paintWindow = window = nullptr;  // gone with the settings window, as with the process
    OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard();
}

// "pen 3 width 12 highlighter remembered-palette", checked against the renderer and the cursor.
std::string Tool()
{
    const PalettePanel& p = palettePanel();
    const PenRenderer& r = penRenderer();
    std::string s = (eraserMode ? "eraser" : "pen " + std::to_string(p.colorIndex)) + " width " +
                    std::to_string(p.penSize) + (p.highlighter ? " highlighter" : "");
    int remembered = 0, defaults = 0;
    for (int i = 0; i < 8; ++i)
        remembered += p.cells[i].color == Settings.palette[i], defaults += p.cells[i].color == defaultPalette[i];
    s += defaults == 8 ? "" : remembered == 8 ? " remembered-palette" : " (palette?)";
    if (p.colorActive == eraserMode || r.highlighter != p.highlighter ||
        (!eraserMode && (r.width != p.penSize || r.color != p.cells[p.colorIndex].color)))
        s += " (the renderer or the panel disagrees)";
    if (!currentCursor || currentCursor != (eraserMode ? eraserCursor : p.highlighter ? highlighterCursor : penCursor))
        s += " (wrong cursor)";
    return s;
}

TEST_F(Session, TakesTheRememberedToolAndWritesItBack)
{
    const uint32_t all = 0x7F, hl = OPT_HIGHLIGHTER;
    const struct { uint32_t flags; int32_t pen; uint32_t size; const char *tool, *saved, *why; } cases[] = {
        {all & ~OPT_REMEMBER_PALETTE, 0, 5, "pen 0 width 5", "0 5", "the defaults, the palette too unless remembered"},
        {all | hl, 3, 12, "pen 3 width 12 highlighter remembered-palette", "3 12 highlighter", "all remembered"},
        {(all & ~OPT_REMEMBER_LAST_PEN) | hl, 3, 12, "pen 0 width 12 remembered-palette", "0 12", "pen forgotten"},
        {all & ~OPT_REMEMBER_PEN_SIZE, 2, 12, "pen 2 width 5 remembered-palette", "2 5", "width forgotten: 5"},
        {all, 1, 0, "pen 1 width 1 remembered-palette", "1 1", "width 0 starts at 1"},
        {all, 1, 25, "pen 1 width 20 remembered-palette", "1 20", "width over 20 starts at 20"},
        {all, -1, 17, "eraser width 20 remembered-palette", "-1 20", "-1 is the eraser; the panel keeps its width"},
        {all, 8, 3, "eraser width 20 remembered-palette", "-1 20", "so is 8 and up"},
        {all, 6, 9, "pen 6 width 9 remembered-palette", "6 9", "back to a colour"},
    };
    for (uint32_t& colour : Settings.palette)
        colour = 0x010203 * static_cast<uint32_t>(&colour - Settings.palette + 1);
    for (const auto& c : cases) {
        Settings.flags = c.flags, Settings.lastPen = c.pen, Settings.penSize = c.size;
        Start();
        EXPECT_EQ(Tool(), c.tool) << c.why;
        End();
        EXPECT_EQ(std::to_string(Settings.lastPen) + " " + std::to_string(Settings.penSize) +
                      (Settings.flags & OPT_HIGHLIGHTER ? " highlighter" : ""), c.saved) << c.why;
        EXPECT_EQ(penRenderer().width, 0) << c.why << ": the pen is released with the session";
    }
    Start();  // the highlighter turned on in the panel is written back
    palettePanel().highlighter = true;
    End();
    EXPECT_TRUE(Settings.flags & OPT_HIGHLIGHTER);
}

// Keys and buttons in a live session, then the tool and whether a close was posted. Events: d<key>
// and u<key> press and release a key, C+ C- Ctrl, L+ L- R+ the mouse buttons at (50,50), P the panel
// under the pointer (which shows the arrow), H the highlighter on; D and U are system keys' messages.
TEST_F(Session, PenRowEscapeAndStrokes)
{
    const auto press = [](int vk) { return "d" + std::to_string(vk) + " u" + std::to_string(vk) + " "; };
    const std::string f3 = press(VK_F3), f4 = press(VK_F4), f9 = press(VK_F9), esc = press(VK_ESCAPE);
    const struct { uint32_t row; std::string events; const char *want, *why; } cases[] = {
        {0x70, "u" + std::to_string(VK_F3), "pen 0 width 5", "a release whose press this window never saw"},
        {0x70, "u" + std::to_string(VK_ESCAPE), "pen 0 width 5", "the Escape that closed a dialog does not end it"},
        {0x231, "C+ d51 u51 C-", "pen 2 width 5", "Ctrl+3 with the row Ctrl+1"},
        {0x231, "C+ d51 C- u51", "pen 0 width 5", "Ctrl let go before the key: nothing"},
        {0x70, "L+ " + f4, "pen 3 width 5", "a colour key in mid-stroke switches the colour"},
        {0x70, "L+ " + f9, "pen 0 width 5", "the eraser key in mid-stroke is ignored"},
        {0x70, "L+ R+ L- " + f9, "pen 0 width 5", "also while the stroke is suspended with only the right button held"},
        {0x70, "L+ " + esc, "pen 0 width 5 closed", "Escape also during a stroke"},
        {0x71, "D121 U121", "eraser width 5", "regression: F10 (with the row from F2), a system key, did nothing"},
        {0x70, "P " + f3, "pen 2 width 5", "over the panel the key's tool takes the cursor"},
        {0x70, "P " + f9, "eraser width 5", "the eraser's"},
        {0x70, "P H " + f4, "pen 3 width 5 highlighter", "the highlighter's (the panel keeps it for later sessions)"},
    };
    for (const auto& c : cases) {
        Settings.penSelectKey = c.row, Settings.lastPen = 0;
        Start();
        std::istringstream in(c.events);
        WPARAM held = 0;  // the mouse buttons down, as the messages report them
        for (std::string e; in >> e;) {
            const UINT message = e == "L+" ? WM_LBUTTONDOWN : e == "R+" ? WM_RBUTTONDOWN : e == "L-" ? WM_LBUTTONUP : 0;
            held = e == "L+" ? held | MK_LBUTTON : e == "R+" ? held | MK_RBUTTON : e == "L-" ? held & ~MK_LBUTTON : held;
            if (std::strchr("duDU", e[0]))
                PaintWindowProc(paintWindow, (tolower(e[0]) == 'd' ? WM_KEYDOWN : WM_KEYUP) + (isupper(e[0]) ? 4 : 0),
                                std::stoi(e.substr(1)), 0);
            else if (e[0] == 'C')
                ctrlHeld = e == "C+";
            else if (e == "P")
                palettePanel().showAt(paintWindow, {400, 300}), SetCurrentCursor(arrowCursor);
            else if (e == "H")
                palettePanel().highlighter = true, PaintWindowProc(paintWindow, PWM_SETHIGHLIGHT, 1, 0);
            else
                PaintWindowProc(paintWindow, message, held, MAKELPARAM(50, 50));
        }
        MSG msg;
        const bool closed = PeekMessageA(&msg, paintWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE);
        EXPECT_EQ(Tool() + (closed ? " closed" : ""), c.want) << c.why;
        End();
    }
}

// Regression: with the pointer never captured, a release over another topmost window was lost and
// every later movement went on drawing with no button held.
TEST_F(Session, AReleaseThatNeverArrivedEndsTheStroke)
{
    Start();
    for (HDC dc : {captureSurface, committedSurface, drawingSurface})
        Fill(dc, kPaper);
    PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PaintWindowProc(paintWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(160, 100));
    PaintWindowProc(paintWindow, WM_MOUSEMOVE, 0, MAKELPARAM(160, 200));  // the button went up elsewhere
    EXPECT_EQ(GetPixel(drawingSurface, 160, 150), kPaper) << "no line to a point reached with no button held";
    EXPECT_EQ(GetPixel(committedSurface, 130, 100), kInk) << "the stroke was ended as by its release";
    EXPECT_EQ(gesture.buttonsDown, 0);
    palettePanel().showAt(paintWindow, {400, 300});  // nor does a drag of the panel's title or size box
    const RECT panel = palettePanel().bounds;
    for (const POINT q : {POINT{100, 5}, POINT{20, 35}}) {
        PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(panel.left + q.x, panel.top + q.y));
        PaintWindowProc(paintWindow, WM_MOUSEMOVE, 0, MAKELPARAM(600, 100));
    }
    EXPECT_EQ(palettePanel().bounds.left, panel.left);
    EXPECT_EQ(palettePanel().penSize, 5);
}

// Regression: a save that failed said nothing; the user ended the session believing the picture saved.
TEST_F(Session, AFailedSaveSaysSoAndKeepsTheSessionAndItsMarks)
{
    char path[260] = "Z:\\proc\\scrivane.bmp";  // no file can be made there, even as root
    Start();
    Fill(drawingSurface, kNew);
    auto user = AnswerMessageBox(IDOK);
    SaveDrawingAs(paintWindow, drawingSurface, path);
    EXPECT_EQ(user.get().substr(0, 50), "The picture was not saved.\n\nZ:\\proc\\scrivane.bmp\n\n") << "then the reason";
    EXPECT_STREQ(Settings.savePath, path) << "offered again by the next dialog";
    EXPECT_TRUE(IsWindowVisible(paintWindow) && GetPixel(drawingSurface, 5, 5) == kNew) << "the session and its marks";
}

// Regression: a session that starts magnified showed its first frame unmagnified, centred on wherever
// the last session left the pointer.
TEST_F(Session, OneThatStartsMagnifiedCentresOnThePointer)
{
    const int w = GetSystemMetrics(SM_CXSCREEN);
    HWND patches[2];  // white paper along the top of the screen, a black 4-pixel dot at its right end
    for (int i = 0; i < 2; ++i) {
        const char* name = i ? "ScrivaneTestBlack" : "ScrivaneTestWhite";
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr,
                        static_cast<HBRUSH>(GetStockObject(i ? BLACK_BRUSH : WHITE_BRUSH)), nullptr, name};
        RegisterClassA(&wc);
        patches[i] = CreateWindowExA(WS_EX_TOPMOST, name, "", WS_POPUP | WS_VISIBLE, i ? w - 4 : 0, 0, i ? 4 : w,
                                     i ? 4 : 100, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(patches[i]);
    }
    for (int i = 0; i < 20; ++i, Sleep(10))
        Pump();
    Platform.getCursorPos = [](POINT* p) -> BOOL {
        *p = POINT{100000, -50};  // beyond the desktop: the centre is clamped into it
        return TRUE;
    };
    zoomLevel = 1;
    paintWindow = CreatePaintWindow(window, GetModuleHandleA(nullptr));
    ASSERT_NE(paintWindow, nullptr);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    for (HWND patch : patches)
        DestroyWindow(patch);
    EXPECT_EQ(std::to_string(lastPointer.x) + "," + std::to_string(lastPointer.y), std::to_string(w - 1) + ",0");
    // Twice about the top-right corner: the 4-pixel dot there covers 8 pixels of the first frame.
    EXPECT_EQ(GetPixel(drawingSurface, w - 6, 1), kPaper) << "captured one to one";
    EXPECT_EQ(GetPixel(viewSurface, w - 6, 1), kInk) << "shown magnified before the window appears";
    EXPECT_EQ(GetPixel(viewSurface, w - 10, 1), kPaper);
    zoomLevel = 0;
}

}  // namespace
