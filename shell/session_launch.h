// Starting paint sessions and learning when they end; the launch hot key.
#pragma once
#include <windows.h>

// A message box of the program's own, captioned with its name, with a text from the string table.
int ShowProgramMessage(HWND owner, UINT stringId, UINT buttonsAndIcon);

// RegisterHotKey with launchHotKey; remembers whether it worked.
void RegisterLaunchHotKey(HWND settingsWindow);
// Only when registered.
void UnregisterLaunchHotKey(HWND settingsWindow);

// The settings window's timer of the launch delay.
constexpr UINT_PTR LAUNCH_TIMER_ID = 1;

// TWM_LAUNCH: creates the hidden paint window over the virtual screen, then captures the desktop and
// shows the window, at once or, when the request allows the launch delay and the option is on, when
// LAUNCH_TIMER_ID fires. Ignored while a session runs or waits for its delay.
void StartSession(HWND settingsWindow, bool delayAllowed);
// WM_TIMER of LAUNCH_TIMER_ID: the delayed session captures and shows.
void OnLaunchDelayOver(HWND settingsWindow);

// TWM_SESSION_ENDED: forgets the paint window; ends the program in non-tray mode, else takes the hot
// key back while the settings window is hidden.
void OnSessionEnded(HWND settingsWindow);
