#include <gtest/gtest.h>

#include "shell/launch_rules.h"

namespace {

TEST(HotKeyModifiers, MapsControlFlagsToRegisterHotKeyBits)
{
    struct Case {
        uint32_t hotKey, want;
        const char* why;
    } cases[] = {
        {0x002C, 0x0, "Print Screen alone"},
        {0x012C, 0x4, "Shift -> MOD_SHIFT"},
        {0x022C, 0x2, "Ctrl -> MOD_CONTROL"},
        {0x042C, 0x1, "Alt -> MOD_ALT"},
        {0x0741, 0x7, "all three"},
        {0x0841, 0x0, "the extended-key flag is dropped"},
        {0x0F41, 0x7, "extended plus all three"},
        {0xF041, 0x0, "unknown high bits never become MOD_WIN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HotKeyModifiers(c.hotKey), c.want) << c.why;
}

TEST(TrayMenuAlignment, OpensTowardsTheMiddleOfTheMonitor)
{
    const RECT primary = {0, 0, 1280, 800};
    struct Case {
        POINT p;
        uint32_t want;
        const char* why;
    } cases[] = {
        {{10, 10}, 0x00, "upper left: left and top aligned"},
        {{1270, 790}, 0x28, "lower right, where the tray usually is: up and to the left"},
        {{639, 399}, 0x00, "just before both halves"},
        {{640, 400}, 0x28, "the halves themselves count as the far side"},
        {{1270, 10}, 0x08, "upper right"},
        {{10, 790}, 0x20, "lower left"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrayMenuAlignment(c.p, primary), c.want) << c.why;

    // The halves are of the coordinates, not of the monitor's extent: a monitor at 1280..2304 has
    // its "half" at 1152, left of itself, so every point on it aligns right.
    const RECT second = {1280, 0, 2304, 768};
    EXPECT_EQ(TrayMenuAlignment({1300, 10}, second), 0x08u);
}

// Regression: a delay read from the file was waited as stored; 4,000,000,000 seconds froze the
// program for over a century.
TEST(LaunchDelay, IsWaitedAsStoredButNeverOverAMinute)
{
    EXPECT_EQ(LaunchDelayMilliseconds(0), 0u) << "a stored 0 waits nothing";
    EXPECT_EQ(LaunchDelayMilliseconds(1), 1000u);
    EXPECT_EQ(LaunchDelayMilliseconds(60), 60000u);
    EXPECT_EQ(LaunchDelayMilliseconds(61), 60000u);
    EXPECT_EQ(LaunchDelayMilliseconds(4000000000u), 60000u);
    EXPECT_EQ(LaunchDelayMilliseconds(0xFFFFFFFFu), 60000u) << "no overflow in the multiplication";
}

}  // namespace
