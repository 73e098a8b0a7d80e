#include "session/pen_keys.h"

#include "shell/base/hot_key.h"

int PenKeyIndex(uint32_t key, uint32_t penSelectKey, uint32_t modifiers)
{
    const uint32_t index = key - (penSelectKey & 0xFF);  // keys below the base wrap to large values
    if (index > kEraserKeyIndex)
        return -1;
    if (modifiers != ((penSelectKey >> 8) & 0xFF))
        return -1;
    return static_cast<int>(index);
}

bool PenKeySwitchesToolKind(int index, bool colorActive)
{
    return colorActive ? index == kEraserKeyIndex : index < kEraserKeyIndex;
}

EditCommand EditCommandForKey(uint32_t key, uint32_t modifiers, bool penRowTakesIt)
{
    if (penRowTakesIt)
        return EditCommand::None;
    if (modifiers == kHotKeyControl) {
        switch (key) {
        case 'Z': return EditCommand::Undo;
        case 'Y': return EditCommand::Redo;
        case 'C': return EditCommand::Copy;
        }
    }
    return modifiers == (kHotKeyControl | kHotKeyShift) && key == 'Z' ? EditCommand::Redo : EditCommand::None;
}
