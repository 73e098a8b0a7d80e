#include "session/paint_state.h"

GestureState gesture;
unsigned zoomLevel;
POINT lastPointer;
UndoHistory undoHistory;
