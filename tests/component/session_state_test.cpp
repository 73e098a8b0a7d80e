// What a session takes from the settings when it starts and gives back when it ends.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/default_palette.h"
#include "canvas/palette_panel.h"
#include "canvas/tool_state.h"
#include "render/pen_renderer.h"
#include "session/session_objects.h"
#include "shell/settings.h"
#include "support/paint_fixture.h"

namespace {

using SessionStart = PaintWindowTest;

struct StartCase {
    const char* why;
    uint32_t flags;
    int32_t lastPen;
    uint32_t penSize;
    // Expected right after the window is created.
    bool eraser;
    int colorIndex;  // when not the eraser
    int width;       // the panel's width; with the eraser, whatever it held before
    bool highlighter;
    // Expected in the settings after the window is gone.
    int32_t savedPen;
    uint32_t savedSize;
};

TEST_F(SessionStart, AppliesAndWritesBackTheRememberedTool)
{
    const uint32_t all = 0x7F;
    const StartCase cases[] = {
        {"defaults: black pen, width 5", all, 0, 5, false, 0, 5, false, 0, 5},
        {"remembered colour, width and highlighter", all | OPT_HIGHLIGHTER, 3, 12, false, 3, 12, true, 3, 12},
        {"without Remember Last Pen: cell 0, highlighter off", (all & ~OPT_REMEMBER_LAST_PEN) | OPT_HIGHLIGHTER, 3, 12,
         false, 0, 12, false, 0, 12},
        {"without Remember Pen Size: width 5", all & ~OPT_REMEMBER_PEN_SIZE, 2, 12, false, 2, 5, false, 2, 5},
        {"width 0 starts at 1 and is written back as 1", all, 1, 0, false, 1, 1, false, 1, 1},
        {"width over 20 starts at 20", all, 1, 25, false, 1, 20, false, 1, 20},
        {"-1 is the eraser; the panel keeps its width", all, -1, 17, true, 0, 20, false, -1, 20},
        {"8 is the eraser", all, 8, 3, true, 0, 20, false, -1, 20},
        {"any large value is the eraser", all, 0x7FFFFFFF, 3, true, 0, 20, false, -1, 20},
        {"back to a colour after the eraser", all, 6, 9, false, 6, 9, false, 6, 9},
    };
    // The panel lives for the whole run: give it a known width before the table starts.
    Settings.lastPen = 0;
    Settings.penSize = 20;
    ASSERT_NE(OpenPaintWindow(), nullptr);
    ClosePaintWindow();
    OwnerGotSessionEnded();

    for (const StartCase& c : cases) {
        Settings = SettingsRecord();
        Settings.flags = c.flags;
        Settings.lastPen = c.lastPen;
        Settings.penSize = c.penSize;
        ASSERT_NE(OpenPaintWindow(), nullptr) << c.why;

        const PalettePanel& panel = palettePanel();
        const PenRenderer& renderer = penRenderer();
        EXPECT_EQ(eraserMode, c.eraser) << c.why;
        EXPECT_EQ(panel.colorActive, !c.eraser) << c.why;
        EXPECT_EQ(panel.penSize, c.width) << c.why;
        EXPECT_EQ(panel.highlighter, c.highlighter) << c.why;
        EXPECT_EQ(renderer.highlighter, c.highlighter) << c.why;
        if (c.eraser) {
            EXPECT_EQ(currentCursor, eraserCursor) << c.why;
        } else {
            EXPECT_EQ(panel.colorIndex, c.colorIndex) << c.why;
            EXPECT_EQ(renderer.width, c.width) << c.why << ": the pen follows the panel";
            EXPECT_EQ(renderer.color, panel.cells[c.colorIndex].color) << c.why;
            EXPECT_EQ(currentCursor, c.highlighter ? highlighterCursor : penCursor) << c.why;
            EXPECT_EQ(Settings.penSize, static_cast<uint32_t>(c.width)) << c.why << ": clamped at the start";
        }
        EXPECT_NE(currentCursor, nullptr) << c.why << ": cursor resources load";

        ClosePaintWindow();
        EXPECT_TRUE(OwnerGotSessionEnded()) << c.why;
        EXPECT_EQ(Settings.lastPen, c.savedPen) << c.why;
        EXPECT_EQ(Settings.penSize, c.savedSize) << c.why;
        EXPECT_EQ((Settings.flags & OPT_HIGHLIGHTER) != 0, c.highlighter) << c.why;
        EXPECT_EQ(renderer.width, 0) << c.why << ": the pen is released with the session";
    }
}

TEST_F(SessionStart, PaletteIsTheRememberedOneOnlyWhenAskedFor)
{
    const uint32_t remembered[8] = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112, 0x131415, 0x161718};
    std::memcpy(Settings.palette, remembered, sizeof(remembered));
    ASSERT_NE(OpenPaintWindow(), nullptr);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(palettePanel().cells[i].color, remembered[i]) << "cell " << i;
    EXPECT_EQ(penRenderer().color, remembered[0]) << "the pen takes the remembered colour of its cell";
    ClosePaintWindow();

    Settings.flags &= ~OPT_REMEMBER_PALETTE;
    ASSERT_NE(OpenPaintWindow(), nullptr);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(palettePanel().cells[i].color, defaultPalette[i]) << "cell " << i;
    ClosePaintWindow();
    EXPECT_EQ(0, std::memcmp(Settings.palette, remembered, sizeof(remembered))) << "the stored palette is kept";
}

TEST_F(SessionStart, TearsDownWhatItBuilt)
{
    ASSERT_NE(OpenPaintWindow(), nullptr);
    HDC drawing = penRenderer().target;
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(GetCurrentObject(drawing, OBJ_BRUSH), GetStockObject(NULL_BRUSH)) << "shapes are outlines only";
    EXPECT_NE(GetCurrentObject(drawing, OBJ_PEN), GetStockObject(BLACK_PEN)) << "the renderer's pen is selected";
    ClosePaintWindow();
    EXPECT_EQ(GetObjectType(drawing), 0u) << "the drawing surface is deleted with the session";
}

}  // namespace
