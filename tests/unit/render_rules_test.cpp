// The render layer's plain rules: the BMP export's sizes, which every reader of the file relies on (the
// header's bytes are pinned where the file is written), where the colour dialog goes, what the wheel magnifies.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/bmp_layout.h"
#include "render/dialog_placement.h"
#include "render/magnifier.h"

TEST(BmpLayoutFor, PadsRowsAndRefusesSizesThe32BitFieldsCannotHold)
{
    const struct { int32_t width, height; std::vector<uint64_t> want; const char* why; } cases[] = {
        // accepted, stride, image size, file size; refusals leave zeros
        {1, 1, {1, 4, 4, 58}, "one pixel and one pad byte: the smallest file"},
        {4, 1, {1, 12, 12, 66}, "12 bytes exactly: no pad"}, {10, 10, {1, 32, 320, 374}, "30 padded to 32, ten rows"},
        {1, 1073741810, {1, 4, 4294967240u, 4294967294u}, "the tallest picture whose file size fits"},
        {1, 1073741811, {0, 0, 0, 0}, "one row more: the file size would wrap"},
        {INT32_MAX, 1, {0, 0, 0, 0}, "3 x width alone exceeds 32 bits"}, {0, 1, {0, 0, 0, 0}, "no columns"},
        {1, -1, {0, 0, 0, 0}, "negative height would be a top-down file"}};
    for (const auto& c : cases) {
        BmpLayout l = {};
        const bool ok = BmpLayoutFor(c.width, c.height, l);
        EXPECT_EQ(std::vector<uint64_t>({ok, l.stride, l.imageSize, l.fileSize}), c.want) << c.why;
    }
}

TEST(PlaceTitleUnderPointer, CentresTheTitleBarAndStaysInsideTheArea)
{
    // The colour dialog as Wine draws it: 272 x 326, client 266 x 301, frames of 3, a title strip of 22.
    const POINT window = {272, 326}, client = {266, 301};
    const RECT single = {0, 0, 1280, 800};  // one monitor, no taskbar
    const struct { POINT pointer; RECT area; POINT want; const char* why; } cases[] = {
        {{640, 400}, single, {504, 389}, "middle: pointer at the middle of the title bar, 11 px down"},
        {{0, 0}, single, {10, 10}, "top-left corner: 10 px in from both edges"},
        {{1279, 799}, single, {998, 464}, "bottom-right corner: 10 px in from the right and bottom"},
        // A 2560 x 1440 primary with a 1920 x 1080 monitor to its right: the dialog stays on the right one.
        {{3500, 1000}, {2560, 0, 4480, 1080}, {3364, 744}, "the right monitor's work area keeps OK in view"},
        {{100, 100}, {0, 0, 200, 300}, {-82, -36}, "area too small: right and bottom limits win"}};
    for (const auto& c : cases) {
        const POINT at = PlaceTitleUnderPointer(c.pointer, window, client, c.area);
        EXPECT_TRUE(at.x == c.want.x && at.y == c.want.y) << c.why << ": " << at.x << "," << at.y;
    }
}

TEST(MagnifyAbout, KeepsThePointerPixelAndRoundsTheSize)
{
    const struct { POINT pointer; unsigned n; std::vector<long> want; const char* why; } cases[] = {  // want: source
        {{50, 30}, 2, {25, 15, 50, 30, 100, 60}, "centre: half the area about the pointer"},  // x, y, w, h; destination w, h
        {{0, 0}, 3, {0, 0, 33, 20, 99, 60}, "size rounded down: the last column is not drawn"},
        {{99, 59}, 6, {82, 49, 17, 10, 102, 60}, "size rounded up: the copy overshoots by two columns"}};
    for (const auto& c : cases) {
        const MagnifiedArea a = MagnifyAbout(RECT{0, 0, 100, 60}, c.n, c.pointer);
        const std::vector<long> got = {a.sourceOrigin.x, a.sourceOrigin.y, a.sourceSize.x, a.sourceSize.y, a.destSize.x, a.destSize.y};
        EXPECT_EQ(got, c.want) << c.why;
    }
}
