// The pending-mark scheme the pen renderer and the eraser share: a mark is drawn straight into the
// drawing surface while the committed surface keeps the picture from before it, and the dirty
// rectangle grows with every drawing call.
#pragma once
#include <windows.h>

// A plain copy of r between surfaces at the same place.
void CopyArea(HDC to, HDC from, const RECT& r);

class PendingMark {
public:
    // End the mark by copying its dirty area: commit from the drawing surface to the committed one,
    // revert the other way. Each answers the area, or null when nothing was pending; the area stays
    // valid after the mark ends, so that the caller can still present it.
    const RECT* commit();
    const RECT* revert();

    RECT dirtyRect = {};
    HDC target = nullptr;  // drawing surface
    HDC backup = nullptr;  // committed surface
    bool dirty = false;

protected:
    // Widens the dirty area by r.
    void widen(const RECT& r);
    // A rubber band (rectangle) drawn again: call with `wasDirty` as it was before reverting the
    // previous band and with the new band's area once it is drawn. Answers the old and the new area
    // together, valid until the next call.
    const RECT* replaceBand(const RECT& area, bool wasDirty);

private:
    const RECT* end(HDC to, HDC from);

    RECT repaintRect_ = {};
};
