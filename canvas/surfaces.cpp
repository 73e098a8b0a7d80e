#include "canvas/surfaces.h"

#include "shell/base/monitor.h"

HDC captureSurface;
HDC committedSurface;
HDC drawingSurface;
HDC viewSurface;
HDC windowDC;

namespace {

constexpr int kSurfaceCount = 4;
HDC* const surfaces[kSurfaceCount] = {&captureSurface, &committedSurface, &drawingSurface, &viewSurface};
HBITMAP sessionBitmaps[kSurfaceCount];
HGDIOBJ keptBitmaps[kSurfaceCount];

}  // namespace

bool CreateSurfaces(HWND window)
{
    return CreateSurfacesOfSize(window, MonitorMetric(SM_CXVIRTUALSCREEN), MonitorMetric(SM_CYVIRTUALSCREEN));
}

bool CreateSurfacesOfSize(HWND window, int width, int height)
{
    HDC screen = GetDC(nullptr);
    windowDC = GetDC(window);
    bool complete = screen != nullptr && windowDC != nullptr;
    for (int i = 0; i < kSurfaceCount; ++i) {
        *surfaces[i] = complete ? CreateCompatibleDC(screen) : nullptr;
        complete = complete && *surfaces[i] != nullptr;
    }
    for (int i = 0; i < kSurfaceCount; ++i) {
        sessionBitmaps[i] = complete ? CreateCompatibleBitmap(screen, width, height) : nullptr;
        keptBitmaps[i] = sessionBitmaps[i] ? SelectObject(*surfaces[i], sessionBitmaps[i]) : nullptr;
        complete = complete && sessionBitmaps[i] != nullptr;
    }
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!complete)
        ReleaseSurfaces(window);
    return complete;
}

void ReleaseSurfaces(HWND window)
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        if (sessionBitmaps[i]) {
            SelectObject(*surfaces[i], keptBitmaps[i]);
            DeleteObject(sessionBitmaps[i]);
        }
        sessionBitmaps[i] = nullptr;
        keptBitmaps[i] = nullptr;
    }
    for (int i = 0; i < kSurfaceCount; ++i) {
        if (*surfaces[i])
            DeleteDC(*surfaces[i]);
        *surfaces[i] = nullptr;
    }
    if (windowDC)
        ReleaseDC(window, windowDC);
    windowDC = nullptr;
}
