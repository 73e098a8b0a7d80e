#include "shell/base/hot_key.h"

namespace {
// The system's values, spelled here so that this file also builds natively.
constexpr uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4;
}  // namespace

uint32_t ModifiersFromKeyboardState(const uint8_t keys[256])
{
    uint32_t modifiers = 0;
    if (keys[kVkShift] & 0x80)
        modifiers |= kHotKeyShift;
    if (keys[kVkControl] & 0x80)
        modifiers |= kHotKeyControl;
    if (keys[kVkMenu] & 0x80)
        modifiers |= kHotKeyAlt;
    return modifiers;
}

uint32_t HotKeyModifiers(uint32_t hotKey)
{
    const uint32_t flags = (hotKey >> 8) & 0xFF;
    uint32_t modifiers = 0;
    if (flags & kHotKeyShift)
        modifiers |= kModShift;
    if (flags & kHotKeyControl)
        modifiers |= kModControl;
    if (flags & kHotKeyAlt)
        modifiers |= kModAlt;
    return modifiers;
}
