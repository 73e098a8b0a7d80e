#include <gtest/gtest.h>

#include <vector>

#include "render/magnifier.h"

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
