// Clipboard bitmaps come from any program. Whatever the header claims, an accepted layout must lie
// inside the block: touching its first and last pixel byte proves it under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "session/dib_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> block(data, data + size);  // exactly `size` bytes: a read past them shows
    DibLayout layout;
    if (!ReadDibLayout(block.data(), block.size(), layout))
        return 0;
    if (layout.width <= 0 || layout.height <= 0 || layout.bitsSize == 0)
        std::abort();
    volatile uint8_t first = block[layout.bitsOffset], last = block[layout.bitsOffset + layout.bitsSize - 1];
    (void)first, (void)last;
    return 0;
}
