// Erasing back to the captured desktop, with the same pending-mark scheme as the pen renderer.
#pragma once
#include <windows.h>

class Eraser {
public:
    void init();

    RECT dirtyRect = {};
    RECT extent = {};     // the eraser square relative to the pointer
    HDC target = nullptr; // drawing surface
    HDC backup = nullptr; // committed surface
    HDC source = nullptr; // capture surface: what erasing brings back
    bool dirty = false;
};
