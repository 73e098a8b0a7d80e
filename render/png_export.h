// PNG files through the system's imaging component (WIC), which every supported Windows has.
#pragma once
#include <cstdint>
#include <vector>

// Encodes a width x height picture of 24-bit rows laid out as in a BMP file (bottom row first,
// blue-green-red, `stride` bytes a row) as a whole PNG file in memory. False when the system has no
// PNG encoder or any step fails; `out` is then empty.
bool EncodePng(int width, int height, const void* bottomUpRows, uint32_t stride, std::vector<uint8_t>& out);

// Whether a file name asks for PNG: it ends in ".png", in any case.
bool IsPngName(const char* path);
