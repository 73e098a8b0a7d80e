// The session's plain rules: rectangles, clipboard bitmap layouts and the pointer gestures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "canvas/rect.h"
#include "session/dib_layout.h"
#include "session/gesture.h"

namespace {

TEST(Rect, SignedSizesUnionsAndTheExclusiveEdges)
{
    const RECT a = RectFromSize({10, 10}, {-5, -3}), u = RectUnion({5, 5, 6, 6}, {0, 0, 0, 0});
    EXPECT_TRUE(a.left == 5 && a.top == 7 && a.right == 10 && a.bottom == 10) << "a negative size extends left and up";
    EXPECT_TRUE(u.left == 0 && u.top == 0 && u.right == 6 && u.bottom == 6) << "an empty rectangle still widens a union";
    const RECT r = {10, 20, 30, 40};
    const struct { RECT r; POINT p; bool want; const char* why; } cases[] = {
        {r, {10, 20}, true, "top-left corner"}, {r, {29, 39}, true, "last pixel"}, {r, {30, 25}, false, "right edge"},
        {r, {15, 40}, false, "bottom edge"},    {r, {9, 25}, false, "just left"},   {r, {15, 19}, false, "just above"},
        {{5, 5, 5, 9}, {5, 5}, false, "an empty rectangle contains nothing"},
        {{-1024, -10, 0, 10}, {-1024, -10}, true, "a monitor left of the primary one: its corner"}};
    for (const auto& c : cases)
        EXPECT_EQ(RectContains(c.r, c.p), c.want) << c.why;
}

struct Header {  // BITMAPINFOHEADER, as another program puts it on the clipboard
    uint32_t size;
    int32_t width, height;
    uint16_t planes, bitCount;
    uint32_t compression, sizeImage;
    int32_t xPerMeter, yPerMeter;
    uint32_t colorsUsed, colorsImportant;
};
static_assert(sizeof(Header) == 40, "BITMAPINFOHEADER layout");

Header H(uint16_t bits, int32_t width, int32_t height = 2, uint32_t compression = 0, uint32_t colors = 0, uint32_t size = 40)
{
    return Header{size, width, height, 1, bits, compression, 0, 0, 0, colors, 0};
}

TEST(DibLayout, FindsThePixelsOfEachClipboardLayoutOrRefusesTheBlock)
{
    const struct { Header h; size_t extra, pixels, at; const char* why; } cases[] = {  // at 0: refused
        {H(24, 3), 0, 24, 40, "24 bits, no colour table, rows padded to 4 bytes"},
        {H(32, 4, 2, 3), 12, 32, 52, "32 bits with bit fields: the masks after the header"},
        {H(32, 4, -2, 3, 0, 124), 84, 32, 124, "a V5 header holds its masks; top-down"},
        {H(8, 5), 1024, 16, 1064, "8 bits, colorsUsed 0: a 256-entry table"},
        {H(1, 33, 2, 0, 2), 8, 16, 48, "1 bit, two colours used, 33 pixels need 8 bytes a row"},
        {H(24, 4), 0, 23, 0, "pixel area one byte short"}, {H(24, 40000), 0, 24, 0, "absurd width"},
        {H(24, 4, INT32_MIN), 0, 24, 0, "a height that cannot be negated"}, {H(0, 4), 0, 24, 0, "JPEG or PNG inside"},
        {H(8, 4, 2, 1), 1024, 100, 0, "run-length compression"}, {H(24, 4, 2, 3), 12, 24, 0, "bit fields of 24 bits"},
        {H(24, 4, 2, 0, 0, 12), 0, 24, 0, "an OS/2 core header is not what CF_DIB holds"},
        {H(24, 4, 2, 0, 0, 0x7FFFFFFF), 0, 24, 0, "a header larger than the block"},
        {H(8, 4, 2, 0, 257), 1028, 16, 0, "more table entries than 8 bits can index"},
        {H(24, 4, 2, 0, 0xFFFFFFFF), 0, 24, 0, "a colour count that would overflow the offset"}};
    for (const auto& c : cases) {
        std::vector<unsigned char> block(sizeof(Header) + c.extra + c.pixels, 0xCC);
        std::memcpy(block.data(), &c.h, sizeof(c.h));
        DibLayout l{};
        ASSERT_EQ(ReadDibLayout(block.data(), block.size(), l), c.at != 0) << c.why;
        EXPECT_TRUE(c.at == 0 || (l.bitsOffset == c.at && l.bitsSize == c.pixels && l.width == c.h.width &&
                                  l.height == 2 && l.topDown == (c.h.height < 0))) << c.why;
    }
    DibLayout l;
    EXPECT_FALSE(ReadDibLayout(&cases[0].h, 39, l)) << "a block smaller than a header";
}

// Pointer events of the paint window at one point, with the panel and the tool as plain facts.
enum Event { LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Move, LeftOnPanel, RightOnPanel, RightUpOnPanel };
struct Did {  // what one event asked of the window
    MarkStep mark;
    bool hide, show;
    CursorStep cursor;
};
constexpr Did k_ = {MarkStep::None, false, false, CursorStep::None}, kHover = {MarkStep::None, false, false, CursorStep::Hover};
constexpr Did kFirst = {MarkStep::FirstPoint, true, false, CursorStep::Tool}, kNext = {MarkStep::NextPoint, false, false, CursorStep::None};
constexpr Did kCommit = {MarkStep::Commit, false, false, CursorStep::None}, kRevert = {MarkStep::Revert, false, false, CursorStep::Hover};
constexpr Did kShowPanel = {MarkStep::None, false, true, CursorStep::Hover};

TEST(Gesture, EveryRowOfTheStateTable)
{
    const struct { std::vector<Event> events; bool panelVisible; std::vector<Did> want; int held, by; const char* why; } cases[] = {
        {{LeftOnPanel, RightOnPanel}, true, {k_, k_}, 0, 0, "idle presses over the panel are the panel's"},
        {{LeftDown, Move, LeftUp}, false, {kFirst, kNext, kCommit}, 0, 0, "a stroke: first point, next point, commit"},
        {{LeftDown, RightDown, LeftUp, RightUp}, false, {kFirst, k_, k_, kRevert}, 0, 0, "right released last cancels it"},
        {{LeftDown, RightDown, RightUp, LeftUp}, false, {kFirst, k_, kHover, kCommit}, 0, 0, "right released first: kept"},
        {{LeftDown, MiddleDown, LeftUp, MiddleUp}, false, {kFirst, k_, k_, k_}, 0, 0, "middle released last: neither"},
        {{LeftDown, RightDown, LeftUp, LeftDown, RightUp}, false, {kFirst, k_, k_, kNext, kHover}, 1, 1,
         "a left press while suspended resumes the stroke"},
        {{LeftDown, RightDown, MiddleDown, LeftUp, RightUp}, false, {kFirst, k_, k_, k_, kHover}, 4, 1,
         "right released with middle still held: no revert"},
        {{LeftDown, RightDown, Move}, false, {kFirst, k_, kNext}, 3, 1, "other buttons held: still drawing"},
        {{RightDown, RightUp}, true, {k_, kShowPanel}, 0, 0, "a right click on the canvas shows the panel there"},
        {{RightOnPanel, RightUpOnPanel}, true, {k_, kHover}, 0, 0, "a right click on the visible panel leaves it"},
        {{RightDown, LeftDown, Move, RightUp}, false, {k_, k_, k_, kHover}, 1, 2, "a right gesture draws nothing"},
        {{MiddleDown, RightDown, RightUp}, false, {k_, k_, kHover}, 4, 4, "no panel while the middle button leads"},
        {{LeftDown, LeftDown}, false, {kFirst, kNext}, 1, 1, "a second left press (its release lost) draws on"}};
    for (const auto& c : cases) {
        GestureState s;
        for (size_t i = 0; i < c.events.size() && i < c.want.size(); ++i) {
            const Event e = c.events[i];
            const PointerContext context = {c.panelVisible, e >= LeftOnPanel, false};
            const int button = e == LeftDown || e == LeftUp || e == LeftOnPanel ? kLeftButton
                               : e == MiddleDown || e == MiddleUp              ? kMiddleButton : kRightButton;
            const GestureAction a = e == Move ? GestureMove(s, {50, 50})
                                    : e == LeftUp || e == RightUp || e == MiddleUp || e == RightUpOnPanel
                                        ? GestureButtonUp(s, button, {50, 50}, context)
                                        : GestureButtonDown(s, button, {50, 50}, 0, context);
            const Did& w = c.want[i];
            EXPECT_TRUE(a.mark == w.mark && a.hidePanel == w.hide && a.showPanel == w.show && a.cursor == w.cursor)
                << c.why << ": event " << i;
        }
        EXPECT_TRUE(s.buttonsDown == c.held && s.gestureButton == c.by) << c.why;
    }
    GestureState s;
    s.buttonsDown = kLeftButton | kRightButton;
    EXPECT_EQ(MissedReleases(s, 0x02, 0), kLeftButton) << "MK_LBUTTON gone: the left release was missed";
    EXPECT_EQ(MissedReleases(s, 0x00, kRightButton), kLeftButton) << "a button's own release is not missed";
    const struct { std::vector<int> deltas; unsigned want; const char* why; } wheels[] = {
        {{40, 40, 40}, 1, "a level per 120 turned: small deltas add up"}, {{720, -120}, 4, "at most five, then one down"},
        {{80, -40, 80}, 0, "a reversal counts afresh"}, {{-120}, 0, "never below zero"}};
    for (const auto& c : wheels) {
        unsigned zoom = 0;
        for (int d : c.deltas)
            zoom = ZoomAfterWheel(s, zoom, d);
        EXPECT_EQ(zoom, c.want) << c.why;
        ResetGestureButtons(s);
    }
}

TEST(Gesture, StrokeModeFromTheKeysAtThePressAndTheAxisDecidedOnce)
{
    constexpr uint32_t kMkShift = 0x04, kMkControl = 0x08, kMkXButton1 = 0x20, kMkXButton2 = 0x40;
    const struct { uint32_t flags; int mode; } modes[] = {
        {0, kFreeStroke}, {kMkControl, kAxisLine}, {kMkXButton1, kAxisLine}, {kMkShift, kRectangle},
        {kMkXButton2, kRectangle}, {kMkControl | kMkShift, kFreeStroke}, {0x13, kFreeStroke}};
    for (const auto& c : modes)
        EXPECT_EQ(StrokeModeFromKeyFlags(c.flags), c.mode) << std::hex << c.flags;
    // Ctrl+drag from (100,100), each row's point the first movement, which draws nothing.
    const struct { POINT to; int lock; const char* why; } axes[] = {
        {{103, 107}, kAxisUndecided, "3 across and 7 down"}, {{96, 100}, kAxisHorizontal, "4 across locks horizontal"},
        {{100, 92}, kAxisVertical, "8 up or down locks vertical"}, {{104, 108}, kAxisHorizontal, "horizontal first"}};
    for (const auto& c : axes) {
        GestureState s;
        GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
        EXPECT_EQ(GestureMove(s, c.to).mark, MarkStep::None) << c.why;
        EXPECT_EQ(s.axisLock, c.lock) << c.why;
    }
    GestureState s, h;
    GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
    GestureMove(s, {100, 108});
    EXPECT_EQ(GestureMove(s, {160, 101}).point.x, 100) << "vertical, decided once: x held at the anchor's";
    GestureButtonDown(h, kLeftButton, {100, 100}, kMkControl, {false, false, true});
    EXPECT_EQ(GestureMove(h, {101, 130}).point.y, 100) << "a highlighter line is horizontal at once";
    EXPECT_EQ(GestureButtonDown(h = {}, kLeftButton, {10, 20}, kMkShift, {}).mark, MarkStep::None) << "a rectangle";
    EXPECT_EQ(GestureMove(h, {30, 40}).mark, MarkStep::Rectangle) << "starts blank, then follows the pointer";
}

}  // namespace
