// Gesture and view state of the paint window. Kept for the whole run; the first three gesture fields
// are reset whenever a paint window is created.
#pragma once
#include <windows.h>

extern int buttonsDown;              // mouse buttons taken by a canvas gesture: 1 left, 2 right, 4 middle
extern int gestureButton;            // the button that began the gesture, 0 when none
extern bool panelShownAtRightPress;
extern int strokeMode;               // 0 free, 1 axis-locked line, 2 rectangle
extern int axisLock;                 // 0 undecided, 1 horizontal, 2 vertical
extern POINT anchor;                 // where the left-button gesture began

extern unsigned zoomLevel;           // 0..5, the view is magnified zoomLevel + 1 times
extern POINT lastPointer;            // last pointer position, client coordinates

// The paint window of the running session, null between sessions. Panel notifications may name an
// earlier session's window, so composition goes by this one.
extern HWND sessionWindow;
