// Starting paint sessions and learning when they end; the launch hot key.
#pragma once
#include <windows.h>

// RegisterHotKey with launchHotKey; remembers whether it worked.
void RegisterLaunchHotKey(HWND trayWindow);
// Only when registered.
void UnregisterLaunchHotKey(HWND trayWindow);

// TWM_LAUNCH: creates the hidden paint window over the virtual screen, waits the launch delay when
// the request allows it and the option is on, captures the desktop and shows the window. Ignored
// while a session runs.
void StartSession(HWND trayWindow, bool delayAllowed);

// TWM_SESSION_ENDED: forgets the paint window; ends the program in non-tray mode, else takes the hot
// key back while the settings window is hidden.
void OnSessionEnded(HWND trayWindow);
