// The palette every session starts from unless the remembered one is used; also what the settings
// window's Reset restores. COLORREF order 0x00BBGGRR.
#pragma once
#include <cstdint>

constexpr int kPaletteSize = 8;  // the palette panel's cells, the settings' palette

constexpr uint32_t defaultPalette[kPaletteSize] = {
    0x000000,  // black
    0xFFFFFF,  // white
    0x0000FF,  // red
    0x00FF00,  // green
    0xFF0000,  // blue
    0x00FFFF,  // yellow
    0xFFFF00,  // cyan
    0xFF00FF,  // magenta
};
