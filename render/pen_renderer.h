// The pen marks of a paint session, drawn straight into the drawing surface while the committed
// surface keeps the picture from before the mark. One renderer serves the whole program run.
#pragma once
#include <windows.h>

class PenRenderer {
public:
    void init();
    void destroy();
    // Creates a round-capped geometric pen of that colour and width and selects it into `target`;
    // the same request twice creates nothing.
    bool setPen(COLORREF color, int width);
    // Selects back what `target` held before the renderer's first pen and forgets the request.
    void releasePen();

    RECT dirtyRect = {};
    HDC target = nullptr;
    HDC backup = nullptr;
    HGDIOBJ savedPen = nullptr;
    int width = 0;
    COLORREF color = 0;
    bool dirty = false;
    bool highlighter = false;
    BYTE alpha = 64;
    HDC stripDC = nullptr;
    HGDIOBJ stripSavedBitmap = nullptr;
    int stripHeight = 20;
    POINT lastPoint = {};

private:
    HBITMAP stripBitmap_ = nullptr;
};
