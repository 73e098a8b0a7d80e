// The settings window and the paint sessions it starts, as the program wires them up: the tray icon,
// the options, launching and ending sessions, closing, the answers to the mouse-hook module, and
// inside a session its surfaces, frames, clipboard picture, remembered tool, eraser, keys and pointer.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <future>
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
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"
#include "shell/exe_path.h"
#include "shell/message_loop.h"
#include "shell/option_controls.h"
#include "shell/session_launch.h"
#include "shell/settings_window.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"

namespace {

constexpr COLORREF kOld = RGB(10, 20, 30), kNew = RGB(200, 100, 50), kCapture = RGB(0, 128, 255);
const COLORREF kPicture[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};  // 2 x 2, top row first
std::vector<DWORD> waits;
bool middleHeld, ctrlHeld;
UINT fakeDpi;

// As the user, from another thread: waits up to `ms` for the message box, presses `button`, reads it.
std::future<std::string> AnswerMessageBox(int button, DWORD ms = 1000)
{
    return std::async(std::launch::async, [button, ms] {
        char text[300] = "(no message box)";
        for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
            if (HWND box = FindWindowA("#32770", kProgramName)) {
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                PostMessageA(box, WM_COMMAND, button, 0);
                break;
            }
        return std::string(text);
    });
}

std::string Text(UINT id)
{
    char text[128] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof(text));
    return text;
}

bool HotKeyTaken()  // the launch hot key of these tests, Ctrl+Alt+F11
{
    const bool free = RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11);
    return UnregisterHotKey(nullptr, 77), !free;
}

void Fill(COLORREF color, std::initializer_list<HDC> dcs)
{
    const RECT all = {0, 0, 32767, 32767};
    for (HDC dc : dcs)
        SetDCBrushColor(dc, color), FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// kPicture on the clipboard as a 32-bit bottom-up DIB, `cut` bytes short; `cut` < 0 empties it.
void PutDib(int cut)
{
    const BITMAPINFOHEADER h = {sizeof(h), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> dib(reinterpret_cast<const BYTE*>(&h), reinterpret_cast<const BYTE*>(&h + 1));
    for (int i : {2, 3, 0, 1})
        dib.insert(dib.end(), {GetBValue(kPicture[i]), GetGValue(kPicture[i]), GetRValue(kPicture[i]), 0});
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size() - std::max(cut, 0));
    std::copy_n(dib.begin(), dib.size() - std::max(cut, 0), static_cast<BYTE*>(GlobalLock(block)));
    GlobalUnlock(block);
    OpenClipboard(nullptr), EmptyClipboard();
    if (cut < 0 || !SetClipboardData(CF_DIB, block))
        GlobalFree(block);
    CloseClipboard();
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
        Settings.launchHotKey = VK_F11 | (0x06 << 8);
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
        Reopen(SettingsRecord(), false);
        Platform = saved;
        ResetMonitorLookup();
        PutDib(-1);
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
    HWND Start(bool delayAllowed = false) { return SendMessageA(window, TWM_LAUNCH, 0, delayAllowed), paintWindow; }
    void End() { SendMessageA(paintWindow, WM_CLOSE, 0, 0), Pump(); }
    static void Pump()  // delivers what was posted: launches, the end of a session, the quit
    {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    LRESULT Send(int id, UINT message, WPARAM w = 0, LPARAM l = 0) { return SendDlgItemMessageA(window, id, message, w, l); }
    std::vector<int> Disabled()
    {
        std::vector<int> ids;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!IsWindowEnabled(c))
                ids.push_back(GetDlgCtrlID(c));
        return ids;
    }
    std::string DelayShownAndKept()
    {
        char text[80] = {};
        GetDlgItemTextA(window, kDelayEdit, text, sizeof(text));
        return text + (" " + std::to_string(Settings.launchDelay));
    }
    const PlatformFunctions saved = Platform;
    HWND window = nullptr;
};

TEST_F(Session, TheTrayIconCallsBackAndComesBackWhenTheShellRestarts)
{
    EXPECT_EQ(notifyIcon.uCallbackMessage, TWM_TRAY_NOTIFY);
    NOTIFYICONDATAA probe = notifyIcon;  // only an icon the shell knows can be modified
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &notifyIcon));  // the shell restarted: the icon is gone
    for (int restart = 0; restart < 2; ++restart) {  // the second time the icon survived: it is kept
        SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_TRUE(trayIconAdded && Shell_NotifyIconA(NIM_MODIFY, &probe)) << "restart " << restart;
    }
}

