#include "session/gesture.h"

namespace {

// The system's key-state flags of mouse messages, spelled here so that this file builds natively.
constexpr uint32_t kMkLeft = 0x01, kMkRight = 0x02, kMkShift = 0x04, kMkControl = 0x08, kMkMiddle = 0x10;
constexpr uint32_t kMkXButton1 = 0x20, kMkXButton2 = 0x40;

int Distance(int a, int b)
{
    return a > b ? a - b : b - a;
}

// Forgets a released button; the gesture ends when nothing it took is held any more.
void Remove(GestureState& s, int button)
{
    s.buttonsDown &= ~button;
    if (s.buttonsDown == 0)
        s.gestureButton = 0;
}

// A movement of the left-button gesture to p: the rubber band, the axis decision or the next point.
GestureAction DrawTo(GestureState& s, POINT p)
{
    GestureAction a;
    if (s.strokeMode == kRectangle) {
        a.mark = MarkStep::Rectangle;
        a.point = p;
        return a;
    }
    if (s.strokeMode == kAxisLine && s.axisLock == kAxisUndecided) {
        // The horizontal test comes first and needs less travel: lines are mostly written along text.
        if (Distance(p.x, s.anchor.x) >= kHorizontalLockDistance)
            s.axisLock = kAxisHorizontal;
        else if (Distance(p.y, s.anchor.y) >= kVerticalLockDistance)
            s.axisLock = kAxisVertical;
        return a;  // the deciding movement draws nothing
    }
    if (s.strokeMode == kAxisLine) {
        if (s.axisLock == kAxisHorizontal)
            p.y = s.anchor.y;
        else
            p.x = s.anchor.x;
    }
    a.mark = MarkStep::NextPoint;
    a.point = p;
    return a;
}

GestureAction LeftDown(GestureState& s, POINT p, uint32_t keyFlags, const PointerContext& c)
{
    GestureAction a;
    if (s.gestureButton == 0 && c.overPanel)
        return a;  // the click belongs to the panel
    s.buttonsDown |= kLeftButton;
    if (s.gestureButton == kLeftButton)
        return DrawTo(s, p);  // resumes a stroke whose left button was let go while another stayed held
    if (s.gestureButton != 0)
        return a;  // recorded, but a right or middle gesture draws nothing
    s.gestureButton = kLeftButton;
    a.hidePanel = true;
    const int mode = StrokeModeFromKeyFlags(keyFlags);
    if (mode != kRectangle) {
        a.mark = MarkStep::FirstPoint;
        a.point = p;
    }
    s.strokeMode = mode;
    s.axisLock = c.highlighterPen ? kAxisHorizontal : kAxisUndecided;
    s.anchor = p;
    a.cursor = CursorStep::Tool;
    return a;
}

}  // namespace

void ResetGestureButtons(GestureState& s)
{
    s.buttonsDown = 0;
    s.gestureButton = 0;
    s.panelShownAtRightPress = false;
    s.wheelDelta = 0;
}

int StrokeModeFromKeyFlags(uint32_t keyFlags)
{
    int mode = 0;
    if (keyFlags & (kMkControl | kMkXButton1))
        mode |= kAxisLine;
    if (keyFlags & (kMkShift | kMkXButton2))
        mode |= kRectangle;
    return mode == (kAxisLine | kRectangle) ? kFreeStroke : mode;
}

GestureAction GestureButtonDown(GestureState& s, int button, POINT p, uint32_t keyFlags, const PointerContext& c)
{
    if (button == kLeftButton)
        return LeftDown(s, p, keyFlags, c);
    if (button == kRightButton)
        s.panelShownAtRightPress = c.panelWasVisible;
    if (s.gestureButton == 0 && c.overPanel)
        return GestureAction{};
    s.buttonsDown |= button;
    if (s.gestureButton == 0)
        s.gestureButton = button;
    return GestureAction{};
}

GestureAction GestureButtonUp(GestureState& s, int button, POINT p, const PointerContext& c)
{
    GestureAction a;
    if (button == kLeftButton) {
        if (s.buttonsDown == kLeftButton && s.gestureButton == kLeftButton)
            a.mark = MarkStep::Commit;
    } else if (button == kRightButton) {
        if (s.buttonsDown == kRightButton && s.gestureButton == kLeftButton)
            a.mark = MarkStep::Revert;
        else if (s.buttonsDown == kRightButton && s.gestureButton == kRightButton)
            a.showPanel = !(s.panelShownAtRightPress && c.overPanel);
        a.point = p;
        a.cursor = CursorStep::Hover;
    }
    Remove(s, button);
    return a;
}

GestureAction GestureMove(GestureState& s, POINT p)
{
    if (s.buttonsDown & kLeftButton)
        return s.gestureButton == kLeftButton ? DrawTo(s, p) : GestureAction{};
    GestureAction a;
    if (s.buttonsDown == 0)
        a.cursor = CursorStep::Hover;
    return a;
}

GestureAction GestureDoubleClick()
{
    GestureAction a;
    a.cursor = CursorStep::Hover;
    return a;
}

int HeldButtons(uint32_t keyFlags)
{
    int held = 0;
    if (keyFlags & kMkLeft)
        held |= kLeftButton;
    if (keyFlags & kMkRight)
        held |= kRightButton;
    if (keyFlags & kMkMiddle)
        held |= kMiddleButton;
    return held;
}

int MissedReleases(const GestureState& s, uint32_t keyFlags, int except)
{
    return s.buttonsDown & ~HeldButtons(keyFlags) & ~except;
}

unsigned ZoomAfterWheel(GestureState& s, unsigned zoomLevel, int delta)
{
    if ((delta > 0 && s.wheelDelta < 0) || (delta < 0 && s.wheelDelta > 0))
        s.wheelDelta = 0;
    s.wheelDelta += delta;
    for (; s.wheelDelta >= kWheelDelta; s.wheelDelta -= kWheelDelta)
        zoomLevel += zoomLevel < kMaxZoomLevel;
    for (; s.wheelDelta <= -kWheelDelta; s.wheelDelta += kWheelDelta)
        zoomLevel -= zoomLevel > 0;
    return zoomLevel;
}
