#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/bmp_layout.h"
#include "render/dialog_placement.h"

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

TEST(PlaceTitleUnderPointer, CentresTheTitleBarAndStaysInsideTheArea)
{
    // The colour dialog as Wine draws it: 272 x 326, client 266 x 301, frames of 3, a title strip of 22.
    const POINT window = {272, 326};
    const POINT client = {266, 301};
    const RECT single = {0, 0, 1280, 800};  // one monitor, no taskbar: as clamping to the paint window
    struct Case {
        POINT pointer;
        RECT area;
        POINT want;
        const char* why;
    } cases[] = {
        {{640, 400}, single, {504, 389}, "middle: pointer at the middle of the title bar, 11 px down"},
        {{0, 0}, single, {10, 10}, "top-left corner: 10 px in from both edges"},
        {{1279, 0}, single, {998, 10}, "top-right corner"},
        {{0, 799}, single, {10, 464}, "bottom-left corner"},
        {{1279, 799}, single, {998, 464}, "bottom-right corner: 10 px in from the right and bottom"},
        // A 2560 x 1440 primary with a 1920 x 1080 monitor to its right. Clamped to the paint window
        // (the whole desktop) the dialog would start at y 989 and end 235 px below the right monitor.
        {{3500, 1000}, {2560, 0, 4480, 1080}, {3364, 744}, "right monitor's work area keeps OK in view"},
        {{100, 100}, {0, 0, 200, 300}, {-82, -36}, "area too small: right and bottom limits win"},
    };
    for (const Case& c : cases) {
        const POINT at = PlaceTitleUnderPointer(c.pointer, window, client, c.area);
        EXPECT_EQ(std::vector<long>({at.x, at.y}), std::vector<long>({c.want.x, c.want.y}))
            << "pointer " << c.pointer.x << "," << c.pointer.y << ": " << c.why;
    }
}
