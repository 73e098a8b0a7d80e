// Random pointer messages through the gesture steps, applied as the paint window applies them: the
// releases a message no longer reports first (middle, right, left), then the message itself. After
// every step the state must be one the gesture table lists, and every drawing step must belong to
// the state it came from.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "session/gesture.h"

namespace {

struct Bytes {
    const uint8_t* data;
    size_t size;
    uint8_t next()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    int16_t next16() { return static_cast<int16_t>(next() | next() << 8); }
};

[[noreturn]] void Broken(const char* what, const GestureState& s)
{
    std::fprintf(stderr, "%s: buttonsDown %d gestureButton %d strokeMode %d axisLock %d anchor (%ld,%ld)\n", what,
                 s.buttonsDown, s.gestureButton, s.strokeMode, s.axisLock, static_cast<long>(s.anchor.x),
                 static_cast<long>(s.anchor.y));
    std::abort();
}

// Idle, a left gesture (drawing, with others, suspended), a right or a middle gesture: nothing else.
void CheckListedState(const GestureState& s)
{
    const int g = s.gestureButton;
    if (g != 0 && g != kLeftButton && g != kRightButton && g != kMiddleButton)
        Broken("the gesture's button is no button", s);
    if ((s.buttonsDown & ~(kLeftButton | kRightButton | kMiddleButton)) != 0)
        Broken("a button the mouse does not have is held", s);
    if ((g == 0) != (s.buttonsDown == 0))
        Broken("a gesture without buttons, or buttons without a gesture", s);
    if (s.strokeMode < kFreeStroke || s.strokeMode > kRectangle || s.axisLock < kAxisUndecided ||
        s.axisLock > kAxisVertical)
        Broken("no such stroke mode or axis", s);
}

bool SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// What one step asked for must fit the state before it and the state it left.
void CheckStep(const GestureState& before, const GestureState& after, const GestureAction& a, int pressed,
               int released, POINT p)
{
    const bool leftGestureGoesOn = before.gestureButton == kLeftButton && after.gestureButton == kLeftButton;
    if (leftGestureGoesOn && (before.strokeMode != after.strokeMode || !SamePoint(before.anchor, after.anchor)))
        Broken("the press that began the stroke no longer decides its mode and anchor", after);
    if (leftGestureGoesOn && before.axisLock != kAxisUndecided && before.axisLock != after.axisLock)
        Broken("a decided axis changed during the line", after);

    const bool drawing = after.gestureButton == kLeftButton && (after.buttonsDown & kLeftButton);
    switch (a.mark) {
    case MarkStep::None:
        break;
    case MarkStep::FirstPoint:
        if (pressed != kLeftButton || before.gestureButton != 0 || !drawing || after.strokeMode == kRectangle ||
            !SamePoint(a.point, p) || !a.hidePanel)
            Broken("a first point outside the start of a stroke", after);
        break;
    case MarkStep::NextPoint:
        if (!drawing || after.strokeMode == kRectangle)
            Broken("a next point outside a stroke", after);
        if (after.strokeMode == kAxisLine &&
            (after.axisLock == kAxisUndecided || (after.axisLock == kAxisHorizontal && a.point.y != after.anchor.y) ||
             (after.axisLock == kAxisVertical && a.point.x != after.anchor.x)))
            Broken("a line left its axis", after);
        break;
    case MarkStep::Rectangle:
        if (!drawing || after.strokeMode != kRectangle)
            Broken("a rectangle outside a rectangle gesture", after);
        break;
    case MarkStep::Commit:
        if (released != kLeftButton || before.buttonsDown != kLeftButton || before.gestureButton != kLeftButton)
            Broken("a commit that is not the stroke's last release", before);
        break;
    case MarkStep::Revert:
        if (released != kRightButton || before.buttonsDown != kRightButton || before.gestureButton != kLeftButton)
            Broken("a revert that is not a suspended stroke's right release", before);
        break;
    }
    if (a.showPanel && (released != kRightButton || before.buttonsDown != kRightButton ||
                        before.gestureButton != kRightButton))
        Broken("the panel shown by anything but a right click", before);
    if (a.hidePanel && !(pressed == kLeftButton && before.gestureButton == 0 && after.gestureButton == kLeftButton))
        Broken("the panel hidden by anything but the start of a stroke", before);
}

void Release(GestureState& s, int button, POINT p, const PointerContext& c)
{
    const GestureState before = s;
    const GestureAction a = GestureButtonUp(s, button, p, c);
    CheckStep(before, s, a, 0, button, p);
    CheckListedState(s);
}

void ReleaseMissed(GestureState& s, uint32_t keyFlags, int except, POINT p, const PointerContext& c)
{
    const int missed = MissedReleases(s, keyFlags, except);
    if ((missed & ~s.buttonsDown) != 0 || (missed & except) != 0)
        Broken("a missed release of a button the gesture does not hold", s);
    for (int button : kReleaseOrder) {
        if (missed & button)
            Release(s, button, p, c);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes in = {data, size};
    GestureState s;
    unsigned zoom = 0;
    while (in.size > 0) {
        const uint8_t op = in.next();
        const int button = 1 << (in.next() % 3);
        const POINT p = {in.next16(), in.next16()};  // lParam's words, sign-extended
        const uint32_t keyFlags = in.next() & 0x7F;
        const uint8_t facts = in.next();
        PointerContext c;
        c.panelWasVisible = facts & 1;
        c.overPanel = facts & 2;
        c.highlighterPen = facts & 4;

        switch (op % 6) {
        case 0: {
            ReleaseMissed(s, keyFlags, 0, p, c);
            const GestureState pressedFrom = s;
            const GestureAction a = GestureButtonDown(s, button, p, keyFlags, c);
            CheckStep(pressedFrom, s, a, button, 0, p);
            break;
        }
        case 1:
            ReleaseMissed(s, keyFlags, button, p, c);
            Release(s, button, p, c);
            break;
        case 2: {
            ReleaseMissed(s, keyFlags, 0, p, c);
            const GestureState movedFrom = s;
            const GestureAction a = GestureMove(s, p);
            CheckStep(movedFrom, s, a, 0, 0, p);
            break;
        }
        case 3:  // no stroke starts and no button is taken
            ReleaseMissed(s, keyFlags, 0, p, c);
            CheckStep(s, s, GestureDoubleClick(), 0, 0, p);
            break;
        case 4: {
            const unsigned next = ZoomAfterWheel(zoom, p.x);
            const unsigned step = next > zoom ? next - zoom : zoom - next;
            if (next > kMaxZoomLevel || step > 1 || (p.x > 0 && next < zoom) || (p.x < 0 && next > zoom) ||
                (p.x == 0 && next != zoom))
                Broken("the wheel skipped a level or left the range", s);
            zoom = next;
            break;
        }
        case 5:
            ResetGestureButtons(s);  // a new paint window
            break;
        }
        CheckListedState(s);
    }
    return 0;
}
