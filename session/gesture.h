// The pointer gestures of the paint window as plain data: which buttons a canvas gesture holds, how
// a left-button gesture draws, and what each mouse event asks of the window. No Win32 call here, so
// every row of the state table can be walked natively, without a window.
#pragma once
#include <cstdint>

#include "shell/base/geometry.h"

// Mouse buttons as bits, wherever a button is passed or a mask is kept.
enum : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

enum StrokeMode : int { kFreeStroke = 0, kAxisLine = 1, kRectangle = 2 };
enum AxisLock : int { kAxisUndecided = 0, kAxisHorizontal = 1, kAxisVertical = 2 };

// Pixels the pointer must move from the anchor before an axis-locked line picks its axis.
constexpr int kHorizontalLockDistance = 4;
constexpr int kVerticalLockDistance = 8;
constexpr unsigned kMaxZoomLevel = 5;

struct GestureState {
    int buttonsDown = 0;    // buttons whose press a canvas gesture took
    int gestureButton = 0;  // the button that began the gesture; 0 when none
    bool panelShownAtRightPress = false;
    int strokeMode = kFreeStroke;
    int axisLock = kAxisUndecided;
    POINT anchor = {0, 0};  // where the left-button gesture began
    int wheelDelta = 0;     // rotation towards the next zoom level, in one direction
};

// What the window does with the pen or the eraser for one event.
enum class MarkStep : uint8_t { None, FirstPoint, NextPoint, Rectangle, Commit, Revert };
// None: leave the cursor; Hover: the arrow over the panel, the tool's cursor elsewhere, set only
// when it changes; Tool: the tool's cursor, set even when it is already current.
enum class CursorStep : uint8_t { None, Hover, Tool };

// The window's work for one event, in this order: hide the panel, the mark step at `point`, show the
// panel at `point`, the cursor.
struct GestureAction {
    bool hidePanel = false;
    MarkStep mark = MarkStep::None;
    POINT point = {0, 0};
    bool showPanel = false;
    CursorStep cursor = CursorStep::None;
};

// What the window knows about the panel and the tool at the event. The panel sees every press,
// release and double-click before the gesture does: `overPanel` is asked after the panel's handler.
struct PointerContext {
    bool panelWasVisible = false;  // before the panel's handler ran
    bool overPanel = false;
    bool highlighterPen = false;  // the pen is the tool and the highlighter is on
};

// Forgets the buttons and the wheel's rotation at the creation of a paint window; the stroke fields
// stay as they were.
void ResetGestureButtons(GestureState& s);

// The stroke mode from the key-state flags of the press: Ctrl or the first extra button for a line,
// Shift or the second for a rectangle, both or neither for a free stroke.
int StrokeModeFromKeyFlags(uint32_t keyFlags);

GestureAction GestureButtonDown(GestureState& s, int button, POINT p, uint32_t keyFlags, const PointerContext& c);
GestureAction GestureButtonUp(GestureState& s, int button, POINT p, const PointerContext& c);
GestureAction GestureMove(GestureState& s, POINT p);
// A double-click message: only the cursor; no stroke starts and no button is recorded.
GestureAction GestureDoubleClick();

// The buttons (1 left, 2 right, 4 middle) whose flags a mouse message's key state sets.
int HeldButtons(uint32_t keyFlags);

// Buttons the gesture holds whose key-state flag is clear in `keyFlags`: their release happened where
// the window could not see it (the pointer is never captured). `except` is the button whose own
// release message this is. The window releases them middle first and left last (kReleaseOrder), so
// that a stroke whose releases were all lost is committed rather than cancelled.
int MissedReleases(const GestureState& s, uint32_t keyFlags, int except);
constexpr int kReleaseOrder[3] = {kMiddleButton, kRightButton, kLeftButton};

// One level per whole WHEEL_DELTA (120) of rotation in one direction, 0..kMaxZoomLevel. A precision
// touchpad or a free-spinning wheel sends many small deltas; they add up, and a change of direction
// starts the count again.
constexpr int kWheelDelta = 120;
unsigned ZoomAfterWheel(GestureState& s, unsigned zoomLevel, int delta);
