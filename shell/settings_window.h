// The settings window: the program's hidden owner window. It owns the settings file, the tray icon,
// the launch hot key, the mouse-hook module and the current paint window.
#pragma once
#include <windows.h>

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers "SCRIVANE_TRAY" and creates the settings window, hidden, with a 300 x 190 client area.
HWND CreateTrayWindow(HINSTANCE instance);
