// Keys in a live paint window: Escape, the pen row with its modifiers, and what a stroke in progress
// allows.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "canvas/palette_panel.h"
#include "canvas/tool_state.h"
#include "render/pen_renderer.h"
#include "session/paint_window.h"
#include "shell/messages.h"
#include "session/session_objects.h"
#include "shell/settings.h"
#include "support/paint_fixture.h"
#include "support/platform_override.h"

namespace {

bool ctrlHeld;

class Keys : public PaintWindowTest {
protected:
    void SetUp() override
    {
        PaintWindowTest::SetUp();
        ctrlHeld = false;
        Platform.getKeyboardState = [](BYTE* keys) -> BOOL {
            ZeroMemory(keys, 256);
            keys[VK_CONTROL] = ctrlHeld ? 0x80 : 0;
            return TRUE;
        };
        ASSERT_NE(OpenPaintWindow(), nullptr);
    }
    // Runs "d<key> u<key> C+ C- L+ L- R+" (C the Ctrl key, L and R the mouse buttons) and answers
    // the tool afterwards: the cell index or E for the eraser, and whether a close was posted.
    std::string Run(const std::string& events)
    {
        std::istringstream in(events);
        std::string e;
        while (in >> e) {
            const char kind = e[0];
            const WPARAM key = (kind == 'd' || kind == 'u') ? static_cast<WPARAM>(std::stoi(e.substr(1))) : 0;
            if (kind == 'd')
                PaintWindowProc(paint, WM_KEYDOWN, key, 0);
            else if (kind == 'u')
                PaintWindowProc(paint, WM_KEYUP, key, 0);
            else if (e == "C+" || e == "C-")
                ctrlHeld = e == "C+";
            else if (e == "L+")
                PaintWindowProc(paint, WM_LBUTTONDOWN, held |= MK_LBUTTON, MAKELPARAM(50, 50));
            else if (e == "R+")
                PaintWindowProc(paint, WM_RBUTTONDOWN, held |= MK_RBUTTON, MAKELPARAM(50, 50));
            else if (e == "L-")
                PaintWindowProc(paint, WM_LBUTTONUP, held &= ~MK_LBUTTON, MAKELPARAM(50, 50));
        }
        const PalettePanel& panel = palettePanel();
        MSG msg;
        const bool closed = PeekMessageA(&msg, paint, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
        return (panel.colorActive ? std::to_string(panel.colorIndex) : std::string("E")) + (closed ? " closed" : "");
    }
    PlatformOverride platform;
    WPARAM held = 0;  // the mouse buttons down, as the messages report them
};

TEST_F(Keys, PenRowEscapeAndStrokes)
{
    const std::string f1 = std::to_string(VK_F1), f3 = std::to_string(VK_F3), f4 = std::to_string(VK_F4);
    const std::string f9 = std::to_string(VK_F9), esc = std::to_string(VK_ESCAPE);
    struct Case {
        uint32_t row;
        std::string events;
        const char* want;
        const char* why;
    } cases[] = {
        {0x70, "d" + f3 + " u" + f3, "2", "F3 picks cell 2"},
        {0x70, "d" + f9 + " u" + f9, "E", "F9 picks the eraser"},
        {0x70, "u" + f3, "0", "a release whose press this window never saw"},
        {0x70, "d" + esc + " u" + esc, "0 closed", "Escape ends the session"},
        {0x70, "u" + esc, "0", "the Escape that closed a dialog over the session does not end it"},
        {0x31 | 0x200, "C+ d51 u51 C-", "2", "Ctrl+3 with the row Ctrl+1"},
        {0x31 | 0x200, "C+ d51 C- u51", "0", "Ctrl let go before the key: nothing"},
        {0x70, "L+ d" + f4 + " u" + f4, "3", "a colour key in mid-stroke switches the colour"},
        {0x70, "L+ d" + f9 + " u" + f9, "0", "the eraser key in mid-stroke is ignored"},
        {0x70, "L+ R+ L- d" + f9 + " u" + f9, "0", "also while the stroke is suspended with only the right button held"},
        {0x70, "L+ d" + esc + " u" + esc, "0 closed", "Escape also during a stroke"},
    };
    for (const Case& c : cases) {
        ClosePaintWindow();
        Settings = SettingsRecord();
        Settings.penSelectKey = c.row;
        held = 0;
        ASSERT_NE(OpenPaintWindow(), nullptr);
        EXPECT_EQ(Run(c.events), c.want) << c.why;
    }
}

TEST_F(Keys, CursorFollowsTheKeyEvenOverThePanel)
{
    palettePanel().showAt(paint, {400, 300});
    SetCurrentCursor(arrowCursor);
    Run("d" + std::to_string(VK_F3) + " u" + std::to_string(VK_F3));
    EXPECT_EQ(currentCursor, penCursor);
    EXPECT_EQ(penRenderer().color, RGB(255, 0, 0)) << "the pen takes cell 2's colour";
    PaintWindowProc(paint, PWM_SETHIGHLIGHT, 1, 0);
    Run("d" + std::to_string(VK_F4) + " u" + std::to_string(VK_F4));
    EXPECT_EQ(currentCursor, highlighterCursor);
    Run("d" + std::to_string(VK_F9) + " u" + std::to_string(VK_F9));
    EXPECT_EQ(currentCursor, eraserCursor);
}

}  // namespace
