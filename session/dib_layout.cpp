#include "session/dib_layout.h"

#include <cstring>

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kHeaderWithMasks = 52;  // from the V2 header on, the colour masks are inside it
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t U32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t U16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool ReadDibLayout(const void* block, size_t blockSize, DibLayout& out)
{
    const auto* bytes = static_cast<const unsigned char*>(block);
    if (block == nullptr || blockSize < kInfoHeaderSize)
        return false;

    const uint32_t headerSize = U32(bytes);
    const int32_t width = static_cast<int32_t>(U32(bytes + 4));
    const int32_t storedHeight = static_cast<int32_t>(U32(bytes + 8));
    const uint16_t planes = U16(bytes + 12);
    const uint16_t bitCount = U16(bytes + 14);
    const uint32_t compression = U32(bytes + 16);
    const uint32_t colorsUsed = U32(bytes + 32);

    if (headerSize < kInfoHeaderSize || headerSize > blockSize || planes != 1)
        return false;
    if (width <= 0 || width > kMaxDibSide || storedHeight == 0 || storedHeight < -kMaxDibSide ||
        storedHeight > kMaxDibSide)
        return false;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != kBiRgb)
            return false;
        break;
    case 16:
    case 32:
        if (compression != kBiRgb && compression != kBiBitfields)
            return false;
        break;
    default: return false;
    }

    // 64-bit arithmetic throughout: every count below comes from the untrusted header.
    uint64_t offset = headerSize;
    if (compression == kBiBitfields && headerSize < kHeaderWithMasks)
        offset += 12;
    uint64_t tableEntries = colorsUsed;
    if (bitCount <= 8) {
        const uint64_t full = uint64_t(1) << bitCount;
        if (tableEntries == 0)
            tableEntries = full;
        if (tableEntries > full)
            return false;
    } else if (tableEntries > 256) {
        return false;  // an optimisation palette never needs more
    }
    offset += tableEntries * 4;

    const uint64_t height = storedHeight < 0 ? uint64_t(-int64_t(storedHeight)) : uint64_t(storedHeight);
    const uint64_t stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
    const uint64_t size = stride * height;
    if (offset > blockSize || size > blockSize - offset)
        return false;

    out.width = width;
    out.height = static_cast<int32_t>(height);
    out.topDown = storedHeight < 0;
    out.bitsOffset = static_cast<size_t>(offset);
    out.bitsSize = static_cast<size_t>(size);
    return true;
}
