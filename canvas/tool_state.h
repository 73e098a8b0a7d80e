// Which tool is in use and how the pointer shows it. The selection itself lives in the palette
// panel; these follow it.
#pragma once
#include <windows.h>

extern bool eraserMode;  // the eraser is the current tool

extern HCURSOR penCursor;
extern HCURSOR highlighterCursor;
extern HCURSOR eraserCursor;
extern HCURSOR arrowCursor;
extern HCURSOR currentCursor;  // the cursor last passed to SetCursor

// Loads the three tool cursors from the module at the system's cursor size for `dpi`, and the system
// arrow, all shared (never destroyed).
void LoadToolCursors(HINSTANCE instance, UINT dpi);

// The eraser's cursor with the eraser, else the highlighter's with the highlighter on, else the pen's.
HCURSOR ToolCursor(bool eraser, bool highlighter);

// SetCursor and remember it in currentCursor.
void SetCurrentCursor(HCURSOR cursor);
