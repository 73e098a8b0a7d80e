#include "session/keyboard.h"

void OnKeyUp(HWND window, UINT key)
{
    // Only releases count, so holding Escape down does not end the next session too.
    if (key == VK_ESCAPE)
        PostMessageA(window, WM_CLOSE, 0, 0);
}
