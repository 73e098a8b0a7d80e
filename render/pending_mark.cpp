#include "render/pending_mark.h"

#include "canvas/rect.h"

void CopyArea(HDC to, HDC from, const RECT& r)
{
    BitBlt(to, r.left, r.top, r.right - r.left, r.bottom - r.top, from, r.left, r.top, SRCCOPY);
}

const RECT* PendingMark::commit()
{
    return end(backup, target);
}

const RECT* PendingMark::revert()
{
    return end(target, backup);
}

const RECT* PendingMark::end(HDC to, HDC from)
{
    if (!dirty)
        return nullptr;
    CopyArea(to, from, dirtyRect);
    dirty = false;
    return &dirtyRect;
}

void PendingMark::widen(const RECT& r)
{
    dirtyRect = dirty ? RectUnion(dirtyRect, r) : r;
    dirty = true;
}

const RECT* PendingMark::replaceBand(const RECT& area, bool wasDirty)
{
    repaintRect_ = wasDirty ? RectUnion(area, dirtyRect) : area;
    dirtyRect = area;
    dirty = true;
    return &repaintRect_;
}
