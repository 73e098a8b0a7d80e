#include "render/bmp_layout.h"

namespace {

void Put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace

bool BmpLayoutFor(int32_t width, int32_t height, BmpLayout& out)
{
    if (width <= 0 || height <= 0)
        return false;
    // 64 bits: 3 × width alone overflows 32 bits from a width of about 1.4 billion.
    const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    const uint64_t imageSize = stride * uint64_t(height);
    const uint64_t fileSize = kBmpHeadersSize + imageSize;
    if (fileSize > UINT32_MAX)
        return false;
    out.stride = static_cast<uint32_t>(stride);
    out.imageSize = static_cast<uint32_t>(imageSize);
    out.fileSize = static_cast<uint32_t>(fileSize);
    return true;
}

void FillBmpHeaders(int32_t width, int32_t height, const BmpLayout& layout, uint8_t (&headers)[kBmpHeadersSize])
{
    for (uint8_t& b : headers)
        b = 0;
    headers[0] = 'B';
    headers[1] = 'M';
    Put32(headers + 2, layout.fileSize);
    Put32(headers + 10, kBmpHeadersSize);  // the rows start right after the headers
    Put32(headers + 14, 40);               // information header size
    Put32(headers + 18, static_cast<uint32_t>(width));
    Put32(headers + 22, static_cast<uint32_t>(height));  // positive: bottom-up
    Put16(headers + 26, 1);                              // planes
    Put16(headers + 28, 24);                             // bits per pixel; compression 0 is BI_RGB
    Put32(headers + 34, layout.imageSize);
}
