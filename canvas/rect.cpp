#include "canvas/rect.h"

#include <algorithm>
#include <cstdint>

RECT RectFromSize(POINT origin, POINT size)
{
    RECT r;
    r.left = origin.x + std::min<decltype(size.x)>(size.x, 0);
    r.top = origin.y + std::min<decltype(size.y)>(size.y, 0);
    r.right = origin.x + std::max<decltype(size.x)>(size.x, 0);
    r.bottom = origin.y + std::max<decltype(size.y)>(size.y, 0);
    return r;
}

RECT RectUnion(const RECT& a, const RECT& b)
{
    RECT r;
    r.left = std::min(a.left, b.left);
    r.top = std::min(a.top, b.top);
    r.right = std::max(a.right, b.right);
    r.bottom = std::max(a.bottom, b.bottom);
    return r;
}

bool RectContains(const RECT& r, POINT p)
{
    // One unsigned comparison per axis: a point left of or above the rectangle wraps to a huge
    // offset, and the subtraction is done unsigned so it never overflows.
    const uint32_t dx = static_cast<uint32_t>(p.x) - static_cast<uint32_t>(r.left);
    const uint32_t dy = static_cast<uint32_t>(p.y) - static_cast<uint32_t>(r.top);
    const uint32_t w = static_cast<uint32_t>(r.right) - static_cast<uint32_t>(r.left);
    const uint32_t h = static_cast<uint32_t>(r.bottom) - static_cast<uint32_t>(r.top);
    return dx < w && dy < h;
}
