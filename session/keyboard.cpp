#include "session/keyboard.h"

#include <bitset>

#include "canvas/palette_panel.h"
#include "canvas/tool_state.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"
#include "session/pen_keys.h"
#include "shell/base/hot_key.h"
#include "session/session_objects.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

namespace {

std::bitset<256> pressedHere;

void SelectPenByKey(int index)
{
    palettePanel().selectColor(static_cast<uint32_t>(index));
    SetCurrentCursor(ApplyTool());  // even over the panel: the key says which tool the pointer now holds
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
    if (!pressedHere.test(key & 0xFF))
        return;
    pressedHere.reset(key & 0xFF);
    if (key == VK_ESCAPE) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    if (!(Settings.flags & OPT_SELECT_PEN_BY_KEY))
        return;
    BYTE keys[256] = {};
    Platform.getKeyboardState(keys);
    const int index = PenKeyIndex(key, Settings.penSelectKey, ModifiersFromKeyboardState(keys));
    if (index < 0)
        return;
    // The stroke's own button decides, not the buttons held: a stroke suspended with the left button
    // up is still reverted or resumed with the tool it began with.
    if (gesture.gestureButton == kLeftButton && PenKeySwitchesToolKind(index, palettePanel().colorActive))
        return;
    SelectPenByKey(index);
}
