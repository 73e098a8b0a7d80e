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

GestureState s;

void Require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s: buttonsDown %d gestureButton %d strokeMode %d axisLock %d anchor (%ld,%ld)\n", what,
                 s.buttonsDown, s.gestureButton, s.strokeMode, s.axisLock, static_cast<long>(s.anchor.x),
                 static_cast<long>(s.anchor.y));
    std::abort();
}

// Idle, a left gesture (drawing, with others, suspended), a right or a middle gesture: nothing else.
void CheckListedState()
{
    const int g = s.gestureButton, all = kLeftButton | kRightButton | kMiddleButton;
    Require(g == 0 || g == kLeftButton || g == kRightButton || g == kMiddleButton, "the gesture's button is no button");
    Require((s.buttonsDown & ~all) == 0, "a button the mouse does not have is held");
    Require((g == 0) == (s.buttonsDown == 0), "a gesture without buttons, or buttons without a gesture");
    Require(s.strokeMode >= kFreeStroke && s.strokeMode <= kRectangle && s.axisLock >= kAxisUndecided &&
                s.axisLock <= kAxisVertical,
            "no such stroke mode or axis");
}

// What one step asked for must fit the state before it and the state it left (s).
void CheckStep(const GestureState& before, const GestureAction& a, int pressed, int released, POINT p)
{
    const bool goesOn = before.gestureButton == kLeftButton && s.gestureButton == kLeftButton;
    Require(!goesOn || (before.strokeMode == s.strokeMode && before.anchor.x == s.anchor.x &&
                        before.anchor.y == s.anchor.y),
            "the press that began the stroke no longer decides its mode and anchor");
    Require(!goesOn || before.axisLock == kAxisUndecided || before.axisLock == s.axisLock,
            "a decided axis changed during the line");
    const bool drawing = s.gestureButton == kLeftButton && (s.buttonsDown & kLeftButton);
    const bool lastRelease = before.buttonsDown == released && released != 0;
    switch (a.mark) {
    case MarkStep::None:
        break;
    case MarkStep::FirstPoint:
        Require(pressed == kLeftButton && before.gestureButton == 0 && drawing && s.strokeMode != kRectangle &&
                    a.point.x == p.x && a.point.y == p.y && a.hidePanel,
                "a first point outside the start of a stroke");
        break;
    case MarkStep::NextPoint:
        Require(drawing && s.strokeMode != kRectangle, "a next point outside a stroke");
        Require(s.strokeMode != kAxisLine ||
                    (s.axisLock == kAxisHorizontal && a.point.y == s.anchor.y) ||
                    (s.axisLock == kAxisVertical && a.point.x == s.anchor.x),
                "a line left its axis");
        break;
    case MarkStep::Rectangle:
        Require(drawing && s.strokeMode == kRectangle, "a rectangle outside a rectangle gesture");
        break;
    case MarkStep::Commit:
        Require(released == kLeftButton && lastRelease && before.gestureButton == kLeftButton,
                "a commit that is not the stroke's last release");
        break;
    case MarkStep::Revert:
        Require(released == kRightButton && lastRelease && before.gestureButton == kLeftButton,
                "a revert that is not a suspended stroke's right release");
        break;
    }
    Require(!a.showPanel || (released == kRightButton && lastRelease && before.gestureButton == kRightButton),
            "the panel shown by anything but a right click");
    Require(!a.hidePanel || (pressed == kLeftButton && before.gestureButton == 0 && s.gestureButton == kLeftButton),
            "the panel hidden by anything but the start of a stroke");
    CheckListedState();
}

void Release(int button, POINT p, const PointerContext& c)
{
    const GestureState before = s;
    CheckStep(before, GestureButtonUp(s, button, p, c), 0, button, p);
}

void ReleaseMissed(uint32_t keyFlags, int except, POINT p, const PointerContext& c)
{
    const int missed = MissedReleases(s, keyFlags, except);
    Require((missed & ~s.buttonsDown) == 0 && (missed & except) == 0,
            "a missed release of a button the gesture does not hold");
    for (int button : kReleaseOrder)
        if (missed & button)
            Release(button, p, c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto next = [&]() -> uint8_t { return size ? (--size, *data++) : 0; };
    s = GestureState();
    unsigned zoom = 0;
    while (size > 0) {
        const uint8_t op = next();
        const int button = 1 << (next() % 3);
        const int16_t x = static_cast<int16_t>(next() | next() << 8), y = static_cast<int16_t>(next() | next() << 8);
        const POINT p = {x, y};  // lParam's words, sign-extended
        const uint32_t keyFlags = next() & 0x7F;
        const uint8_t facts = next();
        const PointerContext c = {(facts & 1) != 0, (facts & 2) != 0, (facts & 4) != 0};
        switch (op % 6) {
        case 0:
            ReleaseMissed(keyFlags, 0, p, c);
            {
                const GestureState pressedFrom = s;
                CheckStep(pressedFrom, GestureButtonDown(s, button, p, keyFlags, c), button, 0, p);
            }
            break;
        case 1:
            ReleaseMissed(keyFlags, button, p, c);
            Release(button, p, c);
            break;
        case 2:
            ReleaseMissed(keyFlags, 0, p, c);
            {
                const GestureState movedFrom = s;
                CheckStep(movedFrom, GestureMove(s, p), 0, 0, p);
            }
            break;
        case 3:  // no stroke starts and no button is taken
            ReleaseMissed(keyFlags, 0, p, c);
            CheckStep(s, GestureDoubleClick(), 0, 0, p);
            break;
        case 4: {
            const unsigned to = ZoomAfterWheel(zoom, x);
            Require(to <= kMaxZoomLevel && to == (x > 0 ? zoom + (zoom < kMaxZoomLevel) : x < 0 ? zoom - (zoom > 0) : zoom),
                    "the wheel skipped a level or left the range");
            zoom = to;
            break;
        }
        case 5:
            ResetGestureButtons(s);  // a new paint window
            break;
        }
        CheckListedState();
    }
    return 0;
}
