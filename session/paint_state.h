// Gesture and view state of the paint window, kept for the whole run. The gesture's buttons are
// forgotten whenever a paint window is created.
#pragma once
#include "session/gesture.h"

extern GestureState gesture;
extern unsigned zoomLevel;   // 0..5, the view is magnified zoomLevel + 1 times
extern POINT lastPointer;    // last pointer position, client coordinates
