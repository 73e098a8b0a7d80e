#include "render/pen_renderer.h"

#include <algorithm>

#include "render/pending_mark.h"
#include "shell/base/platform.h"

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
    const LOGBRUSH brush = {BS_SOLID, newColor, 0};
    HPEN pen = Platform.extCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                     static_cast<DWORD>(newWidth), &brush);
    // Recorded only now: a request that found the system out of objects must try again next time,
    // not answer done with the old pen still selected.
    if (pen == nullptr)
        return false;
    color = newColor;
    width = newWidth;
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

void PenRenderer::touch(POINT p)
{
    RECT footprint;
    if (highlighter) {
        // Zero width: a segment blends from its left end's column up to, not including, its right
        // end's, so the ends' x already bound every column it touches.
        footprint = RECT{p.x, p.y - (stripHeight - 1), p.x, p.y + 1};
    } else {
        // A full width of margin, not half: round caps and joins stay inside whatever the angle.
        footprint = RECT{p.x - width, p.y - width, p.x + width, p.y + width};
    }
    widen(footprint);
}

const RECT* PenRenderer::beginStroke(POINT p)
{
    touch(p);
    if (highlighter)
        lastPoint = p;
    else
        MoveToEx(target, p.x, p.y, nullptr);
    return strokeTo(p);
}

const RECT* PenRenderer::strokeTo(POINT p)
{
    touch(p);
    if (highlighter)
        blendSegment(lastPoint, p);
    else
        LineTo(target, p.x, p.y);
    return &dirtyRect;
}

void PenRenderer::blendSegment(POINT from, POINT to)
{
    const POINT left = from.x < to.x ? from : to;
    const POINT right = from.x < to.x ? to : from;
    if (left.x < right.x) {
        const int dx = right.x - left.x;
        const int dy = right.y - left.y;
        int acc = 0;
        for (int x = left.x; x < right.x; ++x) {
            const int y = left.y + acc / dx;
            blendStrip(x, y - stripHeight + 1, stripHeight);
            acc += dy;
        }
    }
    lastPoint = to;
}

void PenRenderer::blendFill(RECT r)
{
    for (int y = r.top; y < r.bottom; y += stripHeight)
        for (int x = r.left; x < r.right; ++x)
            blendStrip(x, y, std::min<LONG>(r.bottom - y, stripHeight));
}

void PenRenderer::blendStrip(int x, int y, int height)
{
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(target, x, y, 1, height, stripDC, 0, 0, 1, height, blend);
}

const RECT* PenRenderer::drawRectangle(POINT point, POINT anchor)
{
    const bool wasDirty = dirty;
    revert();  // wipes the previous rubber band; its dirtyRect stays readable for the union
    const LONG l = std::min(point.x, anchor.x);
    const LONG t = std::min(point.y, anchor.y);
    const LONG r = std::max(point.x, anchor.x);
    const LONG b = std::max(point.y, anchor.y);
    RECT area;
    if (highlighter) {
        area = RECT{l, t - stripHeight, r, b};
        blendFill(area);
    } else {
        Rectangle(target, l, t, r, b);
        area = RECT{l - width, t - width, r + width, b + width};
    }
    return replaceBand(area, wasDirty);
}
