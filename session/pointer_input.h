// Mouse messages of the paint window: the palette panel sees each first, then the gesture decides,
// and the pen renderer or the eraser draws.
#pragma once
#include <windows.h>

// `button` is 1 left, 2 right or 4 middle; `keyFlags` the message's MK_ flags; points in client
// coordinates.
void OnPointerButtonDown(HWND window, int button, POINT p, WPARAM keyFlags);
void OnPointerButtonUp(HWND window, int button, POINT p, WPARAM keyFlags);
void OnPointerDoubleClick(HWND window, int button, POINT p, WPARAM keyFlags);
void OnPointerMove(HWND window, POINT p, WPARAM keyFlags);
void OnPointerWheel(HWND window, int delta, WPARAM keyFlags);
