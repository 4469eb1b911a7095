#include "library/fast_scroll.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vv {
namespace {

TEST(FastScroll, WorkedExample)
{
    // 120 entries on a bar of 8880 twips.
    EXPECT_EQ(fastScrollIndex(120, 8880, 4440), 60);
    EXPECT_EQ(fastScrollIndex(120, 8880, 8880), 119);   // 120 limited to N - 1
    EXPECT_EQ(fastScrollIndex(120, 8880, 20000), 119);  // right of the bar
    EXPECT_EQ(fastScrollIndex(120, 8880, 0), 0);
    EXPECT_EQ(fastScrollIndex(120, 8880, -500), 0);     // left of the bar
    EXPECT_NEAR(fastScrollFill(60, 120, 8880), 4440.0, 0.01);
    EXPECT_DOUBLE_EQ(fastScrollFill(0, 120, 8880), 0.0);
}

TEST(FastScroll, HalvesRoundToEven)
{
    // 10 entries on 1000 twips: 0.01 per twip; x = 250 is 2.5 -> 2, 350 is 3.5 -> 4.
    EXPECT_EQ(fastScrollIndex(10, 1000, 250), 2);
    EXPECT_EQ(fastScrollIndex(10, 1000, 350), 4);
}

TEST(FastScroll, EmptyListOrBarDoesNothing)
{
    EXPECT_EQ(fastScrollIndex(0, 8880, 100), -1);
    EXPECT_EQ(fastScrollIndex(5, 0, 100), -1);
    EXPECT_DOUBLE_EQ(fastScrollFill(3, 0, 8880), 0.0);
    EXPECT_DOUBLE_EQ(fastScrollFill(3, 5, 0), 0.0);
}

TEST(FastScroll, FillAndIndexAreInverse)
{
    // The filled part drawn for an entry leads the mouse back to that entry,
    // whether the list is shorter or longer than the bar is wide.
    for (std::int32_t n : {1, 2, 7, 120, 999, 8880, 20000, 32767}) {
        for (double w : {330.0, 8880.0, 8895.0}) {
            for (std::int32_t i = 0; i < n; i += 1 + n / 97) {
                const double fill = fastScrollFill(i, n, w);
                EXPECT_GE(fill, 0.0);
                EXPECT_LE(fill, w + 0.5);
                EXPECT_EQ(fastScrollIndex(n, w, fill), i) << n << " entries, bar " << w;
            }
        }
    }
}

TEST(FastScroll, DragWidthIsNeverNegative)
{
    EXPECT_DOUBLE_EQ(fastScrollDragWidth(-40), 0.0);
    EXPECT_DOUBLE_EQ(fastScrollDragWidth(1234.5), 1234.5);
}

} // namespace
} // namespace vv
