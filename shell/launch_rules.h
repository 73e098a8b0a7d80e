// Small decisions of the settings window that need no Win32 call.
#pragma once
#include <cstdint>

#include "shell/base/geometry.h"

// TrackPopupMenu alignment for the tray menu opened at `pointer` on a monitor: right-aligned in the
// right half, bottom-aligned in the lower half, so the menu opens towards the monitor's middle. The
// halves are taken of the right and bottom coordinates themselves.
uint32_t TrayMenuAlignment(POINT pointer, const RECT& monitor);

// The launch delay as waited. The settings window keeps it in 1..60 seconds, but the file may hold
// anything: never wait longer than a minute.
constexpr uint32_t kMaxLaunchDelaySeconds = 60;
uint32_t LaunchDelayMilliseconds(uint32_t launchDelay);

// The delay edit's rule for its text. The text is read like atoi (leading white space, an optional
// sign, decimal digits; no digits give 0), except that a long run of digits saturates instead of
// wrapping round: "4294967297" is far above 60, not 1. Answers the bound that replaces a value out of
// range ("1" below 1, "60" above 60); the edit then notifies again with that text, which stores it.
// Answers null for a value in range, which is put into `delay`.
const char* DelayEditCorrection(const char* text, uint32_t& delay);

// Print Screen as a launch hot key, with the modifiers that are down in a keyboard state (256 bytes
// as GetKeyboardState gives them, high bit set while a key is down).
uint32_t PrintScreenHotKey(const uint8_t* keyboardState);
