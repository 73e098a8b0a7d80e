#include "shell/launch_rules.h"

namespace {
// The system's values, spelled here so that this file also builds natively.
constexpr uint32_t kHotKeyShift = 0x01, kHotKeyControl = 0x02, kHotKeyAlt = 0x04;
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4;
constexpr uint32_t kRightAlign = 0x8, kBottomAlign = 0x20;
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
