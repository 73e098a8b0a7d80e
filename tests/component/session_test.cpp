// The settings window and the paint sessions it starts, as the program wires them up.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <string>
#include <tuple>
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
// 2 x 2, top row first; red and blue alike, so that each is the same number as a COLORREF and as a DIB pixel.
const COLORREF kPicture[4] = {RGB(255, 0, 255), RGB(0, 255, 0), RGB(64, 128, 64), RGB(200, 50, 200)};
std::vector<DWORD> waits;
bool middleHeld;
UINT fakeDpi;

// As the user, from another thread: waits up to `ms` for the message box, presses `button`, reads it.
std::future<std::string> AnswerMessageBox(int button, DWORD ms = 1000)
{
    return std::async(std::launch::async, [button, ms] {
        char text[300] = "(no message box)";
        HWND box = nullptr;
        for (const DWORD start = GetTickCount(); !box && GetTickCount() - start < ms; Sleep(20))
            if ((box = FindWindowA("#32770", kProgramName)))
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text)), PostMessageA(box, WM_COMMAND, button, 0);
        return std::string(text);
    });
}

std::string Text(UINT id) { char t[128]; return std::string(t, LoadStringA(GetModuleHandleA(nullptr), id, t, 128)); }

// The launch hot key of these tests, Ctrl+Alt+F11, as another program finds it.
bool HotKeyTaken() { return !RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11) || !UnregisterHotKey(nullptr, 77); }

void Fill(COLORREF color, std::initializer_list<HDC> dcs)
{
    const RECT all = {0, 0, 32767, 32767};
    for (HDC dc : dcs)
        SetDCBrushColor(dc, color), FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// kPicture on the clipboard as a 32-bit bottom-up DIB, `cut` bytes short; `cut` < 0 empties it.
void PutDib(int cut)
{
    const struct { BITMAPINFOHEADER h; COLORREF bottomUp[4]; } dib = {
        {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {kPicture[2], kPicture[3], kPicture[0], kPicture[1]}};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(dib) - std::max(cut, 0));
    std::memcpy(GlobalLock(block), &dib, sizeof(dib) - std::max(cut, 0));
    GlobalUnlock(block), OpenClipboard(nullptr), EmptyClipboard();
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

// With or without the multi-monitor functions, the answers must describe the test display, one
// screen at (0,0), as the system does.
BOOL WINAPI NoMonitorInfo(HMONITOR, LPMONITORINFO) { return FALSE; }
TEST(MonitorLookup, DescribesThePrimaryScreenWithOrWithoutTheMultiMonitorFunctions)
{
    const PlatformFunctions saved = Platform;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT work, screen = {0, 0, width, height};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const char* path : {"multi-monitor", "fallback"}) {
        if (*path == 'f')
            Platform.user32Function = [](const char*) -> FARPROC { return nullptr; };
        ResetMonitorLookup();
        const RECT virtualScreen = {MonitorMetric(SM_XVIRTUALSCREEN), MonitorMetric(SM_YVIRTUALSCREEN),
                                    MonitorMetric(SM_CXVIRTUALSCREEN), MonitorMetric(SM_CYVIRTUALSCREEN)};  // origin, size
        EXPECT_TRUE(EqualRect(&virtualScreen, &screen)) << path;
        EXPECT_EQ(MonitorMetric(SM_CXSMICON), GetSystemMetrics(SM_CXSMICON)) << path << ": other metrics pass through";
        MONITORINFOEXA info = {};
        info.cbSize = sizeof(info);
        EXPECT_TRUE(MonitorInfo(MonitorNearestPoint({-5000, 100000}), &info)) << path << ": a far point's nearest";
        EXPECT_TRUE(EqualRect(&info.rcMonitor, &screen) && EqualRect(&info.rcWork, &work)) << path;
        EXPECT_EQ(info.dwFlags, DWORD(MONITORINFOF_PRIMARY)) << path;
        EXPECT_EQ(std::strcmp(info.szDevice, "DISPLAY") == 0, *path == 'f') << path << ": " << info.szDevice;
    }
    // Regression: when the monitor could not be asked, "Config" placed the options off every screen.
    Platform.user32Function = [](const char* name) {
        return std::strcmp(name, "GetMonitorInfoA") ? SystemPlatform().user32Function(name) : FARPROC(reinterpret_cast<void*>(NoMonitorInfo));
    };
    ResetMonitorLookup();
    const RECT area = MonitorUnderPointer().work;
    EXPECT_TRUE(EqualRect(&area, &work)) << "the primary work area: " << area.left << "," << area.top;
    Platform = saved;
    ResetMonitorLookup();
}

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings.launchHotKey = VK_F11 | (0x06 << 8);
        waits.clear(), middleHeld = false, fakeDpi = 96;
        Platform.sleep = [](DWORD ms) { waits.push_back(ms); };
        Platform.getAsyncKeyState = [](int key) -> SHORT { return key == VK_MBUTTON && middleHeld ? -32768 : 0; };
        Platform.pressPrintScreen = [] { return true; }, Platform.monitorDpi = [](HMONITOR) { return fakeDpi; };
        Reopen(Settings);
    }
    void TearDown() override { Reopen(SettingsRecord(), false), Platform = saved, ResetMonitorLookup(), PutDib(-1); }
    // The settings window, its session and the settings file they wrote destroyed; then one from `record`.
    void Reopen(SettingsRecord record, bool open = true)
    {
        char cfg[kPathCapacity];
        DestroyWindow(paintWindow), Pump();  // the session's end reaches the settings window while it is there
        DestroyWindow(window), Pump(), SiblingPath(".cfg", cfg) && DeleteFileA(cfg);
        Settings = record, window = open ? CreateSettingsWindow(GetModuleHandleA(nullptr)) : nullptr;
        ASSERT_EQ(window != nullptr, open);
    }
    HWND Start(bool delayAllowed = false) { return SendMessageA(window, TWM_LAUNCH, 0, delayAllowed), paintWindow; }
    void End() { SendMessageA(paintWindow, WM_CLOSE, 0, 0), Pump(); }
    static void Pump() { for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg); }
    LRESULT Send(int id, UINT message, WPARAM w = 0, LPARAM l = 0) { return SendDlgItemMessageA(window, id, message, w, l); }
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

