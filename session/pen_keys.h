// The keys of a paint session. The row of nine keys that picks a pen: the configured base key and
// the eight after it select the palette cells 0..7 and the eraser, with exactly the configured
// modifiers held at the release. Then the editing keys, Ctrl+Z, Ctrl+Y (or Ctrl+Shift+Z) and Ctrl+C.
#pragma once
#include <cstdint>

constexpr int kEraserKeyIndex = 8;

// 0..7 for a cell, 8 for the eraser, -1 when the release picks nothing. `penSelectKey` is in the
// hot-key control's form (low byte the base key, next byte the modifiers); a modifier byte with the
// extended-key flag never matches.
int PenKeyIndex(uint32_t key, uint32_t penSelectKey, uint32_t modifiers);

// During a stroke a key may change the colour but not switch between a colour and the eraser.
bool PenKeySwitchesToolKind(int index, bool colorActive);

enum class EditCommand { None, Undo, Redo, Copy };

// What a key pressed with these modifiers (hot-key control bits) asks for. `penRowTakesIt`: the
// configured pen row holds the same key with the same modifiers, and wins.
EditCommand EditCommandForKey(uint32_t key, uint32_t modifiers, bool penRowTakesIt);
