// The settings window: the program's hidden owner window, of class "SCRIVANE_TRAY". It owns the
// settings file, the tray icon, the launch hot key, the mouse-hook module and the current paint
// window, and shows the options when asked.
#pragma once
#include <windows.h>

LRESULT CALLBACK SettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class and creates the settings window, hidden, with a 300 x 190 client area.
HWND CreateSettingsWindow(HINSTANCE instance);
