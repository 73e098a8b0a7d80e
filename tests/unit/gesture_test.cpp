// The pointer gestures of the paint window, walked event by event through every row of the state
// table, with the panel and the tool given as plain facts.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "session/gesture.h"

namespace {

constexpr uint32_t kMkShift = 0x04, kMkControl = 0x08, kMkXButton1 = 0x20, kMkXButton2 = 0x40;
constexpr uint32_t kMkLeft = 0x01, kMkRight = 0x02, kMkMiddle = 0x10;

// One letter per event: F first point, N next point, R rectangle, C commit, V revert, - nothing;
// then h when the panel is hidden, s when it is shown, t for the tool cursor, o for the hover rule.
std::string Describe(const GestureAction& a)
{
    static const char marks[] = "-FNRCV";
    std::string out(1, marks[static_cast<int>(a.mark)]);
    if (a.hidePanel)
        out += 'h';
    if (a.showPanel)
        out += 's';
    if (a.cursor == CursorStep::Tool)
        out += 't';
    if (a.cursor == CursorStep::Hover)
        out += 'o';
    return out;
}

// Runs events such as "L+ mv R+ L- R-" (press and release of Left, Right, Middle; mv a movement)
// and answers what each asked for, separated by blanks. '*' after an event means over the panel.
std::string RunEvents(GestureState& s, const std::string& events, bool panelVisible = false)
{
    std::istringstream in(events);
    std::string event, out;
    const POINT p = {50, 50};
    while (in >> event) {
        PointerContext c;
        c.panelWasVisible = panelVisible;
        c.overPanel = event.back() == '*';
        const int button = event[0] == 'L' ? kLeftButton : event[0] == 'R' ? kRightButton : kMiddleButton;
        GestureAction a;
        if (event.compare(0, 2, "mv") == 0)
            a = GestureMove(s, p);
        else if (event[1] == '+')
            a = GestureButtonDown(s, button, p, 0, c);
        else
            a = GestureButtonUp(s, button, p, c);
        out += (out.empty() ? "" : " ") + Describe(a);
    }
    return out;
}

TEST(Gesture, EveryRowOfTheStateTable)
{
    struct Case {
        const char* events;
        bool panelVisible;
        const char* want;
        int buttonsDown;
        int gestureButton;
        const char* why;
    } cases[] = {
        {"L+* R+* M+*", true, "- - -", 0, 0, "idle presses over the panel belong to the panel"},
        {"L+ mv L-", false, "Fht N C", 0, 0, "a stroke: first point, next point, commit"},
        {"L+ R+ L- R-", false, "Fht - - Vo", 0, 0, "right pressed during the stroke and released last cancels it"},
        {"L+ R+ R- L-", false, "Fht - -o C", 0, 0, "right released first: the stroke stays and is committed"},
        {"L+ M+ L- M-", false, "Fht - - -", 0, 0, "middle released last: neither commit nor revert"},
        {"L+ R+ L- L+ R- L-", false, "Fht - - N -o C", 0, 0, "a left press while suspended resumes the stroke"},
        {"L+ R+ M+ L- R-", false, "Fht - - - -o", kMiddleButton, kLeftButton, "right released with middle still held: no revert"},
        {"L+ R+ M+ L- R- M-", false, "Fht - - - -o -", 0, 0, "then middle: idle, nothing committed"},
        {"L+ mv R+ mv", false, "Fht N - N", 3, kLeftButton, "drawing with others keeps drawing"},
        {"R+ R-", false, "- -so", 0, 0, "a right click on the canvas shows the panel"},
        {"R+* R-*", true, "- -o", 0, 0, "a right click that starts and ends on the visible panel leaves it"},
        {"R+ R-", true, "- -so", 0, 0, "the visible panel moves to a right click elsewhere"},
        {"R+ L+ mv L- R-", false, "- - - - -so", 0, 0, "a left press during a right gesture is recorded and ignored"},
        {"M+ L+ mv M- L-", false, "- - - - -", 0, 0, "a middle gesture draws nothing"},
        {"M+ R+ R-", false, "- - -o", kMiddleButton, kMiddleButton, "no panel while the middle button leads"},
        {"L+ L+", false, "Fht N", kLeftButton, kLeftButton, "a second left press (its release lost) continues the stroke"},
    };
    for (const Case& c : cases) {
        GestureState s;
        EXPECT_EQ(RunEvents(s, c.events, c.panelVisible), c.want) << c.events << ": " << c.why;
        EXPECT_EQ(s.buttonsDown, c.buttonsDown) << c.events << ": " << c.why;
        EXPECT_EQ(s.gestureButton, c.gestureButton) << c.events << ": " << c.why;
    }
}

TEST(Gesture, StrokeModeFromTheKeysAtThePress)
{
    struct Case {
        uint32_t flags;
        int mode;
        const char* why;
    } cases[] = {
        {0, kFreeStroke, "no key"},
        {kMkControl, kAxisLine, "Ctrl"},
        {kMkXButton1, kAxisLine, "first extra button acts as Ctrl"},
        {kMkShift, kRectangle, "Shift"},
        {kMkXButton2, kRectangle, "second extra button acts as Shift"},
        {kMkControl | kMkShift, kFreeStroke, "both give a free stroke"},
        {kMkXButton1 | kMkShift, kFreeStroke, "both, one of them a button"},
        {kMkLeft | kMkRight | kMkMiddle, kFreeStroke, "button flags alone are no modifier"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrokeModeFromKeyFlags(c.flags), c.mode) << c.why;

    GestureState s;
    const GestureAction a = GestureButtonDown(s, kLeftButton, {10, 20}, kMkShift, {});
    EXPECT_EQ(a.mark, MarkStep::None) << "a rectangle draws nothing at the press";
    EXPECT_EQ(Describe(GestureMove(s, {30, 40})), "R");
    EXPECT_EQ(s.anchor.x, 10);
    EXPECT_EQ(s.anchor.y, 20);
}

// Ctrl+drag from (100,100): each row moves there from the anchor, as the first movement.
TEST(Gesture, AxisLockDecidedOnceAtFourAcrossOrEightDown)
{
    struct Case {
        POINT to;
        int lock;
        const char* why;
    } cases[] = {
        {{103, 100}, kAxisUndecided, "3 across"},
        {{104, 100}, kAxisHorizontal, "4 across locks horizontal"},
        {{96, 100}, kAxisHorizontal, "4 to the left too"},
        {{100, 107}, kAxisUndecided, "7 down"},
        {{100, 108}, kAxisVertical, "8 down locks vertical"},
        {{100, 92}, kAxisVertical, "8 up"},
        {{103, 107}, kAxisUndecided, "3 across and 7 down"},
        {{104, 108}, kAxisHorizontal, "the horizontal test comes first"},
    };
    for (const Case& c : cases) {
        GestureState s;
        GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
        EXPECT_EQ(Describe(GestureMove(s, c.to)), "-") << c.why << ": the deciding move draws nothing";
        EXPECT_EQ(s.axisLock, c.lock) << c.why;
    }

    GestureState s;
    GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
    GestureMove(s, {100, 108});
    const GestureAction a = GestureMove(s, {130, 140});
    EXPECT_EQ(a.point.x, 100) << "vertical holds x at the anchor's";
    EXPECT_EQ(a.point.y, 140);
    GestureMove(s, {160, 101});
    EXPECT_EQ(s.axisLock, kAxisVertical) << "decided once";

    GestureState h;
    PointerContext highlighter;
    highlighter.highlighterPen = true;
    GestureButtonDown(h, kLeftButton, {100, 100}, kMkControl, highlighter);
    const GestureAction first = GestureMove(h, {101, 130});
    EXPECT_EQ(first.mark, MarkStep::NextPoint) << "the highlighter's line is horizontal from the start";
    EXPECT_EQ(first.point.y, 100);
}

TEST(Gesture, ReleasesTheWindowNeverSaw)
{
    GestureState s;
    GestureButtonDown(s, kLeftButton, {1, 1}, 0, {});
    GestureButtonDown(s, kRightButton, {1, 1}, 0, {});
    EXPECT_EQ(MissedReleases(s, kMkLeft | kMkRight, 0), 0) << "both still held";
    EXPECT_EQ(MissedReleases(s, kMkLeft, 0), kRightButton);
    EXPECT_EQ(MissedReleases(s, 0, kLeftButton), kRightButton) << "a left release message is no lost left release";
    EXPECT_EQ(MissedReleases(s, kMkMiddle, 0), kLeftButton | kRightButton);
}

TEST(Gesture, WheelMovesOneLevelWithinZeroToFive)
{
    EXPECT_EQ(ZoomAfterWheel(0, 120), 1u);
    EXPECT_EQ(ZoomAfterWheel(0, 240), 1u) << "one level whatever the turn";
    EXPECT_EQ(ZoomAfterWheel(5, 120), 5u);
    EXPECT_EQ(ZoomAfterWheel(1, -120), 0u);
    EXPECT_EQ(ZoomAfterWheel(0, -120), 0u);
    EXPECT_EQ(ZoomAfterWheel(3, 0), 3u);
}

}  // namespace
