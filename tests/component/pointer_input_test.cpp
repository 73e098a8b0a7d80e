// The paint window driven by its own mouse messages, with the real renderers: a release the window
// never saw, and a session that starts magnified. (Drawing with real input: tests/e2e/drawing.sh.)
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
