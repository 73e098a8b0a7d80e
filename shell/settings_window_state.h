// What the settings window holds between and during sessions.
#pragma once
#include <windows.h>

constexpr int HOTKEY_ID = 1;

// Chosen when the settings window is created: with the tray the program stands by between sessions,
// without it the one session started at creation ends the program.
extern bool trayMode;
extern HINSTANCE programInstance;  // the program's instance, for every resource load
extern HWND paintWindow;           // the running session's window; null between sessions
extern bool hotKeyRegistered;
