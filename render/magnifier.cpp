#include "render/magnifier.h"

#include <cstdint>

MagnifiedArea MagnifyAbout(const RECT& r, unsigned n, POINT pointer)
{
    // Unsigned throughout: client coordinates are never negative, and the rounding below relies on
    // truncating division. n / 2 rounds the size to the nearest whole source pixel, so the stretched
    // copy may stop short of r or overshoot it (the surface clips) by under half a factor.
    const uint32_t x = static_cast<uint32_t>(pointer.x) + static_cast<uint32_t>(r.left);
    const uint32_t y = static_cast<uint32_t>(r.top) + static_cast<uint32_t>(pointer.y);
    const uint32_t w = static_cast<uint32_t>(r.right) - static_cast<uint32_t>(r.left);
    const uint32_t h = static_cast<uint32_t>(r.bottom) - static_cast<uint32_t>(r.top);
    MagnifiedArea a;
    a.sourceOrigin = POINT{static_cast<int32_t>(x * (n - 1) / n), static_cast<int32_t>(y * (n - 1) / n)};
    const uint32_t sw = (w + n / 2) / n;
    const uint32_t sh = (h + n / 2) / n;
    a.sourceSize = POINT{static_cast<int32_t>(sw), static_cast<int32_t>(sh)};
    a.destSize = POINT{static_cast<int32_t>(sw * n), static_cast<int32_t>(sh * n)};
    return a;
}
