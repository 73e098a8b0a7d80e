#include "canvas/tool_state.h"

#include "canvas/default_palette.h"
#include "render/pen_renderer.h"
#include "resources/resource.h"
#include "session/session_objects.h"

bool eraserMode;
HCURSOR penCursor;
HCURSOR highlighterCursor;
HCURSOR eraserCursor;
HCURSOR arrowCursor;
HCURSOR currentCursor;
COLORREF customColors[16];

void InitCustomColors()
{
    for (int i = 0; i < 8; ++i)
        customColors[i] = defaultPalette[i];
    for (int i = 8; i < 16; ++i)
        customColors[i] = RGB(255, 255, 255);
}

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

HCURSOR ToolCursor()
{
    if (eraserMode)
        return eraserCursor;
    return penRenderer().highlighter ? highlighterCursor : penCursor;
}

void SetCurrentCursor(HCURSOR cursor)
{
    SetCursor(cursor);
    currentCursor = cursor;
}