// At 150 % and 100 % each control inside the client area; each box's own bit, found by clicking it.
TEST_F(Session, OptionsFitTheirWindowAndEachBoxHasItsOwnBit)
{
    uint32_t all = 0;
    for (UINT dpi : {144u, 96u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        RECT client, r, inside;
        GetClientRect(window, &client), MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            EXPECT_TRUE(GetWindowRect(c, &r) && IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r)) << dpi;
            if (dpi == 144 || (GetWindowLongA(c, GWL_STYLE) & 15) != BS_AUTOCHECKBOX)
                continue;
            EnableWindow(c, TRUE);  // the hook box, off without its module
            const uint32_t before = Settings.flags, bit = (SendMessageA(c, BM_CLICK, 0, 0), Settings.flags ^ before);
            EXPECT_TRUE(bit && !(bit & (bit - 1)) && !(bit & all)) << GetDlgCtrlID(c) << ": one bit, its own";
            SendMessageA(c, BM_CLICK, 0, 0), all |= bit;
        }
    }
    EXPECT_EQ(all, (OPT_MOUSE_HOOK * 2 - 1) & ~OPT_HIGHLIGHTER) << "every option but the highlighter has its box";

    SettingsRecord record;  // options off disable their fields
    record.flags = 0x591, record.launchHotKey = 0x641, record.penSelectKey = 0x231;
    Reopen(record);
    const auto disabled = [this] {
        std::vector<int> ids;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            IsWindowEnabled(c) ? void() : ids.push_back(GetDlgCtrlID(c));
        return ids;
    };
    const std::vector<int> off = {kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit, kResetButton};
    EXPECT_EQ(disabled(), off);
    Send(kTaskTrayBox, BM_CLICK), Send(kTaskTrayBox, BM_CLICK);
    EXPECT_EQ(disabled(), off) << "regression: the tray off and on again enabled the field of a hot key that is off";
    for (int box : {kHotKeyBox, kDelayBox, kPenKeyBox, kRememberPaletteBox})
        Send(box, BM_CLICK);
    EXPECT_EQ(disabled(), std::vector<int>({kMouseHookBox})) << "each box enables its fields";
    SetDlgItemTextA(window, kDelayEdit, "");
    Send(kDelayEdit, WM_CHAR, '5', 1), Send(kDelayEdit, WM_CHAR, '\b', 1), Send(kDelayEdit, WM_CHAR, '8', 1);
    EXPECT_EQ(std::pair(GetDlgItemInt(window, kDelayEdit, nullptr, FALSE), Settings.launchDelay), std::pair(8u, 8u)) << "regression: 5, Backspace, 8 gave 81 and so 60: the bound selected is typed over";
    BYTE state[256] = {};  // regression: Alt+Print Screen was lost; only its release arrives, with Alt a WM_SYSKEYUP
    SetKeyboardState((state[VK_MENU] = 0x80, state)), Send(kLaunchKeyEdit, WM_SYSKEYUP, VK_SNAPSHOT, 0xC0000001);
    SetKeyboardState((state[VK_MENU] = 0, state));
    EXPECT_TRUE(Settings.launchHotKey == 0x42C && Send(kLaunchKeyEdit, HKM_GETHOTKEY) == 0x42C);
}

