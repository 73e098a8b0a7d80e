// The paint window: one full-screen, topmost window per session that shows the frozen desktop and
// takes the drawing. Its procedure is the hub of a session.
#pragma once
#include <windows.h>

LRESULT CALLBACK PaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
