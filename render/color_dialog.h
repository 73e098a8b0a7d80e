// The system colour dialog for a palette cell.
#pragma once
#include <windows.h>

// The dialog's 16 custom colours, filled once per run and kept across sessions.
extern COLORREF customColors[16];
// The default palette first, white after it.
void InitCustomColors();

// Runs the colour dialog starting from `initial`, with the remembered palette as the first row of
// custom colours. True, with the colour in `chosen`, when the user confirmed.
bool ChooseCellColor(HWND owner, COLORREF initial, COLORREF& chosen);

// Opens the dialog with its title bar centred under the pointer, inside the work area of the
// monitor nearest the pointer. Always answers 0, so the dialog's own handling continues.
UINT_PTR CALLBACK ColorDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
