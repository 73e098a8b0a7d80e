// Keys in the paint window: Escape ends the session, the pen row picks a colour or the eraser,
// Ctrl+Z and Ctrl+Y undo and redo, Ctrl+C copies the picture.
#pragma once
#include <windows.h>

// Keys act on their release, and only when this window saw their press: the Escape that closes a
// dialog over the session, or a key held when the session began, is not the user's command to it.
void ForgetPressedKeys();
// The editing keys act on the press, the others on the release.
void OnKeyDown(HWND window, UINT key);
void OnKeyUp(HWND window, UINT key);
// A release with Alt held, or of F10, comes as a system key: only the pen row acts on it. False
// leaves it to the default handling.
bool OnSysKeyUp(UINT key);
