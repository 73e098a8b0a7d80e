// Keys with modifiers in the hot-key control's form, as the settings keep the launch key and the
// first key of the pen row: low byte the virtual key, next byte the modifier bits below.
#pragma once
#include <cstdint>

constexpr uint32_t kHotKeyShift = 0x01, kHotKeyControl = 0x02, kHotKeyAlt = 0x04;

// The modifier bits of the Shift, Ctrl and Alt keys that are down in a keyboard state (256 bytes as
// GetKeyboardState gives them, high bit set while a key is down).
uint32_t ModifiersFromKeyboardState(const uint8_t keys[256]);

// RegisterHotKey's modifier bits for a value in the control's form: Shift, Ctrl and Alt carry over;
// the extended-key flag has no RegisterHotKey equivalent and is dropped; the Windows key is never
// produced.
uint32_t HotKeyModifiers(uint32_t hotKey);
