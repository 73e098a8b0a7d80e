#include "render/pen_renderer.h"

void PenRenderer::init()
{
    dirtyRect = RECT{0, 0, 0, 0};
    lastPoint = POINT{0, 0};
    HDC screen = GetDC(nullptr);
    alpha = 64;
    stripHeight = 20;
    stripDC = CreateCompatibleDC(screen);
    stripBitmap_ = CreateCompatibleBitmap(screen, 1, stripHeight);
    stripSavedBitmap = SelectObject(stripDC, stripBitmap_);
    ReleaseDC(nullptr, screen);
    target = nullptr;
    backup = nullptr;
    savedPen = nullptr;
    width = 0;
    color = 0;
    dirty = false;
}

void PenRenderer::destroy()
{
    releasePen();
    SelectObject(stripDC, stripSavedBitmap);
    DeleteObject(stripBitmap_);
    DeleteDC(stripDC);
    stripDC = nullptr;
    stripBitmap_ = nullptr;
}

bool PenRenderer::setPen(COLORREF newColor, int newWidth)
{
    if (newWidth == width && newColor == color)
        return true;
    color = newColor;
    width = newWidth;
    const LOGBRUSH brush = {BS_SOLID, newColor, 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, static_cast<DWORD>(newWidth),
                            &brush, 0, nullptr);
    if (pen == nullptr)
        return false;
    if (savedPen == nullptr)
        savedPen = SelectObject(target, pen);
    else
        DeleteObject(SelectObject(target, pen));

    // The highlighter blends from this strip; keep it in the pen's colour whichever look is on.
    HBRUSH fill = CreateSolidBrush(newColor);
    const RECT strip = {0, 0, 1, stripHeight};
    FillRect(stripDC, &strip, fill);
    DeleteObject(fill);
    return true;
}

void PenRenderer::releasePen()
{
    if (savedPen != nullptr)
        DeleteObject(SelectObject(target, savedPen));
    savedPen = nullptr;
    width = 0;
    color = 0;
}
