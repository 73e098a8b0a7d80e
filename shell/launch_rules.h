// Small decisions of the settings window that need no Win32 call.
#pragma once
#include <cstdint>

#include "shell/geometry.h"

// RegisterHotKey modifier bits for a value in the hot-key control's form: Shift, Ctrl and Alt carry
// over; the extended-key flag has no RegisterHotKey equivalent and is dropped; the Windows key is
// never produced.
uint32_t HotKeyModifiers(uint32_t hotKey);

// TrackPopupMenu alignment for the tray menu opened at `pointer` on a monitor: right-aligned in the
// right half, bottom-aligned in the lower half, so the menu opens towards the monitor's middle. The
// halves are taken of the right and bottom coordinates themselves.
uint32_t TrayMenuAlignment(POINT pointer, const RECT& monitor);

// The launch delay as waited. The settings window keeps it in 1..60 seconds, but the file may hold
// anything: never wait longer than a minute.
constexpr uint32_t kMaxLaunchDelaySeconds = 60;
uint32_t LaunchDelayMilliseconds(uint32_t launchDelay);
