// Where the colour dialog opens: with the pointer halfway down the middle of its title bar, kept
// inside an area of the screen.
#pragma once
#include "shell/base/geometry.h"

// `window` and `client` are the dialog's window and client sizes (width, height). The answer is the
// window's top-left corner, clamped 10 pixels inside `area` in the order left, top, right, bottom, so
// that for a dialog larger than the area the right and bottom edges win and OK and Cancel stay in it.
POINT PlaceTitleUnderPointer(POINT pointer, POINT window, POINT client, const RECT& area);
