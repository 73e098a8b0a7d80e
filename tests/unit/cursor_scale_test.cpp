// The tool cursors at 200 %. A program of its own: a shared cursor loaded earlier at another size may
// be handed out again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "canvas/tool_state.h"

TEST(ToolCursors, AtTheSystemsSizeForTheMonitorsDpi)
{
    LoadToolCursors(GetModuleHandleA(nullptr), 192);
    ICONINFO info = {};
    BITMAP mask = {};
    ASSERT_TRUE(GetIconInfo(penCursor, &info) && GetObjectA(info.hbmMask, sizeof mask, &mask));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);  // none for a monochrome cursor
    EXPECT_EQ(std::to_string(mask.bmWidth) + " " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot),
              "64 2,60") << "twice the 32 pixels, the pencil's tip at the hot spot";
}
