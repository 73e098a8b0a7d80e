#include "render/magnifier.h"

void DrawMagnified(HDC view, HDC drawing, const RECT& r, unsigned n, POINT pointer)
{
    // The view's own stretch mode applies: when enlarging, the modes that differ in which pixels they
    // drop have none to drop.
    const MagnifiedArea a = MagnifyAbout(r, n, pointer);
    StretchBlt(view, r.left, r.top, a.destSize.x, a.destSize.y, drawing, a.sourceOrigin.x, a.sourceOrigin.y,
               a.sourceSize.x, a.sourceSize.y, SRCCOPY);
}