// On a monitor at 150 % and back at 100 %: every control inside the client area, in the font scaled
// to that monitor; and the hot key free meanwhile, for the hot-key field.
TEST_F(Session, OptionsFitTheirWindowAtEachScaling)
{
    LOGFONTA stock, font;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (UINT dpi : {144u, 96u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        RECT client, r, inside;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(c);
            font.lfHeight = 0;
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)), sizeof(font), &font);
            EXPECT_EQ(font.lfHeight, id == kDelayUpDown ? 0 : MulDiv(stock.lfHeight, dpi, 96)) << id << " at " << dpi;
            EXPECT_TRUE(GetWindowRect(c, &r) && IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r)) << id;
        }
    }
    EXPECT_TRUE(IsWindowVisible(window) && !hotKeyRegistered);
}

// Each box is found in the window and its bit by clicking it: no copy of the options' table.
TEST_F(Session, EachOptionBoxShowsAndStoresItsOwnBitAndEnablesItsFields)
{
    std::vector<std::pair<int, uint32_t>> boxes;
    uint32_t all = 0;
    char cls[16];
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!GetClassNameA(c, cls, 16) || lstrcmpiA(cls, "Button") || (GetWindowLongA(c, GWL_STYLE) & 15) != BS_AUTOCHECKBOX)
            continue;
        EnableWindow(c, TRUE);  // the hook box, off without its module
        const uint32_t before = Settings.flags;
        SendMessageA(c, BM_CLICK, 0, 0);
        const uint32_t bit = Settings.flags ^ before;
        EXPECT_TRUE(bit && !(bit & (bit - 1)) && !(bit & all)) << GetDlgCtrlID(c) << ": one bit, its own";
        EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED, (Settings.flags & bit) != 0) << GetDlgCtrlID(c);
        SendMessageA(c, BM_CLICK, 0, 0);
        EXPECT_EQ(Settings.flags, before) << GetDlgCtrlID(c) << ": clicked again";
        boxes.push_back({GetDlgCtrlID(c), bit}), all |= bit;
    }
    EXPECT_EQ(all, (OPT_MOUSE_HOOK * 2 - 1) & ~OPT_HIGHLIGHTER) << "every option but the highlighter has its box";

    SettingsRecord record;  // options off disable their fields; a stored delay over 60 is shown and kept as 60
    record.flags = 0x591, record.launchDelay = 75, record.launchHotKey = 0x641, record.penSelectKey = 0x231;
    Reopen(record);
    for (const auto& [box, bit] : boxes)
        EXPECT_EQ(Send(box, BM_GETCHECK) == BST_CHECKED, (record.flags & bit) != 0) << box;
    EXPECT_EQ(Disabled(), std::vector<int>({kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit, kResetButton}));
    EXPECT_EQ(DelayShownAndKept(), "60 60");
    EXPECT_EQ(Send(kLaunchKeyEdit, HKM_GETHOTKEY) << 16 | Send(kPenKeyEdit, HKM_GETHOTKEY), LRESULT(0x6410231));

    const struct { int box; std::vector<int> disabled; const char* why; } clicks[] = {  // in a row, from the defaults
        {kHotKeyBox, {kMouseHookBox, kLaunchKeyEdit}, "hot key off: its field too"},
        {kTaskTrayBox, {kMouseHookBox, kHotKeyBox, kLaunchKeyEdit}, "tray off: the hot-key box; the hook box as it was"},
        {kTaskTrayBox, {kMouseHookBox, kLaunchKeyEdit}, "tray on: not the field of a hot key that is off"},
        {kDelayBox, {kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown}, "no delay: the edit and its arrows"},
        {kPenKeyBox, {kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit}, "no pen keys: their field"},
        {kRememberPaletteBox, {kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit, kResetButton}, "Reset"},
    };
    Reopen(SettingsRecord());
    for (const auto& s : clicks) {
        Send(s.box, BM_CLICK);
        EXPECT_EQ(Disabled(), s.disabled) << s.why;
    }
}

