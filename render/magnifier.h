// The magnified view: a part of the drawing stretched by a whole factor so that the drawing pixel
// under the pointer stays under it.
#pragma once
#include "shell/base/geometry.h"

// Sizes travel as POINTs of width and height. The destination starts at r's top-left corner.
struct MagnifiedArea {
    POINT sourceOrigin;
    POINT sourceSize;
    POINT destSize;
};

// Where to stretch from and to for filling r, magnified n times (2..6) about the pointer.
MagnifiedArea MagnifyAbout(const RECT& r, unsigned n, POINT pointer);

#ifdef _WIN32
// Fills r of `view` with `drawing` magnified n times about the pointer, in one StretchBlt.
void DrawMagnified(HDC view, HDC drawing, const RECT& r, unsigned n, POINT pointer);
#endif
