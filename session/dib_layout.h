// Where the pixels of a clipboard device-independent bitmap start, checked against the size of the
// block that holds it. The block comes from another program and is not trusted.
#pragma once
#include <cstddef>
#include <cstdint>

struct DibLayout {
    int32_t width;      // pixels, positive
    int32_t height;     // rows, positive whatever the stored orientation
    bool topDown;       // the header's height was negative: first row stored is the top one
    size_t bitsOffset;  // from the start of the block: header, bit-field masks, colour table
    size_t bitsSize;    // bytes of pixel rows, each padded to four bytes
};

// Largest width or height accepted; GDI cannot make much larger bitmaps anyway.
constexpr int32_t kMaxDibSide = 32767;

// Reads the BITMAPINFOHEADER at the start of `block` (little-endian). Answers false for anything
// that must not be handed to GDI: a header, colour table or pixel area that does not fit inside
// `blockSize`, a zero or absurd width or height, a plane count other than 1, a bit count GDI does not
// know, or a compression other than uncompressed or bit fields.
bool ReadDibLayout(const void* block, size_t blockSize, DibLayout& out);
