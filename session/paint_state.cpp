#include "session/paint_state.h"

int buttonsDown;
int gestureButton;
bool panelShownAtRightPress;
int strokeMode;
int axisLock;
POINT anchor;
unsigned zoomLevel;
POINT lastPointer;
HWND sessionWindow;
