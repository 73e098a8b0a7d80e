// Gesture and view state of the paint window, kept for the whole run. The gesture's buttons are
// forgotten whenever a paint window is created.
#pragma once
#include "render/undo_history.h"
#include "session/gesture.h"

extern GestureState gesture;
extern unsigned zoomLevel;       // 0..5, the view is magnified zoomLevel + 1 times
extern POINT lastPointer;        // last pointer position, client coordinates
extern UndoHistory undoHistory;  // the session's committed marks, emptied when it ends