TEST_F(Session, OptionFieldsStoreWhatTheyShow)
{
    const struct { const char *entered, *typed, *shownAndKept, *why; } delays[] = {
        {"0", "", "1 1", "below 1: the edit shows 1, and its second notification stores it"},
        {"4294967297", "", "60 60", "regression: wrapped round to 1 while the box showed the long number"},
        {"", "5\b8", "8 8", "regression: 5, Backspace, 8 gave 81 and so 60: the bound is selected to be typed over"},
    };
    for (const auto& c : delays) {
        SetDlgItemTextA(window, kDelayEdit, c.entered);
        for (const char* typed = c.typed; *typed; ++typed)
            Send(kDelayEdit, WM_CHAR, *typed, 1);
        EXPECT_EQ(DelayShownAndKept(), c.shownAndKept) << c.why;
    }
    // Print Screen as the launch key: only its release arrives, with Alt down a WM_SYSKEYUP.
    BYTE state[256] = {};
    state[VK_MENU] = 0x80;
    SetKeyboardState(state);
    Send(kLaunchKeyEdit, WM_SYSKEYUP, VK_SNAPSHOT, 0xC0000001);
    state[VK_MENU] = 0;
    SetKeyboardState(state);
    EXPECT_TRUE(Settings.launchHotKey == 0x42C && Send(kLaunchKeyEdit, HKM_GETHOTKEY) == 0x42C) << "Alt+Print Screen";

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
        EXPECT_FALSE(HotKeyTaken()) << c.why << ": during the session";
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
        EXPECT_EQ(user.get(), Text(IDS_CREATE_FAILED));
        EXPECT_EQ(HotKeyTaken(), tray) << "in stand-by the hot key works again";
        EXPECT_EQ(IsWindow(window) != FALSE, tray) << "without the tray the program ends";
    }
    UnregisterClassA(kPaintClassName, self);
}

TEST_F(Session, ClosingTheSettingsWindowHidesItOrAsksFirst)
{
    const struct { bool tray, keyTaken; int answer; UINT text; bool visible, exists; const char* why; } cases[] = {
        {true, false, IDOK, 0, false, true, "back to stand-by"},
        {true, true, IDCANCEL, IDS_HOTKEY_FAILED, true, true, "the hot key is taken: Cancel stays, to choose another"},
        {true, true, IDOK, IDS_HOTKEY_FAILED, false, true, "OK goes to stand-by without it"},
        {false, false, IDCANCEL, IDS_NON_TRAY_NOTICE, true, true, "without the tray: Cancel keeps the program"},
        {false, false, IDOK, IDS_NON_TRAY_NOTICE, false, false, "OK ends it"},
    };
    for (const auto& c : cases) {
        Settings.flags = c.tray ? 0x7F : 0x7E;
        if (c.keyTaken)  // by another program
            UnregisterLaunchHotKey(window), RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11);
        ShowWindow(window, SW_SHOWNA);
        auto user = AnswerMessageBox(c.answer, c.text ? 1000 : 300);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(user.get(), c.text ? Text(c.text) : "(no message box)") << c.why;
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

TEST_F(Session, SurfacesAreTheVirtualScreenFramesReachTheWindowAtOnceAndAllIsReleased)
{
    Start();
    std::vector<HGDIOBJ> objects;
    BITMAP bm = {};
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface}) {
        objects.insert(objects.end(), {dc, GetCurrentObject(dc, OBJ_BITMAP)});
        EXPECT_TRUE(GetObjectA(objects.back(), sizeof(bm), &bm) && bm.bmWidth == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
                    bm.bmHeight == GetSystemMetrics(SM_CYVIRTUALSCREEN));
    }
    EXPECT_EQ(GetCurrentObject(drawingSurface, OBJ_BRUSH), GetStockObject(NULL_BRUSH)) << "shapes are outlines";
    const auto shown = [](int x, int y, COLORREF c) { return GetPixel(viewSurface, x, y) == c && GetPixel(windowDC, x, y) == c; };
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1, bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
    const RECT r = {10, 10, 20, 20};
    Fill(kOld, {drawingSurface});
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, 0);
    Fill(kNew, {drawingSurface});  // drawn, not yet shown
    RedrawWindow(paintWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(shown(40, 40, kOld)) << "uncovering repaints the last frame without composing";
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_TRUE(shown(10, 10, kNew) && shown(19, 19, kNew) && shown(20, 15, kOld) && shown(15, 9, kOld)) << "a rectangle";
    Fill(kCapture, {captureSurface});
    PaintWindowProc(paintWindow, PWM_CLEAR, 0, 0);
    EXPECT_TRUE(shown(5, 5, kCapture) && shown(right, bottom, kCapture)) << "clearing shows the whole capture";
    EXPECT_EQ(GetPixel(committedSurface, 5, 5), kCapture) << "and takes back the marks";
    End();
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u) << "a surface or its bitmap is left over";
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
    // A desktop too large for the process must not leave a half-built session behind.
    EXPECT_FALSE(CreateSurfacesOfSize(window, 200000, 200000));
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
}

