// Random pointer messages through the gesture steps, applied as the paint window applies them: the
// releases a message no longer reports first (middle, right, left), then the message itself. After
// every step the state must be one the gesture table lists. What each step asks for is the table's
// business, walked row by row in the unit tests.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "session/gesture.h"

namespace {

GestureState s;

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "%s: buttonsDown %d gestureButton %d strokeMode %d axisLock %d\n", what, s.buttonsDown,
                     s.gestureButton, s.strokeMode, s.axisLock);
        std::abort();
    }
}

// Idle, a left gesture (drawing, with others, suspended), a right or a middle gesture: nothing else.
void CheckListedState()
{
    const int g = s.gestureButton, all = kLeftButton | kRightButton | kMiddleButton;
    Require(g == 0 || g == kLeftButton || g == kRightButton || g == kMiddleButton, "the gesture's button is no button");
    Require((s.buttonsDown & ~all) == 0, "a button the mouse does not have is held");
    Require((g == 0) == (s.buttonsDown == 0), "a gesture without buttons, or buttons without a gesture");
    Require(s.strokeMode >= kFreeStroke && s.strokeMode <= kRectangle && s.axisLock >= kAxisUndecided &&
                s.axisLock <= kAxisVertical, "no such stroke mode or axis");
}

void ReleaseMissed(uint32_t keyFlags, int except, POINT p, const PointerContext& c)
{
    const int missed = MissedReleases(s, keyFlags, except);
    Require((missed & ~s.buttonsDown) == 0 && (missed & except) == 0,
            "a missed release of a button the gesture does not hold");
    for (int button : kReleaseOrder)
        if (missed & button) {
            GestureButtonUp(s, button, p, c);
            CheckListedState();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto next = [&]() -> uint8_t { return size ? (--size, *data++) : 0; };
    s = GestureState();
    unsigned zoom = 0;
    while (size > 0) {
        const uint8_t op = next() % 6;
        const int button = 1 << (next() % 3);
        const int16_t x = static_cast<int16_t>(next() | next() << 8), y = static_cast<int16_t>(next() | next() << 8);
        const POINT p = {x, y};  // lParam's words, sign-extended
        const uint32_t keyFlags = next() & 0x7F;
        const uint8_t facts = next();
        const PointerContext c = {(facts & 1) != 0, (facts & 2) != 0, (facts & 4) != 0};
        // Presses, releases, moves and double-clicks (which take no button: only the missed releases).
        if (op < 4)
            ReleaseMissed(keyFlags, op == 1 ? button : 0, p, c);
        if (op == 0)
            GestureButtonDown(s, button, p, keyFlags, c);
        else if (op == 1)
            GestureButtonUp(s, button, p, c);
        else if (op == 2)
            GestureMove(s, p);
        else if (op == 4) {
            const int before = std::abs(s.wheelDelta), moved = int(ZoomAfterWheel(s, zoom, x)) - int(zoom);
            Require(zoom + moved <= kMaxZoomLevel && std::abs(s.wheelDelta) < kWheelDelta && s.wheelDelta * x >= 0 &&
                        moved * x >= 0 && std::abs(moved) <= (before + std::abs(x)) / kWheelDelta,
                    "the wheel moved against its turn or beyond it, or left the range");
            zoom += moved;
        } else if (op == 5)
            ResetGestureButtons(s);  // a new paint window
        CheckListedState();
    }
    return 0;
}
