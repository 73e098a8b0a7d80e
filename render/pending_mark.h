// The pending-mark scheme the pen renderer and the eraser share: a mark is drawn straight into the
// drawing surface while the committed surface keeps the picture from before it.
#pragma once
#include <windows.h>

// A plain copy of r between surfaces at the same place.
void CopyArea(HDC to, HDC from, const RECT& r);

// Ends a pending mark by copying its dirty area from `from` to `to` (commit: drawing to committed;
// revert: the other way). Answers the area, or null when nothing was pending; the area stays valid
// after the mark ends, so that the caller can still present it.
const RECT* EndPendingMark(HDC from, HDC to, const RECT& dirtyRect, bool& dirty);
