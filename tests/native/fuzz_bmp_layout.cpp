// Any client size the paint window could report: the export's sizes are exact or the picture is
// refused, never wrapped into a 32-bit field, and the headers describe a file that our own clipboard
// reader (which holds what GDI accepts) takes back with the same size and rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render/bmp_layout.h"
#include "session/dib_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int32_t width, height;
    if (size != 8)
        return 0;
    std::memcpy(&width, data, 4);
    std::memcpy(&height, data + 4, 4);
    BmpLayout layout;
    std::memset(&layout, 0xA5, sizeof(layout));
    const bool made = BmpLayoutFor(width, height, layout);
    // The sizes in 64 bits: three bytes a pixel, rows padded to four bytes.
    const uint64_t stride = (uint64_t(width) * 3 + 3) / 4 * 4, image = stride * uint64_t(height);
    if (made != (width > 0 && height > 0 && kBmpHeadersSize + image <= UINT32_MAX))
        std::abort();  // a layout for an empty or wrapping picture, or a picture refused that fits
    if (!made)
        return 0;
    uint8_t headers[kBmpHeadersSize];
    uint32_t fileSize;
    std::memset(headers, 0xA5, sizeof(headers));  // a byte left unwritten shows
    FillBmpHeaders(width, height, layout, headers);
    std::memcpy(&fileSize, headers + 2, 4);
    if (layout.stride != stride || layout.imageSize != image || fileSize != kBmpHeadersSize + image)
        std::abort();
    // The reader checks the rows against the block's size but never touches them, so the header alone
    // stands for a block of that size.
    DibLayout read;
    if (width <= kMaxDibSide && height <= kMaxDibSide &&
        (!ReadDibLayout(headers + 14, 40 + size_t(image), read) || read.width != width || read.height != height ||
         read.topDown || read.bitsOffset != 40 || read.bitsSize != image))
        std::abort();  // an information header the reader takes differently
    return 0;
}
