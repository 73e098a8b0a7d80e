// How frames reach the window: composition of a rectangle or the whole area, painting from the view
// without composing again, and clearing back to the capture.
#include <gtest/gtest.h>

#include "canvas/surfaces.h"
#include "session/paint_window.h"
#include "shell/messages.h"
#include "support/paint_fixture.h"

namespace {

constexpr COLORREF kOld = RGB(10, 20, 30);
constexpr COLORREF kNew = RGB(200, 100, 50);

class Composition : public PaintWindowTest {
protected:
    void SetUp() override
    {
        PaintWindowTest::SetUp();
        ASSERT_NE(OpenPaintWindow(), nullptr);
        ShowWindow(paint, SW_SHOWNORMAL);
        // The view and the window show the old picture; the drawing holds the new one.
        FillSurface(drawingSurface, kOld);
        Refresh(nullptr);
        FillSurface(drawingSurface, kNew);
    }
    void Refresh(const RECT* r) { PaintWindowProc(paint, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(r)); }
};

TEST_F(Composition, SmallRectangleReachesOnlyItsArea)
{
    const RECT r = {10, 10, 20, 20};
    Refresh(&r);
    EXPECT_EQ(GetPixel(viewSurface, 10, 10), kNew) << "top-left inside";
    EXPECT_EQ(GetPixel(viewSurface, 19, 19), kNew) << "last pixel inside";
    EXPECT_EQ(GetPixel(viewSurface, 20, 15), kOld) << "right edge is outside";
    EXPECT_EQ(GetPixel(viewSurface, 15, 9), kOld) << "above";
    EXPECT_EQ(GetPixel(windowDC, 12, 12), kNew) << "copied to the window at once";
    EXPECT_EQ(GetPixel(windowDC, 25, 25), kOld) << "nothing else reaches the window";
}

TEST_F(Composition, NoRectangleComposesTheWholeClientArea)
{
    Refresh(nullptr);
    RECT client;
    GetClientRect(paint, &client);
    EXPECT_EQ(GetPixel(viewSurface, 0, 0), kNew);
    EXPECT_EQ(GetPixel(viewSurface, client.right - 1, client.bottom - 1), kNew);
    EXPECT_EQ(GetPixel(windowDC, client.right - 1, client.bottom - 1), kNew);
}

TEST_F(Composition, PaintShowsTheViewWithoutComposing)
{
    RedrawWindow(paint, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(windowDC, 40, 40), kOld) << "uncovering repaints the last composed frame";
    EXPECT_EQ(GetPixel(viewSurface, 40, 40), kOld) << "the view was not recomposed";
}

TEST_F(Composition, ClearRestoresTheCaptureEverywhere)
{
    constexpr COLORREF kCapture = RGB(0, 128, 255);
    FillSurface(captureSurface, kCapture);
    FillSurface(committedSurface, kNew);
    PaintWindowProc(paint, PWM_CLEAR, 0, 0);
    RECT client;
    GetClientRect(paint, &client);
    for (HDC dc : {committedSurface, drawingSurface, viewSurface, windowDC}) {
        EXPECT_EQ(GetPixel(dc, 5, 5), kCapture);
        EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), kCapture);
    }
}

TEST_F(Composition, RefreshBetweenSessionsIsHarmless)
{
    ClosePaintWindow();
    const RECT r = {0, 0, 5, 5};
    PaintWindowProc(nullptr, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&r));
    PaintWindowProc(nullptr, PWM_CLEAR, 0, 0);
    // A late notification from the panel after the surfaces are gone must not touch freed handles.
    EXPECT_EQ(viewSurface, nullptr);
    EXPECT_EQ(windowDC, nullptr);
}

}  // namespace
