// Erasing back to the captured desktop, with the same pending-mark scheme as the pen renderer.
#pragma once
#include <windows.h>

class Eraser {
public:
    void init();
    // Widens `dirtyRect` by the eraser square at p.
    void touch(POINT p);
    // Each answers the area to repaint, valid until the next call; commit and revert answer null
    // when nothing was pending.
    const RECT* eraseAt(POINT p);
    const RECT* eraseRectangle(POINT point, POINT anchor);
    const RECT* commit();
    const RECT* revert();

    RECT dirtyRect = {};
    RECT extent = {};     // the eraser square relative to the pointer
    HDC target = nullptr; // drawing surface
    HDC backup = nullptr; // committed surface
    HDC source = nullptr; // capture surface: what erasing brings back
    bool dirty = false;

private:
    RECT squareAt(POINT p) const;
};