TEST_F(Session, TakesAClipboardBitmapUprightAtTheTopLeftIntoEverySurface)
{
    Start();
    PutDib(1);
    Fill(kOld, {captureSurface, committedSurface, drawingSurface, viewSurface});
    SIZE size = {};
    EXPECT_FALSE(CaptureFromClipboard(paintWindow, size) || GetPixel(captureSurface, 0, 0) != kOld) << "one byte short";
    Settings.flags |= OPT_VIA_CLIPBOARD;
    PutDib(0);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_TRUE(waits.empty()) << "a first try that succeeds does not wait";
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(GetPixel(dc, i % 3, i / 3), i % 3 < 2 && i < 6 ? kPicture[i / 3 * 2 + i % 3] : kOld) << i << " " << dc;
    PutDib(-1);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_EQ(waits, std::vector<DWORD>({1000, 1000})) << "no bitmap: two tries a second apart, then the screen";
}

// Regression: the delay slept on the one thread, and every program that sends to all top-level
// windows (setting changes, shutdown queries) hung with it.
TEST_F(Session, TheLaunchDelayKeepsAnsweringTakesThePictureWhenItEndsAndExitCancelsIt)
{
    Settings.flags |= OPT_VIA_CLIPBOARD;
    Settings.launchDelay = 1;
    auto other = std::async(std::launch::async, [this] {  // another program, while the session waits
        Sleep(500);
        DWORD_PTR result;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) && !IsWindowVisible(paintWindow);
    });
    HWND session = Start(true);
    PutDib(0);  // the desktop as the delay ends
    while (!IsWindowVisible(session) && MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0)
        Pump();
    EXPECT_TRUE(other.get()) << "no answer within 100 ms during the delay, or no delay";
    EXPECT_EQ(GetPixel(captureSurface, 1, 1), kPicture[3]) << "not the picture of the delay's end";
    End();
    Start(true);
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(RunMessageLoop(), 0) << "Exit during the delay";
    char cfg[kPathCapacity];
    EXPECT_TRUE(SiblingPath(".cfg", cfg) && GetFileAttributesA(cfg) != INVALID_FILE_ATTRIBUTES) << "unsaved settings";
    paintWindow = window = nullptr;  // gone with the settings window, as with the process
}

