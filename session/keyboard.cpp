#include "session/keyboard.h"

#include <bitset>

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "canvas/tool_state.h"
#include "render/bmp_export.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"
#include "session/pen_keys.h"
#include "session/present.h"
#include "session/session_objects.h"
#include "shell/base/hot_key.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

namespace {

std::bitset<256> pressedHere;

void SelectPenByKey(int index)
{
    palettePanel().selectColor(static_cast<uint32_t>(index));
    SetCurrentCursor(ApplyTool());  // even over the panel: the key says which tool the pointer now holds
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

void OnKeyDown(HWND window, UINT key)
{
    pressedHere.set(key & 0xFF);
    BYTE keys[256] = {};
    Platform.getKeyboardState(keys);
    const uint32_t modifiers = ModifiersFromKeyboardState(keys);
    const bool penRowTakesIt =
        (Settings.flags & OPT_SELECT_PEN_BY_KEY) && PenKeyIndex(key, Settings.penSelectKey, modifiers) >= 0;
    const EditCommand command = EditCommandForKey(key, modifiers, penRowTakesIt);
    // A pending mark is not in the history yet: nothing is undone under it.
    if (command == EditCommand::None || gesture.gestureButton != 0 || !SurfacesExist())
        return;
    if (command == EditCommand::Copy) {
        CopyDrawingToClipboard(window, drawingSurface);
        return;
    }
    const RECT* changed = command == EditCommand::Undo ? undoHistory.undo(committedSurface, drawingSurface)
                                                       : undoHistory.redo(committedSurface, drawingSurface);
    if (changed != nullptr)
        PresentRect(window, changed);
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
