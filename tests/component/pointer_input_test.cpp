// The paint window driven by its own mouse messages, with the real renderers: what reaches the
// picture, a release the window never saw, and a session that starts magnified.
#include <gtest/gtest.h>

#include "canvas/surfaces.h"
#include "session/paint_state.h"
#include "session/paint_window.h"
#include "shell/messages.h"
#include "shell/settings.h"
#include "support/paint_fixture.h"
#include "support/platform_override.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);  // cell 0 of the default palette

class PointerInput : public PaintWindowTest {
protected:
    void SetUp() override
    {
        PaintWindowTest::SetUp();
        zoomLevel = 0;
        ASSERT_NE(OpenPaintWindow(), nullptr);
        for (HDC dc : {captureSurface, committedSurface, drawingSurface})
            FillSurface(dc, kPaper);
    }
    void Send(UINT message, WPARAM flags, int x, int y)
    {
        PaintWindowProc(paint, message, flags, MAKELPARAM(x, y));
    }
};

TEST_F(PointerInput, StrokeIsDrawnCommittedAndCancelled)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 160, 100);
    EXPECT_EQ(GetPixel(drawingSurface, 130, 100), kInk) << "the stroke is drawn as the pointer moves";
    EXPECT_EQ(GetPixel(viewSurface, 130, 100), kInk) << "and presented";
    EXPECT_EQ(GetPixel(committedSurface, 130, 100), kPaper) << "not committed before the release";
    Send(WM_LBUTTONUP, 0, 160, 100);
    EXPECT_EQ(GetPixel(committedSurface, 130, 100), kInk) << "committed at the release";

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 300);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 160, 300);
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 160, 300);
    Send(WM_LBUTTONUP, MK_RBUTTON, 160, 300);
    Send(WM_RBUTTONUP, 0, 160, 300);
    EXPECT_EQ(GetPixel(drawingSurface, 130, 300), kPaper) << "right released last cancels the stroke";
    EXPECT_EQ(GetPixel(viewSurface, 130, 300), kPaper);
    EXPECT_EQ(GetPixel(drawingSurface, 130, 100), kInk) << "the earlier stroke stays";
}

// Regression: with the pointer never captured, a release over another topmost window was lost and
// every later movement went on drawing with no button held.
TEST_F(PointerInput, ReleaseThatNeverArrivedEndsTheStroke)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 160, 100);
    Send(WM_MOUSEMOVE, 0, 160, 200);  // no MK_LBUTTON: the button went up elsewhere
    EXPECT_EQ(GetPixel(drawingSurface, 160, 150), kPaper) << "no line to a point reached with no button held";
    EXPECT_EQ(GetPixel(committedSurface, 130, 100), kInk) << "the stroke was ended as by its release";
    EXPECT_EQ(gesture.buttonsDown, 0);
}

TEST_F(PointerInput, WheelMagnifiesAboutThePointerAndBack)
{
    const HBRUSH ink = CreateSolidBrush(kInk);
    const RECT dot = {300, 200, 310, 210};
    FillRect(drawingSurface, &dot, ink);
    DeleteObject(ink);
    Send(WM_MOUSEMOVE, 0, 305, 205);
    for (int turn = 0; turn < 7; ++turn)
        PaintWindowProc(paint, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(zoomLevel, 5u) << "six times at most";
    // Six times about (305,205): the dot's 10 pixels cover 60 around the pointer.
    EXPECT_EQ(GetPixel(viewSurface, 305 - 25, 205), kInk);
    EXPECT_EQ(GetPixel(viewSurface, 305 - 35, 205), kPaper);
    for (int turn = 0; turn < 7; ++turn)
        PaintWindowProc(paint, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(zoomLevel, 0u);
    EXPECT_EQ(GetPixel(viewSurface, 305 - 25, 205), kPaper) << "back to one to one";
}

// A borderless topmost window of one colour, shown and painted, for the capture to find on screen.
HWND ShowPatch(const RECT& r, int stockBrush)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    wc.lpszClassName = stockBrush == WHITE_BRUSH ? "ScrivaneTestWhite" : "ScrivaneTestBlack";
    RegisterClassExA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(w);
    return w;
}

// Regression: a session that starts magnified showed its first frame unmagnified, centred on wherever
// the last session left the pointer.
TEST_F(PointerInput, SessionThatStartsMagnifiedCentresOnThePointer)
{
    ClosePaintWindow();
    const int w = GetSystemMetrics(SM_CXSCREEN);
    HWND paper = ShowPatch({0, 0, w, 100}, WHITE_BRUSH);
    HWND dot = ShowPatch({w - 4, 0, w, 4}, BLACK_BRUSH);
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    PlatformOverride platform;
    Platform.getCursorPos = [](POINT* p) -> BOOL {
        *p = POINT{100000, -50};  // beyond the desktop: the centre is clamped into it
        return TRUE;
    };
    zoomLevel = 1;
    ASSERT_NE(OpenPaintWindow(), nullptr);
    PaintWindowProc(paint, PWM_CAPTURE, 0, 0);
    DestroyWindow(dot);
    DestroyWindow(paper);
    EXPECT_EQ(lastPointer.x, w - 1);
    EXPECT_EQ(lastPointer.y, 0);
    // Twice about the top-right corner: the 4-pixel dot there covers 8 pixels of the first frame.
    EXPECT_EQ(GetPixel(drawingSurface, w - 6, 1), kPaper) << "captured one to one";
    EXPECT_EQ(GetPixel(viewSurface, w - 6, 1), kInk) << "shown magnified before the window appears";
    EXPECT_EQ(GetPixel(viewSurface, w - 10, 1), kPaper);
    zoomLevel = 0;
}

}  // namespace
