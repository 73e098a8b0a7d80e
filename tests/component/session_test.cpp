// The settings window and the paint sessions it starts, as the program wires them up: tray icon,
// options, launch, end, close and hook answers; in a session its frames, tool, eraser, panel and keys.
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

std::string Text(UINT id)
{
    char text[128] = {};
    return std::string(text, LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof(text)));
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
    const struct { BITMAPINFOHEADER h; COLORREF bottomUp[4]; } dib = {
        {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {kPicture[2], kPicture[3], kPicture[0], kPicture[1]}};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(dib) - std::max(cut, 0));
    std::memcpy(GlobalLock(block), &dib, sizeof(dib) - std::max(cut, 0));
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
        waits.clear(), middleHeld = false, fakeDpi = 96;
        Platform.sleep = [](DWORD ms) { waits.push_back(ms); };
        Platform.getAsyncKeyState = [](int key) -> SHORT { return key == VK_MBUTTON && middleHeld ? -32768 : 0; };
        Platform.pressPrintScreen = [] { return true; };  // the tests put the clipboard's picture there themselves
        Platform.monitorDpi = [](HMONITOR) { return fakeDpi; };
        Reopen(Settings);
    }
    void TearDown() override
    {
        Reopen(SettingsRecord(), false);
        Platform = saved;
        ResetMonitorLookup(), PutDib(-1);
    }
    // The settings window and its session destroyed, with the settings file that wrote beside the
    // test program; then, when `open`, a new settings window that starts from `record`.
    void Reopen(SettingsRecord record, bool open = true)
    {
        char cfg[kPathCapacity];
        DestroyWindow(paintWindow), Pump();  // the session's end reaches the settings window while it is there
        DestroyWindow(window), Pump();
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

// The controls as the window has them, each box's bit found by clicking it: no copy of the options'
// table. At 150 % and back at 100 % each control lies inside the client area; each box shows and
// stores a bit of its own and enables the fields that depend on it.
TEST_F(Session, OptionsFitTheirWindowAndEachBoxHasItsOwnBit)
{
    std::vector<std::pair<int, uint32_t>> boxes;
    uint32_t all = 0;
    for (UINT dpi : {144u, 96u}) {
        fakeDpi = dpi;
        SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
        RECT client, r, inside;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(c);
            EXPECT_TRUE(GetWindowRect(c, &r) && IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r)) << id << " " << dpi;
            if (dpi == 144 || (GetWindowLongA(c, GWL_STYLE) & 15) != BS_AUTOCHECKBOX)
                continue;
            EnableWindow(c, TRUE);  // the hook box, off without its module
            const uint32_t before = Settings.flags, bit = (SendMessageA(c, BM_CLICK, 0, 0), Settings.flags ^ before);
            EXPECT_TRUE(bit && !(bit & (bit - 1)) && !(bit & all)) << id << ": one bit, its own";
            EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED, (Settings.flags & bit) != 0) << id;
            SendMessageA(c, BM_CLICK, 0, 0);
            boxes.push_back({id, bit}), all |= bit;
        }
    }
    EXPECT_EQ(all, (OPT_MOUSE_HOOK * 2 - 1) & ~OPT_HIGHLIGHTER) << "every option but the highlighter has its box";
    EXPECT_TRUE(IsWindowVisible(window) && !hotKeyRegistered) << "the hot key free meanwhile, for the hot-key field";

    SettingsRecord record;  // options off disable their fields; a stored delay over 60 is shown and kept as 60
    record.flags = 0x591, record.launchDelay = 75, record.launchHotKey = 0x641, record.penSelectKey = 0x231;
    Reopen(record);
    for (const auto& [box, bit] : boxes)
        EXPECT_EQ(Send(box, BM_GETCHECK) == BST_CHECKED, (record.flags & bit) != 0) << box;
    const std::vector<int> off = {kMouseHookBox, kLaunchKeyEdit, kDelayEdit, kDelayUpDown, kPenKeyEdit, kResetButton};
    EXPECT_EQ(Disabled(), off);
    EXPECT_EQ(DelayShownAndKept(), "60 60");
    Send(kTaskTrayBox, BM_CLICK), Send(kTaskTrayBox, BM_CLICK);
    EXPECT_EQ(Disabled(), off) << "the tray off and on again: not the field of a hot key that is off";
    for (int box : {kHotKeyBox, kDelayBox, kPenKeyBox, kRememberPaletteBox})
        Send(box, BM_CLICK);
    EXPECT_EQ(Disabled(), std::vector<int>({kMouseHookBox})) << "each box enables its fields";
}

