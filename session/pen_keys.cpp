#include "session/pen_keys.h"

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
