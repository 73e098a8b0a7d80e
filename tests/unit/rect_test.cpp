#include <gtest/gtest.h>

#include <climits>

#include "canvas/rect.h"

namespace {

::testing::AssertionResult SameRect(const RECT& got, const RECT& want)
{
    if (got.left == want.left && got.top == want.top && got.right == want.right && got.bottom == want.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.left << "," << got.top << ")-(" << got.right << ","
                                         << got.bottom << "), want (" << want.left << "," << want.top << ")-("
                                         << want.right << "," << want.bottom << ")";
}

TEST(RectFromSize, NormalisesSignedSizes)
{
    struct Case {
        POINT origin, size;
        RECT want;
        const char* why;
    } cases[] = {
        {{10, 10}, {5, 3}, {10, 10, 15, 13}, "positive size grows right and down"},
        {{10, 10}, {-5, 3}, {5, 10, 10, 13}, "negative width extends left of the origin"},
        {{10, 10}, {5, -3}, {10, 7, 15, 10}, "negative height extends above the origin"},
        {{10, 10}, {-5, -3}, {5, 7, 10, 10}, "both negative"},
        {{10, 10}, {0, 0}, {10, 10, 10, 10}, "zero size is empty at the origin"},
        {{-4, -6}, {20, 20}, {-4, -6, 16, 14}, "negative origin"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameRect(RectFromSize(c.origin, c.size), c.want)) << c.why;
}

TEST(RectUnion, EmptyRectanglesStillWidenTheResult)
{
    EXPECT_TRUE(SameRect(RectUnion({5, 5, 6, 6}, {0, 0, 0, 0}), {0, 0, 6, 6}));
    EXPECT_TRUE(SameRect(RectUnion({0, 0, 0, 0}, {5, 5, 6, 6}), {0, 0, 6, 6})) << "order does not matter";
    EXPECT_TRUE(SameRect(RectUnion({1, 2, 3, 4}, {-3, 5, 2, 9}), {-3, 2, 3, 9}));
    EXPECT_TRUE(SameRect(RectUnion({7, 7, 7, 7}, {7, 7, 7, 7}), {7, 7, 7, 7}));
}

TEST(RectContains, LeftAndTopEdgesInsideRightAndBottomOutside)
{
    const RECT r = {10, 20, 30, 40};
    struct Case {
        POINT p;
        bool want;
        const char* why;
    } cases[] = {
        {{10, 20}, true, "top-left corner"},
        {{29, 39}, true, "last pixel"},
        {{30, 25}, false, "right edge"},
        {{15, 40}, false, "bottom edge"},
        {{9, 25}, false, "just left"},
        {{15, 19}, false, "just above"},
        {{-1, -1}, false, "negative point wraps to a huge unsigned offset"},
        {{INT_MIN, INT_MIN}, false, "extreme point"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RectContains(r, c.p), c.want) << c.why << " (" << c.p.x << "," << c.p.y << ")";
}

TEST(RectContains, EmptyRectangleContainsNothing)
{
    for (const RECT& r : {RECT{5, 5, 5, 5}, RECT{5, 5, 5, 9}, RECT{5, 5, 9, 5}})
        for (int x = 3; x < 11; ++x)
            for (int y = 3; y < 11; ++y)
                EXPECT_FALSE(RectContains(r, {x, y})) << x << "," << y;
}

TEST(RectContains, WorksAcrossNegativeCoordinates)
{
    const RECT r = {-1024, -10, 0, 10};  // a monitor left of the primary one
    EXPECT_TRUE(RectContains(r, {-1024, -10}));
    EXPECT_TRUE(RectContains(r, {-1, 9}));
    EXPECT_FALSE(RectContains(r, {0, 0}));
    EXPECT_FALSE(RectContains(r, {-1025, 0}));
}

}  // namespace
