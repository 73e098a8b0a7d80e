// Any client size the paint window could report: the export's sizes are exact or the picture is
// refused, never wrapped into a 32-bit field, and the headers describe a file that our own clipboard
// reader (which holds what GDI accepts) takes back with the same size and rows.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/bmp_layout.h"
#include "session/dib_layout.h"

namespace {

uint32_t At32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

[[noreturn]] void Broken(const char* what, int32_t width, int32_t height)
{
    std::fprintf(stderr, "%s for %ld x %ld\n", what, static_cast<long>(width), static_cast<long>(height));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size != 8)
        return 0;
    const auto width = static_cast<int32_t>(At32(data));
    const auto height = static_cast<int32_t>(At32(data + 4));

    BmpLayout layout;
    std::memset(&layout, 0xA5, sizeof(layout));
    const bool made = BmpLayoutFor(width, height, layout);
    if (width <= 0 || height <= 0) {
        if (made)
            Broken("a layout for an empty picture", width, height);
        return 0;
    }
    // The rule, spelled out in 64 bits: three bytes a pixel, rows padded to four bytes.
    const uint64_t row = uint64_t(width) * 3;
    const uint64_t stride = row + (4 - row % 4) % 4;
    const uint64_t fileSize = kBmpHeadersSize + stride * uint64_t(height);
    if (made != (fileSize <= UINT32_MAX))
        Broken(made ? "a layout whose file size wraps" : "a picture refused that fits", width, height);
    if (!made)
        return 0;
    if (layout.stride != stride || layout.imageSize != stride * uint64_t(height) || layout.fileSize != fileSize)
        Broken("sizes that are not the picture's", width, height);

    uint8_t headers[kBmpHeadersSize];
    std::memset(headers, 0xA5, sizeof(headers));
    FillBmpHeaders(width, height, layout, headers);
    if (headers[0] != 'B' || headers[1] != 'M' || At32(headers + 2) != fileSize || At32(headers + 6) != 0 ||
        At32(headers + 10) != kBmpHeadersSize)
        Broken("a file header that does not describe the file", width, height);

    // The reader checks the rows against the block's size but never touches them, so the header alone
    // stands for a block of that size.
    if (width > kMaxDibSide || height > kMaxDibSide)
        return 0;
    DibLayout read;
    if (!ReadDibLayout(headers + 14, 40 + size_t(layout.imageSize), read) || read.width != width ||
        read.height != height || read.topDown || read.bitsOffset != 40 || read.bitsSize != layout.imageSize)
        Broken("an information header the reader takes differently", width, height);
    return 0;
}