// The tool a session starts with, as the panel, the renderer and the cursor show it, and as its end
// writes it back.
TEST_F(Session, TakesTheRememberedToolAndWritesItBack)
{
    const uint32_t all = 0x7F, hl = OPT_HIGHLIGHTER;
    const struct { uint32_t flags; int32_t pen; uint32_t size; int cell, width; bool highlighter; const char* why; } cases[] = {
        {all & ~OPT_REMEMBER_PALETTE, 0, 5, 0, 5, false, "the defaults, the palette too unless remembered"},
        {all | hl, 3, 12, 3, 12, true, "all remembered"},
        {(all & ~OPT_REMEMBER_LAST_PEN) | hl, 3, 12, 0, 12, false, "pen forgotten, and the highlighter with it"},
        {all & ~OPT_REMEMBER_PEN_SIZE, 2, 12, 2, 5, false, "width forgotten: 5"},
        {all, 1, 25, 1, 20, false, "width over 20 starts at 20"},
        {all, 8, 3, -1, 20, false, "8 and up is the eraser; the panel keeps its width"},
        {all, 6, 9, 6, 9, false, "back to a colour"},
    };
    for (uint32_t& colour : Settings.palette)
        colour = 0x010203 * static_cast<uint32_t>(&colour - Settings.palette + 1);
    for (const auto& c : cases) {
        Settings.flags = c.flags, Settings.lastPen = c.pen, Settings.penSize = c.size;
        Start();
        const PalettePanel& p = palettePanel();
        const PenRenderer& r = penRenderer();
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(p.cells[i].color, c.flags & OPT_REMEMBER_PALETTE ? Settings.palette[i] : defaultPalette[i]) << c.why;
        EXPECT_TRUE(p.colorActive != eraserMode && p.highlighter == r.highlighter) << c.why << ": the panel, the renderer";
        EXPECT_TRUE(eraserMode || (r.width == c.width && r.color == p.cells[c.cell].color)) << c.why << ": the pen";
        EXPECT_EQ(currentCursor, eraserMode ? eraserCursor : c.highlighter ? highlighterCursor : penCursor) << c.why;
        End();
        EXPECT_EQ(Settings.lastPen, c.cell) << c.why;
        EXPECT_EQ(Settings.penSize, uint32_t(c.width)) << c.why;
        EXPECT_EQ((Settings.flags & hl) != 0, c.highlighter) << c.why;
        EXPECT_EQ(penRenderer().width, 0) << c.why << ": the pen is released with the session";
    }
    for (const bool on : {true, false}) {  // the highlighter switched in the panel is written back
        Settings.flags = all | (on ? 0 : hl);
        Start();
        palettePanel().highlighter = on;
        End();
        EXPECT_EQ((Settings.flags & hl) != 0, on);
    }
}

// The eraser as the paint window sets it up: a click takes back a 20 x 20 square of the capture
// centred on the pointer.
TEST_F(Session, TheEraserTakesBackATwentyPixelSquare)
{
    Start();
    Fill(kCapture, {captureSurface});
    Fill(kNew, {committedSurface, drawingSurface});
    palettePanel().selectColor(8);
    ApplyTool();
    PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PaintWindowProc(paintWindow, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    RECT erased = {}, pixel;
    for (int i = 0; i < 40 * 40; ++i)
        if (SetRect(&pixel, 80 + i % 40, 80 + i / 40, 81 + i % 40, 81 + i / 40) &&
            GetPixel(committedSurface, pixel.left, pixel.top) == kCapture)
            UnionRect(&erased, &erased, &pixel);
    EXPECT_EQ(std::vector<LONG>({erased.left, erased.top, erased.right, erased.bottom}), std::vector<LONG>({90, 90, 110, 110}));
}

// Keys and buttons in a live session, then the tool and whether a close was posted.
TEST_F(Session, PenRowEscapeAndStrokes)
{
    enum Kind { Down, Up, SysDown, SysUp, LeftDown, LeftUp, RightDown, Ctrl, OverPanel };
    const struct { uint32_t row; std::vector<std::pair<Kind, UINT>> events; int cell; bool closed; const char* why; } cases[] = {
        {0x70, {{Up, VK_F3}}, 0, false, "a release whose press this window never saw"},
        {0x70, {{Up, VK_ESCAPE}}, 0, false, "the Escape that closed a dialog does not end it"},
        {0x70, {{LeftDown, 0}, {Down, VK_ESCAPE}, {Up, VK_ESCAPE}}, 0, true, "Escape ends it, also during a stroke"},
        {0x231, {{Ctrl, 0}, {Down, '3'}, {Up, '3'}}, 2, false, "Ctrl+3 with the row Ctrl+1"},
        {0x70, {{LeftDown, 0}, {Down, VK_F4}, {Up, VK_F4}}, 3, false, "a colour key in mid-stroke switches the colour"},
        {0x70, {{LeftDown, 0}, {Down, VK_F9}, {Up, VK_F9}}, 0, false, "the eraser key in mid-stroke is ignored"},
        {0x70, {{LeftDown, 0}, {RightDown, 0}, {LeftUp, 0}, {Down, VK_F9}, {Up, VK_F9}}, 0, false,
         "also while the stroke is suspended with only the right button held"},
        {0x71, {{SysDown, VK_F10}, {SysUp, VK_F10}}, -1, false, "regression: F10 (with the row from F2), a system key, did nothing"},
        {0x70, {{OverPanel, 0}, {Down, VK_F9}, {Up, VK_F9}}, -1, false, "over the panel the key's tool takes the cursor"},
    };
    for (const auto& c : cases) {
        Settings.penSelectKey = c.row, Settings.lastPen = 0;
        Start();
        const UINT messages[] = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN};
        WPARAM held = 0;  // the buttons down, as the messages report them
        for (const auto& [kind, key] : c.events) {
            if (kind <= SysUp)
                PaintWindowProc(paintWindow, messages[kind], key, 0);
            if (kind >= LeftDown && kind <= RightDown) {
                held = kind == LeftUp ? held & ~MK_LBUTTON : held | (kind == LeftDown ? MK_LBUTTON : MK_RBUTTON);
                PaintWindowProc(paintWindow, messages[kind], held, MAKELPARAM(50, 50));
            }
            if (kind == OverPanel)
                palettePanel().showAt(paintWindow, {400, 300}), SetCurrentCursor(arrowCursor);
            ctrlHeld |= kind == Ctrl;
        }
        ctrlHeld = false;
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, paintWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE, c.closed) << c.why;
        EXPECT_EQ(palettePanel().colorActive ? palettePanel().colorIndex : -1, c.cell) << c.why;
        EXPECT_EQ(currentCursor, c.cell < 0 ? eraserCursor : penCursor) << c.why;
        End();
    }
}

