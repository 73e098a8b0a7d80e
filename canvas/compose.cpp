#include "canvas/compose.h"

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "render/magnifier.h"

void ComposeFrame(const RECT& client, const RECT* r, unsigned zoomLevel, POINT pointer, const PalettePanel& panel)
{
    if (viewSurface == nullptr)
        return;  // a late notification after the session ended
    const RECT area = (r != nullptr && zoomLevel == 0) ? *r : client;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (zoomLevel == 0)
        BitBlt(viewSurface, area.left, area.top, width, height, drawingSurface, area.left, area.top, SRCCOPY);
    else
        DrawMagnified(viewSurface, drawingSurface, area, zoomLevel + 1, pointer);
    panel.composeOnto(viewSurface, area);
    BitBlt(windowDC, area.left, area.top, width, height, viewSurface, area.left, area.top, SRCCOPY);
}

void PaintFromView(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (viewSurface != nullptr) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, viewSurface, r.left, r.top, SRCCOPY);
    }
    EndPaint(window, &ps);
}