// A tray click starts a session after the delay, a right press with the middle button held at once.
TEST_F(Session, OneTopmostSessionWaitsOnlyWhenToldAndFreesTheHotKeyMeanwhile)
{
    const struct { bool hook, delayed; const char* why; } cases[] = {
        {false, true, "a tray click or second start with Delayed Launching"},
        {true, false, "the mouse hook never waits"},
    };
    for (const auto& c : cases) {
        ShowWindow(window, SW_HIDE), Settings.flags = 0x7F, middleHeld = true;
        const LRESULT swallowed = c.hook ? SendMessageA(window, TWM_HOOK_EVENT, WM_RBUTTONDOWN, 0) : (Start(true), 1);
        Sleep(50), Pump();  // the delay is a timer of a second, which leaves the thread free
        HWND session = paintWindow;
        EXPECT_TRUE(swallowed == 1 && (IsWindowVisible(session) == FALSE) == c.delayed) << c.why << ": hidden until the delay";
        EXPECT_EQ(Start(true), session) << c.why << ": a launch during a session or its delay is ignored";
        SendMessageA(window, WM_TIMER, LAUNCH_TIMER_ID, 0);  // the delay ends
        EXPECT_TRUE(IsWindowVisible(session) && (GetWindowLongA(session, GWL_EXSTYLE) & WS_EX_TOPMOST)) << c.why;
        EXPECT_FALSE(HotKeyTaken()) << c.why << ": during the session";
        End();
        EXPECT_TRUE(HotKeyTaken()) << c.why << ": after the session";
    }
}

// Regression: the delay slept on the one thread, and every program that sends to all top-level
// windows (setting changes, shutdown queries) hung with it. The picture is still the delay's end's.
TEST_F(Session, TheLaunchDelayKeepsAnsweringTakesThePictureWhenItEndsAndExitCancelsIt)
{
    Platform.sleep = saved.sleep, Settings.flags |= OPT_VIA_CLIPBOARD, Settings.launchDelay = 5;
    auto other = std::async(std::launch::async, [this] {  // another program, while the session waits
        DWORD_PTR result;
        return Sleep(500), SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) && !IsWindowVisible(paintWindow);
    });
    HWND session = Start(true);
    PutDib(0);  // the desktop as the delay ends
    while (!IsWindowVisible(session) && MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0)
        Pump();
    EXPECT_TRUE(other.get()) << "no answer within 100 ms during the delay";
    EXPECT_EQ(GetPixel(captureSurface, 0, 0), kPicture[0]) << "not the picture of the delay's end";
    End(), Start(true), SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(RunMessageLoop(), 0) << "Exit during the delay";
    char cfg[kPathCapacity];
    EXPECT_TRUE(SiblingPath(".cfg", cfg) && GetFileAttributesA(cfg) != INVALID_FILE_ATTRIBUTES) << "unsaved settings";
    paintWindow = window = nullptr;  // gone with the settings window, as with the process
}

