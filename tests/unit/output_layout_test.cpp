#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/bmp_layout.h"

TEST(BmpLayoutFor, PadsRowsAndRefusesSizesThe32BitFieldsCannotHold)
{
    struct Case {
        int32_t width, height;
        std::vector<uint64_t> want;  // accepted, stride, image size, file size; refusals leave zeros
        const char* why;
    } cases[] = {
        {1, 1, {1, 4, 4, 58}, "one pixel and one pad byte: the smallest file"},
        {2, 1, {1, 8, 8, 62}, "6 pixel bytes padded to 8"},
        {3, 1, {1, 12, 12, 66}, "9 padded to 12"},
        {4, 1, {1, 12, 12, 66}, "12 exactly: no pad"},
        {10, 10, {1, 32, 320, 374}, "30 padded to 32, ten rows"},
        {1, 1073741810, {1, 4, 4294967240u, 4294967294u}, "the tallest picture whose file size fits"},
        {1, 1073741811, {0, 0, 0, 0}, "one row more: the file size would wrap"},
        {65536, 65536, {0, 0, 0, 0}, "each side fits, the image size does not"},
        {INT32_MAX, 1, {0, 0, 0, 0}, "3 x width alone exceeds 32 bits"},
        {0, 1, {0, 0, 0, 0}, "no columns"},
        {1, -1, {0, 0, 0, 0}, "negative height would be a top-down file"},
    };
    for (const Case& c : cases) {
        BmpLayout l = {};
        const bool ok = BmpLayoutFor(c.width, c.height, l);
        EXPECT_EQ(std::vector<uint64_t>({ok, l.stride, l.imageSize, l.fileSize}), c.want)
            << c.width << " x " << c.height << ": " << c.why;
    }
}

TEST(FillBmpHeaders, WritesBothHeadersLittleEndian)
{
    // 301 x 2: rows of 903 bytes padded to 904; values above 255 show the byte order.
    BmpLayout l = {};
    ASSERT_TRUE(BmpLayoutFor(301, 2, l));
    uint8_t headers[kBmpHeadersSize];
    FillBmpHeaders(301, 2, l, headers);
    const std::vector<int> want = {
        'B', 'M', 0x46, 0x07, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,     // file: size 1862, rows at 54
        40, 0, 0, 0, 0x2D, 0x01, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,  // size, width, height, planes, bits
        0, 0, 0, 0, 0x10, 0x07, 0, 0,                            // BI_RGB, image size 1808
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,          // resolution, colour counts
    };
    EXPECT_EQ(std::vector<int>(headers, headers + kBmpHeadersSize), want);
}
