// The session's plain rules: rectangles, clipboard bitmap layouts and the pointer gestures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

#include "canvas/rect.h"
#include "session/dib_layout.h"
#include "session/gesture.h"

namespace {

TEST(Rect, SignedSizesUnionsAndTheExclusiveEdges)
{
    const RECT a = RectFromSize({10, 10}, {-5, -3}), u = RectUnion({5, 5, 6, 6}, {0, 0, 0, 0});
    EXPECT_TRUE(a.left == 5 && a.top == 7 && a.right == 10 && a.bottom == 10) << "a negative size extends left and up";
    EXPECT_TRUE(u.left == 0 && u.top == 0 && u.right == 6 && u.bottom == 6) << "an empty one still widens a union";
    EXPECT_TRUE(RectContains(a, {5, 7}) && !RectContains(a, {10, 8}) && !RectContains(a, {6, 10})) << "right, bottom";
    EXPECT_FALSE(RectContains({5, 5, 5, 9}, {5, 5})) << "an empty rectangle contains nothing";
    EXPECT_TRUE(RectContains({-1024, -10, 0, 10}, {-1024, -10})) << "a monitor left of the primary one: its corner";
}

// BITMAPINFOHEADER as another program puts it on the clipboard.
struct Header { uint32_t size; int32_t w, h; uint16_t planes, bits; uint32_t comp, image, x, y, used, important; };
Header H(uint16_t bits, int32_t w, int32_t h = 2, uint32_t comp = 0, uint32_t used = 0, uint32_t size = 40) { return {size, w, h, 1, bits, comp, 0, 0, 0, used, 0}; }

TEST(DibLayout, FindsThePixelsOfEachClipboardLayoutOrRefusesTheBlock)
{
    const struct { Header h; size_t extra, pixels, at; const char* why; } cases[] = {  // at 0: refused
        {H(24, 3), 0, 24, 40, "24 bits, no colour table, rows padded"}, {H(24, 4, 2, 0, 0, ~0u >> 1), 0, 24, 0, "huge"},
        {H(32, 4, 2, 3), 12, 32, 52, "32 bits with bit fields: the masks after the header"},
        {H(32, 4, -2, 3, 0, 124), 84, 32, 124, "a V5 header holds its masks; top-down"},
        {H(8, 5), 1024, 16, 1064, "8 bits, colorsUsed 0: a 256-entry table"},
        {H(1, 33, 2, 0, 2), 8, 16, 48, "1 bit, two colours used, 33 pixels need 8 bytes a row"},
        {H(24, 4), 0, 23, 0, "pixel area one byte short"}, {H(24, 40000), 0, 24, 0, "absurd width"},
        {H(24, 4, INT32_MIN), 0, 24, 0, "a height that cannot be negated"}, {H(0, 4), 0, 24, 0, "JPEG or PNG inside"},
        {H(8, 4, 2, 1), 1024, 100, 0, "run-length compression"}, {H(24, 4, 2, 3), 12, 24, 0, "bit fields of 24 bits"},
        {H(24, 4, 2, 0, 0, 12), 0, 24, 0, "OS/2 core header"}, {H(8, 4, 2, 0, 257), 1028, 16, 0, "257 colours"},
        {H(24, 4, 2, 0, ~0u), 0, 24, 0, "a colour count that would overflow the offset"}};
    for (const auto& c : cases) {
        std::vector<unsigned char> block(sizeof(Header) + c.extra + c.pixels, 0xCC);
        std::memcpy(block.data(), &c.h, sizeof(c.h));
        DibLayout l{};
        ASSERT_EQ(ReadDibLayout(block.data(), block.size(), l), c.at != 0) << c.why;
        EXPECT_TRUE(c.at == 0 || (l.bitsOffset == c.at && l.bitsSize == c.pixels && l.width == c.h.w &&
                                  l.height == 2 && l.topDown == (c.h.h < 0))) << c.why;
    }
}

// Pointer events of the paint window at one point; what each asks: mark step, panel hidden/shown, cursor.
enum Event { LDown, LUp, RDown, RUp, MDown, MUp, Move, LOnPanel, ROnPanel, RUpOnPanel };
struct Did { MarkStep mark; bool hide, show; CursorStep cursor; };
constexpr Did k_ = {MarkStep::None, 0, 0, {}}, kNext = {MarkStep::NextPoint, 0, 0, {}}, kCommit = {MarkStep::Commit, 0, 0, {}};
constexpr Did kHover = {MarkStep::None, 0, 0, CursorStep::Hover}, kShow = {MarkStep::None, 0, 1, CursorStep::Hover};
constexpr Did kFirst = {MarkStep::FirstPoint, 1, 0, CursorStep::Tool}, kRevert = {MarkStep::Revert, 0, 0, CursorStep::Hover};

TEST(Gesture, TheStateTableTheWheelAndTheStrokeModes)
{
    const struct { std::vector<Event> events; bool visible; std::vector<Did> want; int held, by; const char* why; } rows[] = {
        {{LOnPanel, ROnPanel}, true, {k_, k_}, 0, 0, "idle presses over the panel are the panel's"},
        {{LDown, RDown, Move, LUp, RUp}, false, {kFirst, k_, kNext, k_, kRevert}, 0, 0, "right released last cancels"},
        {{LDown, RDown, RUp, LUp}, false, {kFirst, k_, kHover, kCommit}, 0, 0, "right released first: kept"},
        {{LDown, MDown, LUp, MUp}, false, {kFirst, k_, k_, k_}, 0, 0, "middle released last: neither"},
        {{LDown, RDown, LUp, LDown, RUp}, false, {kFirst, k_, k_, kNext, kHover}, 1, 1, "a left press resumes"},
        {{LDown, RDown, MDown, LUp, RUp}, false, {kFirst, k_, k_, k_, kHover}, 4, 1, "middle still held: no revert"},
        {{RDown, RUp}, true, {k_, kShow}, 0, 0, "a right click on the canvas shows the panel there"},
        {{ROnPanel, RUpOnPanel}, true, {k_, kHover}, 0, 0, "a right click on the visible panel leaves it"},
        {{RDown, LDown, Move, RUp}, false, {k_, k_, k_, kHover}, 1, 2, "a right gesture draws nothing"},
        {{MDown, RDown, RUp}, false, {k_, k_, kHover}, 4, 4, "no panel while the middle button leads"},
        {{LDown, LDown}, false, {kFirst, kNext}, 1, 1, "a second left press (its release lost) draws on"}};
    for (const auto& c : rows) {
        GestureState s;
        for (size_t i = 0; i < c.events.size(); ++i) {
            const Event e = c.events[i];
            const PointerContext at = {c.visible, e >= LOnPanel, false};
            const int b = e < RDown || e == LOnPanel ? kLeftButton : e == MDown || e == MUp ? kMiddleButton : kRightButton;
            const bool up = e == LUp || e == RUp || e == MUp || e == RUpOnPanel;
            const GestureAction a = e == Move ? GestureMove(s, {50, 50})
                                    : up ? GestureButtonUp(s, b, {50, 50}, at) : GestureButtonDown(s, b, {50, 50}, 0, at);
            const Did& w = c.want[i];
            EXPECT_TRUE(a.mark == w.mark && a.hidePanel == w.hide && a.showPanel == w.show && a.cursor == w.cursor)
                << c.why << i;
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
        ResetGestureButtons(s);
        EXPECT_EQ(std::accumulate(c.deltas.begin(), c.deltas.end(), 0u,
                                  [&](unsigned zoom, int d) { return ZoomAfterWheel(s, zoom, d); }), c.want) << c.why;
    }
    constexpr uint32_t kShift = 0x04, kCtrl = 0x08, kX1 = 0x20, kX2 = 0x40;  // MK_ flags
    const struct { uint32_t flags; int mode; } modes[] = {{0, kFreeStroke}, {kCtrl, kAxisLine}, {kX1, kAxisLine},
        {kShift, kRectangle}, {kX2, kRectangle}, {kCtrl | kShift, kFreeStroke}, {0x13, kFreeStroke}};
    for (const auto& c : modes)
        EXPECT_EQ(StrokeModeFromKeyFlags(c.flags), c.mode) << std::hex << c.flags;
    // Ctrl+drag from (100,100): the deciding movement draws nothing; then (160,101), its x held if vertical.
    const struct { POINT to; int lock, thenX; const char* why; } axes[] = {
        {{103, 107}, kAxisUndecided, 0, "3 across, 7 down; the next decides"}, {{96, 100}, kAxisHorizontal, 160, "4 across"},
        {{100, 92}, kAxisVertical, 100, "8 up locks vertical, once"}, {{104, 108}, kAxisHorizontal, 160, "across first"}};
    for (const auto& c : axes) {
        GestureButtonDown(s = {}, kLeftButton, {100, 100}, kCtrl, {});
        EXPECT_TRUE(GestureMove(s, c.to).mark == MarkStep::None && s.axisLock == c.lock) << c.why;
        EXPECT_EQ(GestureMove(s, {160, 101}).point.x, c.thenX) << c.why;
    }
    GestureButtonDown(s = {}, kLeftButton, {100, 100}, kCtrl, {false, false, true});
    EXPECT_EQ(GestureMove(s, {101, 130}).point.y, 100) << "a highlighter line is horizontal at once";
    EXPECT_EQ(GestureButtonDown(s = {}, kLeftButton, {10, 20}, kShift, {}).mark, MarkStep::None) << "a rectangle";
    EXPECT_EQ(GestureMove(s, {30, 40}).mark, MarkStep::Rectangle) << "starts blank, then follows the pointer";
}

}  // namespace
