// Erasing back to the captured desktop, with the same pending-mark scheme as the pen renderer.
#pragma once
#include <windows.h>

#include "render/pending_mark.h"

class Eraser : public PendingMark {
public:
    void init();
    // Widens `dirtyRect` by the eraser square at p.
    void touch(POINT p);
    // Each answers the area to repaint, valid until the next call.
    const RECT* eraseAt(POINT p);
    const RECT* eraseRectangle(POINT point, POINT anchor);

    RECT extent = {};      // the eraser square relative to the pointer
    HDC source = nullptr;  // capture surface: what erasing brings back

private:
    RECT squareAt(POINT p) const;
};
