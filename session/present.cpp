#include "session/present.h"

#include "canvas/compose.h"
#include "session/paint_state.h"
#include "session/session_objects.h"

void PresentRect(HWND window, const RECT* r)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    ComposeFrame(client, r, zoomLevel, lastPointer, palettePanel());
}