LRESULT CALLBACK RefuseCreation(HWND w, UINT m, WPARAM wp, LPARAM lp) { return m == WM_CREATE ? -1 : DefWindowProcA(w, m, wp, lp); }

// Closing the settings window hides it or asks first; a paint window that cannot be built is reported.
TEST_F(Session, AClosedSettingsWindowOrAFailedStartAsksTheUser)
{
    const struct { bool tray, keyTaken, start; int answer; UINT text; bool visible, exists; const char* why; } cases[] = {
        {true, false, false, IDOK, 0, false, true, "back to stand-by"},
        {true, true, false, IDCANCEL, IDS_HOTKEY_FAILED, true, true, "the hot key is taken: Cancel stays, to choose another"},
        {false, false, false, IDCANCEL, IDS_NON_TRAY_NOTICE, true, true, "without the tray: Cancel keeps the program"},
        {true, false, true, IDOK, IDS_CREATE_FAILED, false, true, "in stand-by the hot key works again"},
        {false, false, true, IDOK, IDS_CREATE_FAILED, false, false, "without the tray the program ends"},
    };
    HINSTANCE self = GetModuleHandleA(nullptr);
    UnregisterClassA(kPaintClassName, self);  // the real one comes back with the next paint window
    WNDCLASSA refusing = {0, RefuseCreation, 0, 0, self, nullptr, nullptr, nullptr, nullptr, kPaintClassName};
    ASSERT_TRUE(RegisterClassA(&refusing));
    for (const auto& c : cases) {
        Settings.flags = c.tray ? 0x7F : 0x7E, trayMode = c.tray;
        if (c.keyTaken)  // by another program
            UnregisterLaunchHotKey(window), RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11);
        ShowWindow(window, c.start ? SW_HIDE : SW_SHOWNA);
        auto user = AnswerMessageBox(c.answer, c.text ? 1000 : 300);
        c.start ? void(Start(true)) : void(SendMessageA(window, WM_CLOSE, 0, 0));
        EXPECT_EQ(user.get(), c.text ? Text(c.text) : "(no message box)") << c.why;
        EXPECT_TRUE((IsWindowVisible(window) != FALSE) == c.visible && (IsWindow(window) != FALSE) == c.exists) << c.why;
        EXPECT_TRUE(!c.start || !c.tray || HotKeyTaken()) << c.why;
        UnregisterHotKey(nullptr, 77);
    }
    UnregisterClassA(kPaintClassName, self);
}

