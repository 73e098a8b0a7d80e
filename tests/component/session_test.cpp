// The settings window and the paint sessions it starts, as the program creates them: the tray icon,
// launching and ending sessions, closing the settings window, the answers to the mouse-hook module,
// and inside a session its surfaces, frames, clipboard picture and remembered tool.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "canvas/tool_state.h"
#include "render/pen_renderer.h"
#include "session/capture.h"
#include "session/paint_window.h"
#include "session/session_objects.h"
#include "shell/default_palette.h"
#include "shell/exe_path.h"
#include "shell/messages.h"
#include "shell/platform.h"
#include "shell/session_launch.h"
#include "shell/settings_window.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"

namespace {

constexpr COLORREF kOld = RGB(10, 20, 30), kNew = RGB(200, 100, 50), kCapture = RGB(0, 128, 255);
std::vector<DWORD> waits;
bool middleHeld;

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

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings = SettingsRecord();
        Settings.launchHotKey = VK_F11 | (0x06 << 8);
        Settings.launchDelay = 2;
        waits.clear();
        Platform.sleep = [](DWORD ms) { waits.push_back(ms); };
        Platform.getAsyncKeyState = [](int key) -> SHORT { return key == VK_MBUTTON && middleHeld ? -32768 : 0; };
        Platform.pressPrintScreen = [] { return true; };  // the tests put the clipboard's picture there themselves
        window = CreateSettingsWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        char cfg[kPathCapacity];
        DestroyWindow(paintWindow);
        DestroyWindow(window);
        Pump();
        paintWindow = nullptr;
        Platform = saved;
        if (SiblingPath(".cfg", cfg))
            DeleteFileA(cfg);  // written beside the test program when the settings window goes
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
    const PlatformFunctions saved = Platform;
    HWND window = nullptr;
};

TEST_F(Session, TheIconHasItsTipAndCallbackAndComesBackWhenTheShellRestarts)
{
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), "300x190") << "the settings window";
    EXPECT_STREQ(notifyIcon.szTip, "Scrivane");
    EXPECT_EQ(notifyIcon.uCallbackMessage, TWM_TRAY_NOTIFY);
    NOTIFYICONDATAA probe = notifyIcon;  // only an icon the shell knows can be modified
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &notifyIcon));  // the shell restarted: the icon is gone
    for (int restart = 0; restart < 2; ++restart) {  // the second time the icon survived: it is kept
        SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_TRUE(trayIconAdded && Shell_NotifyIconA(NIM_MODIFY, &probe)) << "restart " << restart;
    }
}

TEST_F(Session, OneTopmostSessionWaitsOnlyWhenToldAndFreesTheHotKeyMeanwhile)
{
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT screen = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const struct { bool allowed; uint32_t flags; bool optionsOpen; std::vector<DWORD> waits; const char* why; } cases[] = {
        {true, 0x7F, false, {2000}, "a tray click or second start with Delayed Launching: the stored 2 s"},
        {false, 0x7F, false, {}, "the hot key and the mouse hook never wait"},
        {true, 0x7B, false, {}, "Delayed Launching off"},
        {false, 0x7F, true, {}, "while the options are open the hot key stays free, for choosing another"},
    };
    for (const auto& c : cases) {
        Settings.flags = c.flags;
        ShowWindow(window, c.optionsOpen ? SW_SHOWNA : SW_HIDE);
        waits.clear();
        HWND session = Start(c.allowed);
        RECT r;
        EXPECT_TRUE(IsWindowVisible(session) && GetWindowRect(session, &r) && EqualRect(&r, &screen)) << c.why;
        EXPECT_EQ(GetWindowLongA(session, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
        EXPECT_EQ(GetWindowLongA(session, GWL_STYLE) & (WS_POPUP | WS_CAPTION), LONG(WS_POPUP)) << "borderless";
        EXPECT_EQ(waits, c.waits) << c.why;
        EXPECT_FALSE(HotKeyTaken()) << c.why << ": during the session";
        EXPECT_EQ(Start(true), session) << c.why << ": a launch during a session is ignored";
        EXPECT_EQ(FindWindowExA(nullptr, session, kPaintClassName, nullptr), nullptr) << "a second paint window";
        EXPECT_EQ(waits, c.waits) << c.why << ": not even the delay is waited";
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
        EXPECT_TRUE(waits.empty()) << "no delay for a session that cannot start";
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

// The picture as an 8-bit bottom-up DIB, its 256-entry table grey but for entry 10 + k, colour k.
std::vector<BYTE> Dib()
{
    const BITMAPINFOHEADER h = {sizeof(h), 3, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> out(reinterpret_cast<const BYTE*>(&h), reinterpret_cast<const BYTE*>(&h + 1));
    for (int entry = 0; entry < 256; ++entry) {
        const COLORREF c = entry >= 10 && entry < 16 ? kPicture[entry - 10] : RGB(128, 128, 128);
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    out.insert(out.end(), {13, 14, 15, 0, 10, 11, 12, 0});  // rows of 4 bytes, the bottom one first
    return out;
}

void Put(HWND owner, const std::vector<BYTE>& bytes)
{
    OpenClipboard(owner);
    EmptyClipboard();
    if (HGLOBAL block = bytes.empty() ? nullptr : GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
        std::copy(bytes.begin(), bytes.end(), static_cast<BYTE*>(GlobalLock(block)));
        GlobalUnlock(block);
        SetClipboardData(CF_DIB, block);
    }
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
    std::vector<BYTE> truncated = Dib();
    truncated.pop_back();
    Put(window, truncated);
    Fill(captureSurface, kOld);
    SIZE size = {};
    EXPECT_FALSE(CaptureFromClipboard(paintWindow, size)) << "a pixel area one byte short of the block";
    EXPECT_EQ(GetPixel(captureSurface, 0, 0), kOld) << "the refused block was drawn";

    Settings.flags |= OPT_VIA_CLIPBOARD;
    Put(window, Dib());
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        Fill(dc, kOld);
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    EXPECT_TRUE(waits.empty()) << "a first try that succeeds does not wait";
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface})
        EXPECT_EQ(WrongPixels(dc), "") << "surface " << dc;
    Put(window, {});
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
    s += remembered == 8 ? " remembered-palette" : defaults == 8 ? "" : " (palette?)";
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
        Settings.flags = c.flags;
        Settings.lastPen = c.pen;
        Settings.penSize = c.size;
        Start();
        EXPECT_EQ(Tool(), c.tool) << c.why;
        End();
        EXPECT_EQ(std::to_string(Settings.lastPen) + " " + std::to_string(Settings.penSize) +
                      (Settings.flags & OPT_HIGHLIGHTER ? " highlighter" : ""), c.saved) << c.why;
        EXPECT_EQ(penRenderer().width, 0) << c.why << ": the pen is released with the session";
    }
    Start();  // and what the panel holds at the end is what is written back
    palettePanel().selectColor(4);
    palettePanel().setPenSize(9);
    palettePanel().highlighter = true;
    End();
    EXPECT_EQ(std::to_string(Settings.lastPen) + " " + std::to_string(Settings.penSize), "4 9");
    EXPECT_TRUE(Settings.flags & OPT_HIGHLIGHTER);
}

}  // namespace
