#include "shell/launch_rules.h"

namespace {
// The system's values, spelled here so that this file also builds natively.
constexpr uint32_t kHotKeyShift = 0x01, kHotKeyControl = 0x02, kHotKeyAlt = 0x04;
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4;
constexpr uint32_t kRightAlign = 0x8, kBottomAlign = 0x20;
constexpr uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkSnapshot = 0x2C;
}  // namespace

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

uint32_t TrayMenuAlignment(POINT pointer, const RECT& monitor)
{
    uint32_t flags = 0;
    if (pointer.x >= monitor.right / 2)
        flags |= kRightAlign;
    if (pointer.y >= monitor.bottom / 2)
        flags |= kBottomAlign;
    return flags;
}

uint32_t LaunchDelayMilliseconds(uint32_t launchDelay)
{
    return (launchDelay < kMaxLaunchDelaySeconds ? launchDelay : kMaxLaunchDelaySeconds) * 1000;
}

const char* DelayEditCorrection(const char* text, uint32_t& delay)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // Anything above the largest delay is as good as any other: stop counting there.
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value > kMaxLaunchDelaySeconds ? value : value * 10 + uint32_t(*text - '0');
    if (negative || value < 1)
        return "1";
    if (value > kMaxLaunchDelaySeconds)
        return "60";
    delay = value;
    return nullptr;
}

uint32_t PrintScreenHotKey(const uint8_t* keyboardState)
{
    uint32_t modifiers = 0;
    if (keyboardState[kVkShift] & 0x80)
        modifiers |= kHotKeyShift;
    if (keyboardState[kVkControl] & 0x80)
        modifiers |= kHotKeyControl;
    if (keyboardState[kVkMenu] & 0x80)
        modifiers |= kHotKeyAlt;
    return kVkSnapshot | modifiers << 8;
}
