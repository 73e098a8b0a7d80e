// The tool cursors on a scaled monitor: at the system's cursor size for its DPI, the hot spot with
// them. Its own program: the system shares a cursor loaded once by name whatever size is asked later.
#include <windows.h>

#include <gtest/gtest.h>

#include "canvas/tool_state.h"

TEST(ToolCursors, AtTheSystemsSizeForTheMonitorsDpi)
{
    LoadToolCursors(GetModuleHandleA(nullptr), 192);
    ICONINFO info = {};
    BITMAP mask = {};
    ASSERT_TRUE(GetIconInfo(penCursor, &info) && GetObjectA(info.hbmMask, sizeof mask, &mask));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_EQ(mask.bmWidth, 64) << "200 %: twice the 32 pixels";
    EXPECT_EQ(info.xHotspot * 100 + info.yHotspot, 2u * 100 + 60) << "the pencil's tip, (1,30) at 32 pixels";
}
