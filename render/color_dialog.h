// The system colour dialog for a palette cell.
#pragma once
#include <windows.h>

// The dialog's 16 custom colours, filled once per run and kept across sessions.
extern COLORREF customColors[16];
// The default palette first, white after it.
void InitCustomColors();
