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
// The size the tool cursors were last loaded at. They are the program's own, not shared: the system's
// cache of shared images would hand back the first size whatever size is asked later.
SIZE loadedSize = {-1, -1};

HCURSOR LoadOwnCursor(HINSTANCE module, UINT id, SIZE size)
{
    const UINT flags = size.cx == 0 ? LR_DEFAULTSIZE : 0;
    return static_cast<HCURSOR>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, size.cx, size.cy, flags));
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
    arrowCursor = static_cast<HCURSOR>(LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED));
    const SIZE size = CursorSize(dpi);
    if (size.cx == loadedSize.cx && size.cy == loadedSize.cy)
        return;
    HCURSOR* const cursors[3] = {&penCursor, &highlighterCursor, &eraserCursor};
    const UINT ids[3] = {IDC_PEN, IDC_HIGHLIGHTER, IDC_ERASER};
    for (int i = 0; i < 3; ++i) {
        HCURSOR previous = *cursors[i];
        *cursors[i] = LoadOwnCursor(instance, ids[i], size);
        if (previous != nullptr)
            DestroyCursor(previous);  // no window shows it: the arrow is up while a session starts
    }
    loadedSize = size;
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
