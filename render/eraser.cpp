#include "render/eraser.h"

#include <algorithm>

#include "render/pending_mark.h"

void Eraser::init()
{
    dirtyRect = RECT{0, 0, 0, 0};
    extent = RECT{0, 0, 0, 0};
    target = nullptr;
    backup = nullptr;
    source = nullptr;
    dirty = false;
}

RECT Eraser::squareAt(POINT p) const
{
    return RECT{p.x + extent.left, p.y + extent.top, p.x + extent.right, p.y + extent.bottom};
}

void Eraser::touch(POINT p)
{
    widen(squareAt(p));
}

const RECT* Eraser::eraseAt(POINT p)
{
    touch(p);
    // Positions are not joined: a fast drag leaves separate squares, as the user moved.
    CopyArea(target, source, squareAt(p));
    return &dirtyRect;
}

const RECT* Eraser::eraseRectangle(POINT point, POINT anchor)
{
    const bool wasDirty = dirty;
    revert();  // brings back the marks the previous rubber band uncovered
    const RECT area = {std::min(point.x, anchor.x) + extent.left, std::min(point.y, anchor.y) + extent.top,
                       std::max(point.x, anchor.x) + extent.right, std::max(point.y, anchor.y) + extent.bottom};
    CopyArea(target, source, area);
    return replaceBand(area, wasDirty);
}
