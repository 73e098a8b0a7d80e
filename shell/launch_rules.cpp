#include "shell/launch_rules.h"

#include "shell/base/hot_key.h"

namespace {
// The system's values, spelled here so that this file also builds natively.
constexpr uint32_t kRightAlign = 0x8, kBottomAlign = 0x20;
constexpr uint8_t kVkSnapshot = 0x2C;
}  // namespace

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
    return kVkSnapshot | ModifiersFromKeyboardState(keyboardState) << 8;
}
