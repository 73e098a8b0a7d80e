// Building the frame that is shown and putting it on the screen.
#pragma once
#include <windows.h>

// Composes `r` (null: the whole client area) of the running session's view from the drawing surface
// and the palette panel, and copies it to the window at once, without waiting for a paint message.
void ComposeFrame(const RECT* r);

// WM_PAINT: the view as last composed, without composing again.
void PaintFromView(HWND window);