// Regression: with the pointer never captured, a release over another topmost window was lost and
// every later movement went on drawing with no button held.
TEST_F(Session, AReleaseThatNeverArrivedEndsTheStroke)
{
    Start();
    Fill(kOld, {captureSurface, committedSurface, drawingSurface});
    PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PaintWindowProc(paintWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(160, 100));
    PaintWindowProc(paintWindow, WM_MOUSEMOVE, 0, MAKELPARAM(160, 200));  // the button went up elsewhere
    EXPECT_EQ(GetPixel(drawingSurface, 160, 150), kOld) << "no line to a point reached with no button held";
    EXPECT_NE(GetPixel(committedSurface, 130, 100), kOld) << "the stroke was ended as by its release";
    palettePanel().showAt(paintWindow, {400, 300});  // nor does a drag of the panel's title or size box
    const RECT panel = palettePanel().bounds;
    for (const POINT q : {POINT{100, 5}, POINT{20, 35}}) {
        PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(panel.left + q.x, panel.top + q.y));
        PaintWindowProc(paintWindow, WM_MOUSEMOVE, 0, MAKELPARAM(600, 100));
    }
    EXPECT_TRUE(palettePanel().bounds.left == panel.left && palettePanel().penSize == 5);
}

// Regression: a save that failed said nothing; the user ended the session believing the picture saved.
TEST_F(Session, AFailedSaveSaysSoAndKeepsTheSessionAndItsMarks)
{
    char path[260] = "Z:\\proc\\scrivane.bmp";  // no file can be made there, even as root
    Start();
    Fill(kNew, {drawingSurface});
    auto user = AnswerMessageBox(IDOK);
    SaveDrawingAs(paintWindow, drawingSurface, path);
    EXPECT_EQ(user.get().find(Text(IDS_SAVE_FAILED) + "\n\n" + path + "\n\n"), 0u) << "then the reason";
    EXPECT_STREQ(Settings.savePath, path) << "offered again by the next dialog";
    EXPECT_TRUE(IsWindowVisible(paintWindow) && GetPixel(drawingSurface, 5, 5) == kNew) << "the session and its marks";
}

// Regression: a session that starts magnified showed its first frame unmagnified, centred on wherever
// the last session left the pointer.
TEST_F(Session, OneThatStartsMagnifiedCentresOnThePointer)
{
    Platform.getCursorPos = [](POINT* p) { return *p = POINT{-50, -100000}, TRUE; };  // clamped into the desktop
    Settings.flags |= OPT_VIA_CLIPBOARD;
    PutDib(0);
    zoomLevel = 1;
    Start();
    zoomLevel = 0;
    EXPECT_TRUE(lastPointer.x == 0 && lastPointer.y == 0);
    // Twice about the top-left corner: each pixel of the picture covers 2 x 2 of the first frame.
    EXPECT_NE(GetPixel(drawingSurface, 2, 0), kPicture[1]) << "captured one to one";
    EXPECT_TRUE(GetPixel(viewSurface, 2, 0) == kPicture[1] && GetPixel(viewSurface, 3, 3) == kPicture[3])
        << "shown magnified before the window appears";
}

}  // namespace
