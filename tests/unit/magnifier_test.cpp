#include <gtest/gtest.h>

#include <vector>

#include "render/magnifier.h"

TEST(MagnifyAbout, KeepsThePointerPixelAndRoundsTheSize)
{
    struct Case {
        POINT pointer;
        unsigned n;
        std::vector<long> want;  // source x, y, width, height; destination width, height
        const char* why;
    } cases[] = {
        {{50, 30}, 2, {25, 15, 50, 30, 100, 60}, "centre: half the area about the pointer"},
        {{0, 0}, 3, {0, 0, 33, 20, 99, 60}, "size rounded down: the last column is not drawn"},
        {{99, 59}, 6, {82, 49, 17, 10, 102, 60}, "size rounded up: the copy overshoots by two columns"},
    };
    for (const Case& c : cases) {
        const MagnifiedArea a = MagnifyAbout(RECT{0, 0, 100, 60}, c.n, c.pointer);
        EXPECT_EQ(std::vector<long>({a.sourceOrigin.x, a.sourceOrigin.y, a.sourceSize.x, a.sourceSize.y, a.destSize.x,
                                     a.destSize.y}),
                  c.want)
            << c.why;
    }
}
