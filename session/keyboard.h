// Key releases in the paint window.
#pragma once
#include <windows.h>

void OnKeyUp(HWND window, UINT key);
