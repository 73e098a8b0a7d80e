#include "canvas/tool_state.h"

#include "resources/resource.h"
#include "shell/base/platform.h"

bool eraserMode;
HCURSOR penCursor;
HCURSOR highlighterCursor;
HCURSOR eraserCursor;
HCURSOR arrowCursor;
HCURSOR currentCursor;

namespace {
HCURSOR LoadSharedCursor(HINSTANCE module, LPCSTR name, SIZE size = {0, 0})
{
    return static_cast<HCURSOR>(LoadImageA(module, name, IMAGE_CURSOR, size.cx, size.cy, LR_SHARED));
}

// The system's cursor size at that DPI (Windows 10 1607 on). Without it 0 by 0: the size of the
// system DPI, which is all that system knows.
SIZE CursorSize(UINT dpi)
{
    using MetricForDpiFn = int(WINAPI*)(int, UINT);
    const auto metricForDpi =
        reinterpret_cast<MetricForDpiFn>(reinterpret_cast<void*>(Platform.user32Function("GetSystemMetricsForDpi")));
    if (metricForDpi == nullptr)
        return SIZE{0, 0};
    return SIZE{metricForDpi(SM_CXCURSOR, dpi), metricForDpi(SM_CYCURSOR, dpi)};
}
}  // namespace

void LoadToolCursors(HINSTANCE instance, UINT dpi)
{
    // The system stretches the 32-pixel pictures and their hot spots to that size.
    const SIZE size = CursorSize(dpi);
    penCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_PEN), size);
    highlighterCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_HIGHLIGHTER), size);
    eraserCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_ERASER), size);
    arrowCursor = LoadSharedCursor(nullptr, IDC_ARROW);
}

HCURSOR ToolCursor(bool eraser, bool highlighter)
{
    if (eraser)
        return eraserCursor;
    return highlighter ? highlighterCursor : penCursor;
}

void SetCurrentCursor(HCURSOR cursor)
{
    SetCursor(cursor);
    currentCursor = cursor;
}
