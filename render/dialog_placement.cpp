#include "render/dialog_placement.h"

#include <algorithm>
#include <cstdint>

POINT PlaceTitleUnderPointer(POINT pointer, POINT window, POINT client, const RECT& area)
{
    constexpr int32_t kMargin = 10;
    const int32_t w = window.x;
    const int32_t h = window.y;
    // The side frames are taken as equal and the bottom frame as thick as one of them: what is left
    // of the height above the client area is the title bar with the top frame.
    const int32_t frame = (w - int32_t(client.x)) / 2;
    int32_t x = int32_t(pointer.x) - w / 2;
    int32_t y = int32_t(pointer.y) - (h - int32_t(client.y) - frame) / 2;
    x = std::max(x, int32_t(area.left) + kMargin);
    y = std::max(y, int32_t(area.top) + kMargin);
    x = std::min(x, int32_t(area.right) - w - kMargin);
    y = std::min(y, int32_t(area.bottom) - h - kMargin);
    return POINT{x, y};
}
