// The paint window: one full-screen, topmost window per session that shows the frozen desktop and
// takes the drawing. Its procedure is the hub of a session.
#pragma once
#include <windows.h>

LRESULT CALLBACK PaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the session's window, hidden, over the whole virtual screen, owned by the settings window
// (registering its class "SCRIVANE_MAIN" first). Null when WM_CREATE could not build the session.
HWND CreatePaintWindow(HWND owner, HINSTANCE instance);