TEST_F(Session, OptionFieldsStoreWhatTheyShow)
{
    const struct { const char *entered, *typed, *shownAndKept, *why; } delays[] = {
        {"4294967297", "", "60 60", "regression: wrapped round to 1 while the box showed the long number"},
        {"", "5\b8", "8 8", "regression: 5, Backspace, 8 gave 81 and so 60: the bound is selected to be typed over"},
    };
    for (const auto& c : delays) {
        SetDlgItemTextA(window, kDelayEdit, c.entered);
        for (const char* typed = c.typed; *typed; ++typed)
            Send(kDelayEdit, WM_CHAR, *typed, 1);
        EXPECT_EQ(DelayShownAndKept(), c.shownAndKept) << c.why;
    }
    // Regression: Alt+Print Screen was lost. Only the release of Print Screen arrives, with Alt a WM_SYSKEYUP.
    BYTE state[256] = {};
    SetKeyboardState((state[VK_MENU] = 0x80, state));
    Send(kLaunchKeyEdit, WM_SYSKEYUP, VK_SNAPSHOT, 0xC0000001);
    SetKeyboardState((state[VK_MENU] = 0, state));
    EXPECT_TRUE(Settings.launchHotKey == 0x42C && Send(kLaunchKeyEdit, HKM_GETHOTKEY) == 0x42C);
}

TEST_F(Session, OneTopmostSessionWaitsOnlyWhenToldAndFreesTheHotKeyMeanwhile)
{
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
        Sleep(50), Pump();  // the delay is a timer of a second, which leaves the thread free
        EXPECT_EQ(IsWindowVisible(session) == FALSE, c.delayed) << c.why << ": hidden until the delay ends";
        EXPECT_EQ(Start(true), session) << c.why << ": a launch during a session or its delay is ignored";
        SendMessageA(window, WM_TIMER, LAUNCH_TIMER_ID, 0);  // the delay ends
        EXPECT_TRUE(IsWindowVisible(session) && (GetWindowLongA(session, GWL_EXSTYLE) & WS_EX_TOPMOST)) << c.why;
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
    char cfg[kPathCapacity];
    EXPECT_TRUE(SiblingPath(".cfg", cfg) && GetFileAttributesA(cfg) != INVALID_FILE_ATTRIBUTES) << "and saves its settings";
    UnregisterClassA(kPaintClassName, self);
}

