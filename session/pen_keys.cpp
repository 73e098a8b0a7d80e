#include "session/pen_keys.h"

namespace {
// Virtual-key codes, spelled here so that this file builds natively.
constexpr int kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
}  // namespace

uint32_t ModifiersFromKeyboardState(const uint8_t keys[256])
{
    uint32_t modifiers = 0;
    if (keys[kVkShift] & 0x80)
        modifiers |= 1;
    if (keys[kVkControl] & 0x80)
        modifiers |= 2;
    if (keys[kVkMenu] & 0x80)
        modifiers |= 4;
    return modifiers;
}

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
