// Presenting part of a session's picture: what PWM_REFRESH does, for the paint window's own handlers.
#pragma once
#include <windows.h>

// Composes `r` (null: the whole client area) from the drawing surface, magnified about lastPointer
// while zoomLevel > 0, lays the palette panel over it and copies it to the window at once.
void PresentRect(HWND window, const RECT* r);
