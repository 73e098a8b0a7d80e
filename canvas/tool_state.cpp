#include "canvas/tool_state.h"

#include "resources/resource.h"

bool eraserMode;
HCURSOR penCursor;
HCURSOR highlighterCursor;
HCURSOR eraserCursor;
HCURSOR arrowCursor;
HCURSOR currentCursor;

namespace {
HCURSOR LoadSharedCursor(HINSTANCE module, LPCSTR name)
{
    return static_cast<HCURSOR>(LoadImageA(module, name, IMAGE_CURSOR, 0, 0, LR_SHARED));
}
}  // namespace

void LoadToolCursors(HINSTANCE instance)
{
    penCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_PEN));
    highlighterCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_HIGHLIGHTER));
    eraserCursor = LoadSharedCursor(instance, MAKEINTRESOURCEA(IDC_ERASER));
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