TEST_F(Session, ClosingTheSettingsWindowHidesItOrAsksFirst)
{
    const struct { bool tray, keyTaken; int answer; UINT text; bool visible, exists; const char* why; } cases[] = {
        {true, false, IDOK, 0, false, true, "back to stand-by"},
        {true, true, IDCANCEL, IDS_HOTKEY_FAILED, true, true, "the hot key is taken: Cancel stays, to choose another"},
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

TEST_F(Session, FramesReachTheWindowAtOnceAndTheSurfacesAreReleased)
{
    Start();
    std::vector<HGDIOBJ> objects;
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        objects.insert(objects.end(), {dc, GetCurrentObject(dc, OBJ_BITMAP)});
    EXPECT_EQ(GetCurrentObject(drawingSurface, OBJ_BRUSH), GetStockObject(NULL_BRUSH)) << "shapes are outlines";
    const auto shown = [](int x, int y, COLORREF c) { return GetPixel(viewSurface, x, y) == c && GetPixel(windowDC, x, y) == c; };
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
    EXPECT_TRUE(shown(5, 5, kCapture) && shown(GetSystemMetrics(SM_CXSCREEN) - 1, 5, kCapture)) << "clearing shows all";
    EXPECT_EQ(GetPixel(committedSurface, 5, 5), kCapture) << "and takes back the marks";
    End();
    for (HGDIOBJ object : objects)
        EXPECT_EQ(GetObjectType(object), 0u) << "a surface or its bitmap is left over";
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
    // A desktop too large for the process must not leave a half-built session behind.
    EXPECT_FALSE(CreateSurfacesOfSize(window, 200000, 200000));
    EXPECT_TRUE(!captureSurface && !committedSurface && !drawingSurface && !viewSurface && !windowDC);
}

// The clipboard's bitmap upright at the top-left of every surface, the view magnified about the
// pointer clamped into the desktop (regression: a session that started magnified showed its first
// frame unmagnified, centred on wherever the last session left the pointer).
TEST_F(Session, TakesAClipboardBitmapIntoEverySurfaceAndMagnifiesItAboutThePointer)
{
    Start();
    PutDib(1);
    Fill(kOld, {captureSurface, committedSurface, drawingSurface, viewSurface});
    SIZE size = {};
    EXPECT_FALSE(CaptureFromClipboard(paintWindow, size) || GetPixel(captureSurface, 0, 0) != kOld) << "one byte short";
    Platform.getCursorPos = [](POINT* p) { return *p = POINT{-50, -100000}, TRUE; };
    Settings.flags |= OPT_VIA_CLIPBOARD;
    PutDib(0);
    zoomLevel = 1;
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    zoomLevel = 0;
    for (HDC dc : {captureSurface, committedSurface, drawingSurface})
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(GetPixel(dc, i % 3, i / 3), i % 3 < 2 && i < 6 ? kPicture[i / 3 * 2 + i % 3] : kOld) << i << " " << dc;
    EXPECT_TRUE(lastPointer.x == 0 && lastPointer.y == 0);
    EXPECT_TRUE(GetPixel(viewSurface, 2, 0) == kPicture[1] && GetPixel(viewSurface, 3, 3) == kPicture[3]) << "twice";
    PutDib(-1);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_EQ(waits, std::vector<DWORD>({1000, 1000})) << "no bitmap: two tries a second apart, then the screen";
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
        {all, 8, 3, -1, 5, false, "8 and up is the eraser; the panel keeps its width"},
    };
    for (uint32_t& colour : Settings.palette)
        colour = 0x010203 * static_cast<uint32_t>(&colour - Settings.palette + 1);
    for (const auto& c : cases) {
        Settings.flags = c.flags, Settings.lastPen = c.pen, Settings.penSize = c.size;
        Start();
        const PalettePanel& p = palettePanel();
        const PenRenderer& r = penRenderer();
        for (int i = 0; i < kCellCount; ++i)
            EXPECT_EQ(p.cells[i].color, c.flags & OPT_REMEMBER_PALETTE ? Settings.palette[i] : defaultPalette[i]) << c.why;
        EXPECT_TRUE(p.colorActive != eraserMode && p.highlighter == r.highlighter) << c.why << ": the panel, the renderer";
        EXPECT_TRUE(eraserMode || (r.width == c.width && r.color == p.cells[c.cell].color)) << c.why << ": the pen";
        EXPECT_EQ(currentCursor, eraserMode ? eraserCursor : c.highlighter ? highlighterCursor : penCursor) << c.why;
        End();
        EXPECT_EQ(std::tuple(Settings.lastPen, Settings.penSize, (Settings.flags & hl) != 0),
                  std::tuple(c.cell, uint32_t(c.width), c.highlighter)) << c.why << ": written back";
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
    const std::tuple<int, int, bool> edges[] = {{90, 90, true},   {109, 109, true}, {89, 100, false},
                                                {110, 100, false}, {100, 89, false}, {100, 110, false}};
    for (const auto& [x, y, erased] : edges)
        EXPECT_EQ(GetPixel(committedSurface, x, y) == kCapture, erased) << x << "," << y;
}

// The panel as the session shows it: the selected cell alone ringed, the preview growing with the
// width; and its buttons reaching the session.
TEST_F(Session, ThePanelShowsTheToolAndItsButtonsReachTheSession)
{
    Start();
    PalettePanel& p = palettePanel();
    p.showAt(paintWindow, {400, 300});
    const auto ring = [&p](const RECT& r) { return GetPixel(p.panelDC, (r.left + r.right) / 2, r.top - 2); };
    const auto preview = [&p, b = p.sizeBox] {  // pixels of the size box's middle row that are not its ground
        int n = 0;
        for (int x = b.left; x < b.right; ++x)
            n += GetPixel(p.panelDC, x, (b.top + b.bottom) / 2) != GetPixel(p.panelDC, b.left, b.top);
        return n;
    };
    p.selectColor(3);
    const COLORREF ringed = ring(p.cells[3].rect);
    int widest = 0;
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(ring(p.cells[k].rect) == ringed, k == 3) << "cell " << k;
    for (int width : {1, 5, 20}) {
        p.setPenSize(width);
        EXPECT_LT(widest, preview()) << "width " << width;
        widest = preview();
    }
    const auto click = [&p](const RECT& r, UINT down) {  // a press and its release in the middle of `r`
        const LPARAM at = MAKELPARAM(p.bounds.left + (r.left + r.right) / 2, p.bounds.top + (r.top + r.bottom) / 2);
        PaintWindowProc(paintWindow, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
        PaintWindowProc(paintWindow, down + 1, 0, at);
    };
    click(p.sizeBox, WM_RBUTTONDOWN);
    EXPECT_TRUE(penRenderer().highlighter) << "the highlighter";
    click(p.eraserButton, WM_LBUTTONDOWN);
    EXPECT_TRUE(eraserMode && preview() == 0 && ring(p.eraserButton) == ringed && ring(p.cells[3].rect) != ringed);
    HWND session = paintWindow;
    click(p.closeButton, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindow(session)) << "the close button";
}

// Keys and buttons in a live session, then the tool and whether a close was posted.
TEST_F(Session, PenRowEscapeAndStrokes)
{
    enum Kind { Down, Up, SysDown, SysUp, LeftDown, OverPanel };
    const struct { uint32_t row; std::vector<std::pair<Kind, UINT>> events; int cell; bool closed; const char* why; } cases[] = {
        {0x70, {{Up, VK_F3}}, 0, false, "a release whose press this window never saw"},
        {0x70, {{Up, VK_ESCAPE}}, 0, false, "the Escape that closed a dialog does not end it"},
        {0x70, {{LeftDown, 0}, {Down, VK_ESCAPE}, {Up, VK_ESCAPE}}, 0, true, "Escape ends it, also during a stroke"},
        {0x70, {{LeftDown, 0}, {Down, VK_F4}, {Up, VK_F4}}, 3, false, "a colour key in mid-stroke switches the colour"},
        {0x70, {{LeftDown, 0}, {Down, VK_F9}, {Up, VK_F9}}, 0, false, "the eraser key in mid-stroke is ignored"},
        {0x71, {{SysDown, VK_F10}, {SysUp, VK_F10}}, -1, false, "regression: F10 (with the row from F2), a system key, did nothing"},
        {0x70, {{OverPanel, 0}, {Down, VK_F9}, {Up, VK_F9}}, -1, false, "over the panel the key's tool takes the cursor"},
    };
    const UINT messages[] = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP};
    for (const auto& c : cases) {
        Settings.penSelectKey = c.row, Settings.lastPen = 0;
        Start();
        for (const auto& [kind, key] : c.events)
            if (kind == OverPanel)
                palettePanel().showAt(paintWindow, {400, 300}), SetCurrentCursor(arrowCursor);
            else if (kind == LeftDown)
                PaintWindowProc(paintWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
            else
                PaintWindowProc(paintWindow, messages[kind], key, 0);
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, paintWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE, c.closed) << c.why;
        EXPECT_EQ(palettePanel().colorActive ? palettePanel().colorIndex : -1, c.cell) << c.why;
        EXPECT_EQ(currentCursor, c.cell < 0 ? eraserCursor : penCursor) << c.why;
        End();
    }
}

// Regression: with the pointer never captured, a release over another topmost window was lost and
// every later movement went on dragging the panel's title or size box with no button held.
TEST_F(Session, AReleaseThatNeverArrivedEndsAPanelDrag)
{
    Start();
    palettePanel().showAt(paintWindow, {400, 300});
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

}  // namespace
