// Building the frame that is shown and putting it on the screen.
#pragma once
#include <windows.h>

class PalettePanel;

// Composes `r` of the view from the drawing surface and the palette panel and copies it to the
// window's device context at once, without waiting for a paint message. A null `r` is the whole
// `client` area; so is any `r` while the view is magnified (zoomLevel > 0), which follows `pointer`.
void ComposeFrame(const RECT& client, const RECT* r, unsigned zoomLevel, POINT pointer, const PalettePanel& panel);

// WM_PAINT: the view as last composed, without composing again.
void PaintFromView(HWND window);