// A session's frames, clipboard bitmap, panel, eraser and failed save; at its end every surface goes.
TEST_F(Session, ASessionFromFirstFrameToLastSurface)
{
    Start();
    std::vector<HGDIOBJ> objects;
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        objects.insert(objects.end(), {dc, GetCurrentObject(dc, OBJ_BITMAP)});
    EXPECT_EQ(GetCurrentObject(drawingSurface, OBJ_BRUSH), GetStockObject(NULL_BRUSH)) << "shapes are outlines";
    const auto shown = [](int x, int y, COLORREF c) { return GetPixel(viewSurface, x, y) == c && GetPixel(windowDC, x, y) == c; };
    const RECT r = {10, 10, 20, 20};
    Fill(kOld, {drawingSurface}), PaintWindowProc(paintWindow, PWM_REFRESH, 0, 0);
    Fill(kNew, {drawingSurface}), RedrawWindow(paintWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // not shown
    EXPECT_TRUE(shown(40, 40, kOld)) << "uncovering repaints the last frame without composing";
    PaintWindowProc(paintWindow, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_TRUE(shown(10, 10, kNew) && shown(19, 19, kNew) && shown(20, 15, kOld) && shown(15, 9, kOld)) << "a rectangle";
    Fill(kCapture, {captureSurface}), PaintWindowProc(paintWindow, PWM_CLEAR, 0, 0);
    EXPECT_TRUE(shown(5, 5, kCapture) && shown(GetSystemMetrics(SM_CXSCREEN) - 1, 5, kCapture)) << "clearing shows all";
    EXPECT_EQ(GetPixel(committedSurface, 5, 5), kCapture) << "and takes back the marks";

    // Regression: a session that started magnified showed its first frame unmagnified, centred where
    // the last one left the pointer. Now clamped into the desktop, as the bitmap is upright at 0, 0.
    PutDib(1), Fill(kOld, {captureSurface, committedSurface, drawingSurface, viewSurface});
    SIZE size = {};
    EXPECT_FALSE(CaptureFromClipboard(paintWindow, size) || GetPixel(captureSurface, 0, 0) != kOld) << "one byte short";
    Platform.getCursorPos = [](POINT* p) { return *p = POINT{-50, -100000}, TRUE; };
    PutDib(0), Settings.flags |= OPT_VIA_CLIPBOARD, zoomLevel = 1;
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0), zoomLevel = 0;
    for (HDC dc : {captureSurface, committedSurface, drawingSurface})
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(GetPixel(dc, i % 3, i / 3), i % 3 < 2 && i < 6 ? kPicture[i / 3 * 2 + i % 3] : kOld) << i << " " << dc;
    EXPECT_TRUE(lastPointer.x == 0 && lastPointer.y == 0);
    EXPECT_TRUE(GetPixel(viewSurface, 2, 0) == kPicture[1] && GetPixel(viewSurface, 3, 3) == kPicture[3]) << "twice";
    PutDib(-1), PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_EQ(waits, std::vector<DWORD>({1000, 1000})) << "no bitmap: two tries a second apart, then the screen";

    PalettePanel& p = palettePanel();
    const RECT panel = (p.showAt(paintWindow, {400, 300}), p.bounds);  // regression: a lost release went on dragging the title or the size box
    for (const POINT q : {POINT{100, 5}, POINT{20, 35}}) {
        PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(panel.left + q.x, panel.top + q.y));
        PaintWindowProc(paintWindow, WM_MOUSEMOVE, 0, MAKELPARAM(600, 100));
    }
    EXPECT_TRUE(p.bounds.left == panel.left && p.penSize == 5) << "moved with no button held";
    Fill(kCapture, {captureSurface}), Fill(kNew, {committedSurface, drawingSurface});
    p.selectColor(8), ApplyTool();  // the eraser as the paint window wires it: a 20 x 20 square
    PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PaintWindowProc(paintWindow, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    const auto erased = [](int x, int y) { return GetPixel(committedSurface, x, y) == kCapture; };
    EXPECT_TRUE(erased(90, 90) && erased(109, 109) && !erased(89, 100) && !erased(110, 100) && !erased(100, 89) && !erased(100, 110));

    for (const char* name : {"Z:\\proc\\scrivane.bmp", "Z:\\proc\\scrivane.png"}) {  // regression: a failed save said nothing
        char path[260] = {};
        std::strcpy(path, name);
        auto user = (Fill(kNew, {drawingSurface}), AnswerMessageBox(IDOK));
        SaveDrawingAs(paintWindow, drawingSurface, path);
        EXPECT_EQ(user.get().find(Text(IDS_SAVE_FAILED) + "\n\n" + path + "\n\n"), 0u) << "then the reason";
        EXPECT_TRUE(IsWindowVisible(paintWindow) && GetPixel(drawingSurface, 5, 5) == kNew) << "the session and its marks";
    }
    End();
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u) << "a surface or its bitmap is left over";
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
    EXPECT_FALSE(CreateSurfacesOfSize(window, 200000, 200000)) << "a desktop too large for the process";
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC) << "half-built";
}

