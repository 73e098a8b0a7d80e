// The pen marks of a paint session, drawn straight into the drawing surface while the committed
// surface keeps the picture from before the mark. One renderer serves the whole program run.
#pragma once
#include <windows.h>

#include "render/pending_mark.h"

class PenRenderer : public PendingMark {
public:
    void init();
    void destroy();
    // Creates a round-capped geometric pen of that colour and width and selects it into `target`;
    // the same request twice creates nothing.
    bool setPen(COLORREF color, int width);
    // Selects back what `target` held before the renderer's first pen and forgets the request.
    void releasePen();

    // Widens `dirtyRect` by the footprint of a point in the current look.
    void touch(POINT p);
    // Each answers the area to repaint, valid until the next call.
    const RECT* beginStroke(POINT p);
    const RECT* strokeTo(POINT p);
    const RECT* drawRectangle(POINT point, POINT anchor);
    // Highlighter: one 1 x `stripHeight` column per x from the left end up to, not including, the
    // right end, the band ending at the pointer's row.
    void blendSegment(POINT from, POINT to);
    // Highlighter: every pixel of r blended once, in bands of `stripHeight` rows.
    void blendFill(RECT r);

    HGDIOBJ savedPen = nullptr;
    int width = 0;
    COLORREF color = 0;
    bool highlighter = false;
    BYTE alpha = 64;
    HDC stripDC = nullptr;
    HGDIOBJ stripSavedBitmap = nullptr;
    int stripHeight = 20;
    POINT lastPoint = {};

private:
    void blendStrip(int x, int y, int height);

    HBITMAP stripBitmap_ = nullptr;
};
