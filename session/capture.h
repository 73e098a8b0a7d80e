// Taking the desktop into the session surfaces, once per session, while the paint window is hidden.
#pragma once
#include <windows.h>

// Fills all four surfaces with the desktop: from the clipboard after a synthetic Print Screen when
// "Via Clipboard" is on (two tries, a second apart), else (or when both fail) straight from the
// screen; then paints the mouse cursor in when "Include Cursor" is on.
void CaptureDesktop(HWND window);

// One clipboard try: the clipboard's device-independent bitmap drawn into the capture surface at
// (0, 0). Answers its size, or false when the clipboard holds no bitmap that is safe to use.
bool CaptureFromClipboard(HWND window, SIZE& size);
