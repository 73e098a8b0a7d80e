#include <gtest/gtest.h>

#include "canvas/surfaces.h"
#include "shell/monitor.h"

namespace {

class Surfaces : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND window = nullptr;
};

SIZE BitmapSize(HDC dc)
{
    BITMAP bm = {};
    GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

TEST_F(Surfaces, AreCreatedAtTheVirtualScreenSize)
{
    ASSERT_TRUE(CreateSurfaces(window));
    const int width = MonitorMetric(SM_CXVIRTUALSCREEN);
    const int height = MonitorMetric(SM_CYVIRTUALSCREEN);
    for (HDC dc : {captureSurface, committedSurface, drawingSurface, viewSurface}) {
        ASSERT_NE(dc, nullptr);
        const SIZE size = BitmapSize(dc);
        EXPECT_EQ(size.cx, width);
        EXPECT_EQ(size.cy, height);
    }
    EXPECT_NE(windowDC, nullptr);
    EXPECT_EQ(WindowFromDC(windowDC), window);
    ReleaseSurfaces(window);
}

TEST_F(Surfaces, ReleaseSelectsTheKeptBitmapsBackAndForgetsEverything)
{
    ASSERT_TRUE(CreateSurfacesOfSize(window, 32, 16));
    HDC dcs[] = {captureSurface, committedSurface, drawingSurface, viewSurface};
    HGDIOBJ session[4];
    for (int i = 0; i < 4; ++i)
        session[i] = GetCurrentObject(dcs[i], OBJ_BITMAP);
    ReleaseSurfaces(window);

    EXPECT_EQ(captureSurface, nullptr);
    EXPECT_EQ(viewSurface, nullptr);
    EXPECT_EQ(windowDC, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetObjectType(session[i]), 0u) << "session bitmap " << i << " deleted";
        EXPECT_EQ(GetObjectType(dcs[i]), 0u) << "device context " << i << " deleted";
    }
}

TEST_F(Surfaces, SurfacesHoldIndependentPictures)
{
    ASSERT_TRUE(CreateSurfacesOfSize(window, 8, 8));
    HDC dcs[] = {captureSurface, committedSurface, drawingSurface, viewSurface};
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int i = 0; i < 4; ++i)
        SetPixel(dcs[i], 3, 3, colours[i]);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetPixel(dcs[i], 3, 3), colours[i]) << "surface " << i;
    ReleaseSurfaces(window);
}

// A desktop too large for the process must not leave a half-built session behind.
TEST_F(Surfaces, FailedCreationReleasesWhatWasMade)
{
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_FALSE(CreateSurfacesOfSize(window, 200000, 200000));
    EXPECT_EQ(captureSurface, nullptr);
    EXPECT_EQ(committedSurface, nullptr);
    EXPECT_EQ(drawingSurface, nullptr);
    EXPECT_EQ(viewSurface, nullptr);
    EXPECT_EQ(windowDC, nullptr);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore) << "nothing leaked";

    ASSERT_TRUE(CreateSurfacesOfSize(window, 16, 16)) << "a later session still works";
    ReleaseSurfaces(window);
}

}  // namespace
