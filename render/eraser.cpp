#include "render/eraser.h"

void Eraser::init()
{
    dirtyRect = RECT{0, 0, 0, 0};
    extent = RECT{0, 0, 0, 0};
    target = nullptr;
    backup = nullptr;
    source = nullptr;
    dirty = false;
}
