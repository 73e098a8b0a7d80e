// Rectangle helpers shared by the palette panel and the stroke code. Right and bottom are exclusive.
#pragma once
#include "shell/base/geometry.h"

// The normalised rectangle spanned from `origin` by a signed size (a negative width or height
// extends left or up; a zero one gives an empty rectangle at the origin).
RECT RectFromSize(POINT origin, POINT size);

// Bounding rectangle of both. Unlike the system's UnionRect an empty rectangle is not skipped: its
// corners still widen the result, which is what merging an old and a new dirty area needs.
RECT RectUnion(const RECT& a, const RECT& b);

// Left and top edges inside, right and bottom outside; an empty rectangle contains nothing.
bool RectContains(const RECT& r, POINT p);
