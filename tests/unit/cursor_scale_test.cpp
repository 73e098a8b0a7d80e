// The tool cursors at 200 %, and at 100 % after that.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "canvas/tool_state.h"

TEST(ToolCursors, AtTheSystemsSizeForTheMonitorsDpiEachTime)
{
    for (const auto& [dpi, want] : {std::pair<UINT, const char*>{192, "64 2,60"}, {96, "32 1,30"}}) {
        LoadToolCursors(GetModuleHandleA(nullptr), dpi);
        ICONINFO info = {};
        BITMAP mask = {};
        ASSERT_TRUE(GetIconInfo(penCursor, &info) && GetObjectA(info.hbmMask, sizeof mask, &mask));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);  // none for a monochrome cursor
        EXPECT_EQ(std::to_string(mask.bmWidth) + " " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot), want)
            << dpi << " DPI: the system's size, the pencil's tip at the hot spot, also when a session before had another";
    }
}
