#include "canvas/tool_state.h"

#include "resources/resource.h"

bool eraserMode;
HCURSOR penCursor;
HCURSOR highlighterCursor;
HCURSOR eraserCursor;
HCURSOR arrowCursor;
HCURSOR currentCursor;

namespace {
HCURSOR LoadSharedCursor(HINSTANCE module, UINT id)
{
    return static_cast<HCURSOR>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, LR_SHARED));
}
}  // namespace

void LoadToolCursors(HINSTANCE instance)
{
    penCursor = LoadSharedCursor(instance, IDC_PEN);
    highlighterCursor = LoadSharedCursor(instance, IDC_HIGHLIGHTER);
    eraserCursor = LoadSharedCursor(instance, IDC_ERASER);
    arrowCursor = LoadSharedCursor(nullptr, 32512);  // OCR_NORMAL
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
