#include "render/pending_mark.h"

void CopyArea(HDC to, HDC from, const RECT& r)
{
    BitBlt(to, r.left, r.top, r.right - r.left, r.bottom - r.top, from, r.left, r.top, SRCCOPY);
}

const RECT* EndPendingMark(HDC from, HDC to, const RECT& dirtyRect, bool& dirty)
{
    if (!dirty)
        return nullptr;
    CopyArea(to, from, dirtyRect);
    dirty = false;
    return &dirtyRect;
}
