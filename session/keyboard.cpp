#include "session/keyboard.h"

#include <bitset>

#include "canvas/palette_panel.h"
#include "canvas/tool_state.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"
#include "session/pen_keys.h"
#include "session/session_objects.h"
#include "shell/platform.h"
#include "shell/settings.h"

namespace {

std::bitset<256> pressedHere;

void SelectPenByKey(int index)
{
    PalettePanel& panel = palettePanel();
    PenRenderer& renderer = penRenderer();
    HCURSOR cursor;
    if (panel.selectColor(static_cast<uint32_t>(index))) {
        renderer.setPen(panel.cells[panel.colorIndex].color, panel.penSize);
        eraserMode = false;
        cursor = renderer.highlighter ? highlighterCursor : penCursor;
    } else {
        eraserMode = true;
        cursor = eraserCursor;
    }
    SetCurrentCursor(cursor);  // even over the panel: the key says which tool the pointer now holds
}

// A release counts only once, and only when its press was seen here.
bool TakeSeenPress(UINT key)
{
    if (!pressedHere.test(key & 0xFF))
        return false;
    pressedHere.reset(key & 0xFF);
    return true;
}

// True when the key is one of the row's nine with exactly its modifiers, acted on or not.
bool OnPenRowKey(UINT key)
{
    if (!(Settings.flags & OPT_SELECT_PEN_BY_KEY))
        return false;
    BYTE keys[256] = {};
    Platform.getKeyboardState(keys);
    const int index = PenKeyIndex(key, Settings.penSelectKey, ModifiersFromKeyboardState(keys));
    if (index < 0)
        return false;
    // The stroke's own button decides, not the buttons held: a stroke suspended with the left button
    // up is still reverted or resumed with the tool it began with.
    if (!(gesture.gestureButton == kLeftButton && PenKeySwitchesToolKind(index, palettePanel().colorActive)))
        SelectPenByKey(index);
    return true;
}

}  // namespace

void ForgetPressedKeys()
{
    pressedHere.reset();
}

void OnKeyDown(UINT key)
{
    pressedHere.set(key & 0xFF);
}

void OnKeyUp(HWND window, UINT key)
{
    if (!TakeSeenPress(key))
        return;
    if (key == VK_ESCAPE) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    OnPenRowKey(key);
}

bool OnSysKeyUp(UINT key)
{
    return TakeSeenPress(key) && OnPenRowKey(key);
}
