// The session's plain rules: rectangles, clipboard bitmap layouts and the pointer gestures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/rect.h"
#include "session/dib_layout.h"
#include "session/gesture.h"

namespace {

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(Rect, FromSizeNormalisesSignedSizesAndUnionKeepsEmptyCorners)
{
    EXPECT_EQ(Text(RectFromSize({10, 10}, {5, 3})), "10,10-15,13") << "a positive size grows right and down";
    EXPECT_EQ(Text(RectFromSize({10, 10}, {-5, 3})), "5,10-10,13") << "a negative width extends left of the origin";
    EXPECT_EQ(Text(RectFromSize({10, 10}, {5, -3})), "10,7-15,10") << "a negative height extends above it";
    EXPECT_EQ(Text(RectFromSize({-4, -6}, {0, 0})), "-4,-6--4,-6") << "a zero size is empty at the origin";
    EXPECT_EQ(Text(RectUnion({5, 5, 6, 6}, {0, 0, 0, 0})), "0,0-6,6") << "an empty rectangle still widens the union";
    EXPECT_EQ(Text(RectUnion({1, 2, 3, 4}, {-3, 5, 2, 9})), "-3,2-3,9");
}

TEST(Rect, ContainsLeftAndTopEdgesButNotRightAndBottom)
{
    const RECT r = {10, 20, 30, 40}, left = {-1024, -10, 0, 10};
    const struct { RECT r; POINT p; bool want; const char* why; } cases[] = {
        {r, {10, 20}, true, "top-left corner"},
        {r, {29, 39}, true, "last pixel"},
        {r, {30, 25}, false, "right edge"},
        {r, {15, 40}, false, "bottom edge"},
        {r, {9, 25}, false, "just left"},
        {r, {15, 19}, false, "just above"},
        {r, {-1, -1}, false, "a negative point wraps to a huge unsigned offset"},
        {{5, 5, 5, 9}, {5, 5}, false, "an empty rectangle contains nothing"},
        {left, {-1024, -10}, true, "a monitor left of the primary one: its corner"},
        {left, {0, 0}, false, "its right edge"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RectContains(c.r, c.p), c.want) << c.why << ": " << c.p.x << "," << c.p.y << " in " << Text(c.r);
}

struct Header {  // BITMAPINFOHEADER
    uint32_t size;
    int32_t width, height;
    uint16_t planes, bitCount;
    uint32_t compression, sizeImage;
    int32_t xPerMeter, yPerMeter;
    uint32_t colorsUsed, colorsImportant;
};
static_assert(sizeof(Header) == 40, "BITMAPINFOHEADER layout");

Header H(uint16_t bits, int32_t width = 4, int32_t height = 2, uint32_t compression = 0, uint32_t colorsUsed = 0,
         uint32_t size = 40, uint16_t planes = 1)
{
    return Header{size, width, height, planes, bits, compression, 0, 0, 0, colorsUsed, 0};
}

// "pixels at 40, 24 bytes, 3x2" (and " top-down") for a block of the header, `extra` bytes (masks,
// colour table) and `pixels` bytes; "refused" when the block must not be handed to GDI.
std::string Layout(const Header& h, size_t extra, size_t pixels, size_t blockSize = SIZE_MAX)
{
    std::vector<unsigned char> block(sizeof(Header) + extra + pixels, 0xCC);
    std::memcpy(block.data(), &h, sizeof(h));
    DibLayout l{};
    if (!ReadDibLayout(block.data(), std::min(blockSize, block.size()), l))
        return "refused";
    return "pixels at " + std::to_string(l.bitsOffset) + ", " + std::to_string(l.bitsSize) + " bytes, " +
           std::to_string(l.width) + "x" + std::to_string(l.height) + (l.topDown ? " top-down" : "");
}

TEST(DibLayout, FindsThePixelsOfEachClipboardLayoutOrRefusesTheBlock)
{
    const struct { Header h; size_t extra, pixels; const char *want, *why; } cases[] = {
        {H(24, 3), 0, 24, "pixels at 40, 24 bytes, 3x2", "24 bits, no colour table, rows padded to 4 bytes"},
        {H(32, 4, 2, 3), 12, 32, "pixels at 52, 32 bytes, 4x2", "32 bits with bit fields: the masks after the header"},
        {H(32, 4, -2, 3, 0, 124), 84, 32, "pixels at 124, 32 bytes, 4x2 top-down", "a V5 header holds its masks"},
        {H(8, 5), 1024, 16, "pixels at 1064, 16 bytes, 5x2", "8 bits, colorsUsed 0: a 256-entry table"},
        {H(8, 5, 2, 0, 16), 64, 16, "pixels at 104, 16 bytes, 5x2", "8 bits, 16 colours used"},
        {H(32, 4, 2, 0, 2), 8, 32, "pixels at 48, 32 bytes, 4x2", "32 bits with an optimisation palette"},
        {H(1, 33), 8, 16, "pixels at 48, 16 bytes, 33x2", "1 bit, two colours, 33 pixels need 8 bytes a row"},
        {H(24), 0, 23, "refused", "pixel area one byte short"},
        {H(24, 40000), 0, 24, "refused", "absurd width"},
        {H(24, 0), 0, 24, "refused", "zero width"},
        {H(24, -4), 0, 24, "refused", "negative width"},
        {H(24, 4, 0), 0, 24, "refused", "zero height"},
        {H(24, 4, INT32_MIN), 0, 24, "refused", "the most negative height cannot be negated"},
        {H(24, 4, 40000), 0, 24, "refused", "absurd height"},
        {H(7), 0, 24, "refused", "unknown bit count"},
        {H(0), 0, 24, "refused", "JPEG or PNG inside a DIB"},
        {H(8, 4, 2, 1), 1024, 100, "refused", "run-length compression"},
        {H(24, 4, 2, 3), 12, 24, "refused", "bit fields need 16 or 32 bits"},
        {H(24, 4, 2, 0, 0, 40, 2), 0, 24, "refused", "planes must be 1"},
        {H(24, 4, 2, 0, 0, 12), 0, 24, "refused", "an OS/2 core header is not what CF_DIB holds"},
        {H(24, 4, 2, 0, 0, 0x7FFFFFFF), 0, 24, "refused", "a header larger than the block"},
        {H(8, 4, 2, 0, 257), 1028, 16, "refused", "more table entries than 8 bits can index"},
        {H(24, 4, 2, 0, 0xFFFFFFFF), 0, 24, "refused", "a colour count that would overflow the offset"},
        {H(8), 0, 16, "refused", "8 bits without room for their table"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Layout(c.h, c.extra, c.pixels), c.want) << c.why;
    EXPECT_EQ(Layout(H(24), 0, 24, 39), "refused") << "a block smaller than a header";
    DibLayout l;
    EXPECT_FALSE(ReadDibLayout(nullptr, 100, l)) << "no block";
}

// The pointer gestures of the paint window, event by event, with the panel and the tool as plain facts.
constexpr uint32_t kMkLeft = 0x01, kMkRight = 0x02, kMkShift = 0x04, kMkControl = 0x08, kMkMiddle = 0x10;

// The mark (F first point, N next, R rectangle, C commit, V revert, - none), then h when the panel
// is hidden, s when shown, t for the tool cursor, o for the hover rule.
std::string Describe(const GestureAction& a)
{
    return std::string(1, "-FNRCV"[static_cast<int>(a.mark)]) + (a.hidePanel ? "h" : "") + (a.showPanel ? "s" : "") +
           (a.cursor == CursorStep::Tool ? "t" : a.cursor == CursorStep::Hover ? "o" : "");
}

// Events such as "L+ mv R+ L- R-" (Left, Right, Middle pressed and released; mv a movement; '*' over
// the panel; W-40 a wheel turn; new a new paint window) and what each asked for (z and the zoom
// level for those two), then the buttons held and the leading one.
std::string Walk(const std::string& events, bool panelVisible)
{
    GestureState s;
    std::istringstream in(events);
    std::string event, out;
    unsigned zoom = 0;
    for (const POINT p = {50, 50}; in >> event;) {
        if (event[0] == 'W' || event == "new") {
            zoom = event == "new" ? (ResetGestureButtons(s), zoom) : ZoomAfterWheel(s, zoom, std::stoi(event.substr(1)));
            out += "z" + std::to_string(zoom) + " ";
            continue;
        }
        const PointerContext c = {panelVisible, event.back() == '*', false};
        const int button = event[0] == 'L' ? kLeftButton : event[0] == 'R' ? kRightButton : kMiddleButton;
        out += Describe(event == "mv"      ? GestureMove(s, p)
                        : event[1] == '+' ? GestureButtonDown(s, button, p, 0, c)
                                          : GestureButtonUp(s, button, p, c)) + " ";
    }
    return out + "held " + std::to_string(s.buttonsDown) + " by " + std::to_string(s.gestureButton);
}

TEST(Gesture, EveryRowOfTheStateTable)
{
    const struct { const char* events; bool panelVisible; const char *want, *why; } cases[] = {
        {"L+* R+* M+*", true, "- - - held 0 by 0", "idle presses over the panel belong to the panel"},
        {"L+ mv L-", false, "Fht N C held 0 by 0", "a stroke: first point, next point, commit"},
        {"L+ R+ L- R-", false, "Fht - - Vo held 0 by 0", "right pressed during the stroke and released last cancels it"},
        {"L+ R+ R- L-", false, "Fht - -o C held 0 by 0", "right released first: the stroke is committed"},
        {"L+ M+ L- M-", false, "Fht - - - held 0 by 0", "middle released last: neither commit nor revert"},
        {"L+ R+ L- L+ R- L-", false, "Fht - - N -o C held 0 by 0", "a left press while suspended resumes the stroke"},
        {"L+ R+ M+ L- R-", false, "Fht - - - -o held 4 by 1", "right released with middle still held: no revert"},
        {"L+ R+ M+ L- R- M-", false, "Fht - - - -o - held 0 by 0", "then middle: idle, nothing committed"},
        {"L+ mv R+ mv", false, "Fht N - N held 3 by 1", "drawing with other buttons held keeps drawing"},
        {"R+ R-", false, "- -so held 0 by 0", "a right click on the canvas shows the panel"},
        {"R+* R-*", true, "- -o held 0 by 0", "a right click that starts and ends on the visible panel leaves it"},
        {"R+ R-", true, "- -so held 0 by 0", "the visible panel moves to a right click elsewhere"},
        {"R+ L+ mv L- R-", false, "- - - - -so held 0 by 0", "a left press during a right gesture is ignored"},
        {"M+ L+ mv M- L-", false, "- - - - - held 0 by 0", "a middle gesture draws nothing"},
        {"M+ R+ R-", false, "- - -o held 4 by 4", "no panel while the middle button leads"},
        {"L+ L+", false, "Fht N held 1 by 1", "a second left press (its release lost) continues the stroke"},
        {"W40 W40 W40 W240 W-120", false, "z0 z0 z1 z3 z2 held 0 by 0", "the wheel: a level per 120 turned, not per message"},
        {"W80 W-40 W80 new W80", false, "z0 z0 z0 z0 z0 held 0 by 0", "a reversal or a new session counts afresh"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Walk(c.events, c.panelVisible), c.want) << c.events << ": " << c.why;
}

TEST(Gesture, StrokeModeFromTheKeysAtThePress)
{
    const struct { uint32_t flags; int mode; const char* why; } cases[] = {
        {0, kFreeStroke, "no key"},
        {kMkControl, kAxisLine, "Ctrl"},
        {0x20, kAxisLine, "the first extra button acts as Ctrl"},
        {kMkShift, kRectangle, "Shift"},
        {0x40, kRectangle, "the second extra button acts as Shift"},
        {kMkControl | kMkShift, kFreeStroke, "both give a free stroke"},
        {0x20 | kMkShift, kFreeStroke, "both, one of them a button"},
        {kMkLeft | kMkRight | kMkMiddle, kFreeStroke, "button flags alone are no modifier"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrokeModeFromKeyFlags(c.flags), c.mode) << c.why;
    GestureState s;
    EXPECT_EQ(Describe(GestureButtonDown(s, kLeftButton, {10, 20}, kMkShift, {})), "-ht") << "a rectangle starts blank";
    EXPECT_EQ(Describe(GestureMove(s, {30, 40})), "R");
}

// Ctrl+drag from (100,100), each row's point the first movement.
TEST(Gesture, AxisLockDecidedOnceAtFourAcrossOrEightDown)
{
    const struct { POINT to; int lock; const char* why; } cases[] = {
        {{103, 107}, kAxisUndecided, "3 across and 7 down"},
        {{104, 100}, kAxisHorizontal, "4 across locks horizontal"},
        {{96, 100}, kAxisHorizontal, "4 to the left too"},
        {{100, 108}, kAxisVertical, "8 down locks vertical"},
        {{100, 92}, kAxisVertical, "8 up"},
        {{104, 108}, kAxisHorizontal, "the horizontal test comes first"},
    };
    for (const auto& c : cases) {
        GestureState s;
        GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
        EXPECT_EQ(Describe(GestureMove(s, c.to)), "-") << c.why << ": the deciding move draws nothing";
        EXPECT_EQ(s.axisLock, c.lock) << c.why;
    }
    GestureState s, h;
    GestureButtonDown(s, kLeftButton, {100, 100}, kMkControl, {});
    GestureMove(s, {100, 108});
    const POINT p = GestureMove(s, {130, 140}).point;
    EXPECT_EQ(std::to_string(p.x) + "," + std::to_string(p.y), "100,140") << "vertical holds x at the anchor's";
    GestureMove(s, {160, 101});
    EXPECT_EQ(s.axisLock, kAxisVertical) << "decided once";
    GestureButtonDown(h, kLeftButton, {100, 100}, kMkControl, {false, false, true});
    EXPECT_EQ(GestureMove(h, {101, 130}).point.y, 100) << "a highlighter line is horizontal at once";
}

}  // namespace
