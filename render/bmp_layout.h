// The 24-bit BMP file the save button writes: a 14-byte file header, a 40-byte information header
// and the pixel rows, bottom row first, blue-green-red, each row padded to a multiple of four bytes.
#pragma once
#include <cstdint>

constexpr uint32_t kBmpHeadersSize = 54;  // no colour table follows the two headers

struct BmpLayout {
    uint32_t stride;     // bytes of one row, pad included
    uint32_t imageSize;  // stride × height
    uint32_t fileSize;   // headers and rows
};

// False for a width or height of zero or less, and for a picture whose file size does not fit the
// headers' 32-bit fields: such a picture gets no file at all rather than one with wrapped sizes.
bool BmpLayoutFor(int32_t width, int32_t height, BmpLayout& out);

// Both headers, little-endian, as they start the file. `layout` is BmpLayoutFor's answer.
void FillBmpHeaders(int32_t width, int32_t height, const BmpLayout& layout, uint8_t (&headers)[kBmpHeadersSize]);