// The tool a session starts with, and as its end writes it back, highlighter as the panel last had it.
TEST_F(Session, TakesTheRememberedToolAndWritesItBack)
{
    const uint32_t all = 0x7F, hl = OPT_HIGHLIGHTER;
    const struct { uint32_t flags; int32_t pen; uint32_t size; int cell, width; bool highlighter; int switched; const char* why; } cases[] = {
        {all & ~OPT_REMEMBER_PALETTE, 0, 5, 0, 5, false, -1, "the defaults, the palette too unless remembered"},
        {all | hl, 3, 12, 3, 12, true, -1, "all remembered"},
        {all & ~OPT_REMEMBER_PEN_SIZE, 2, 12, 2, 5, false, -1, "width forgotten: 5"},
        {all | hl, 3, 12, 3, 12, true, 0, "the highlighter switched off in the panel"},
        {all, 3, 12, 3, 12, false, 1, "and on"},
    };
    for (uint32_t& colour : Settings.palette) colour = 0x010203 * static_cast<uint32_t>(&colour - Settings.palette + 1);
    for (const auto& c : cases) {
        Settings.flags = c.flags, Settings.lastPen = c.pen, Settings.penSize = c.size, Start();
        PalettePanel& p = palettePanel();
        for (int i = 0; i < kCellCount; ++i)
            EXPECT_EQ(p.cells[i].color, c.flags & OPT_REMEMBER_PALETTE ? Settings.palette[i] : defaultPalette[i]) << c.why;
        EXPECT_TRUE(penRenderer().width == c.width && penRenderer().color == p.cells[c.cell].color) << c.why << ": the pen";
        p.highlighter = c.switched < 0 ? p.highlighter : c.switched == 1;
        End();
        EXPECT_EQ(std::tuple(Settings.lastPen, Settings.penSize, (Settings.flags & hl) != 0),
                  std::tuple(c.cell, uint32_t(c.width), c.switched < 0 ? c.highlighter : c.switched == 1)) << c.why;
        EXPECT_EQ(penRenderer().width, 0) << c.why << ": the pen is released with the session";
    }
}

// Keys and buttons in a live session, then the tool and whether a close was posted.
TEST_F(Session, PenRowEscapeAndStrokes)
{
    const struct { uint32_t row; std::vector<std::pair<UINT, UINT>> messages; int cell; bool closed; const char* why; } cases[] = {
        {0x70, {{WM_KEYUP, VK_F3}}, 0, false, "a release whose press this window never saw"},
        {0x70, {{WM_KEYUP, VK_ESCAPE}}, 0, false, "the Escape that closed a dialog does not end it"},
        {0x70, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}}, 0, true, "Escape ends it, also during a stroke"},
        {0x70, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_KEYDOWN, VK_F9}, {WM_KEYUP, VK_F9}}, 0, false, "the eraser key in mid-stroke is ignored"},
        {0x71, {{WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYUP, VK_F10}}, -1, false, "regression: F10 (with the row from F2), a system key, did nothing"},
    };
    for (const auto& c : cases) {
        Settings.penSelectKey = c.row, Settings.lastPen = 0;
        Start();
        for (const auto& [message, wParam] : c.messages)
            PaintWindowProc(paintWindow, message, wParam, MAKELPARAM(50, 50));
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, paintWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE, c.closed) << c.why;
        EXPECT_EQ(palettePanel().colorActive ? palettePanel().colorIndex : -1, c.cell) << c.why;
        EXPECT_EQ(currentCursor, c.cell < 0 ? eraserCursor : penCursor) << c.why;
        End();
    }
}

}  // namespace
