#include "library/fast_scroll.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(FastScroll, IndexUnderTheMouse)
{
    struct Row {
        std::int32_t entries;
        double bar, x;
        std::int32_t index;
    } const rows[] = {
        // 120 entries on a bar of 8880 twips.
        {120, 8880, 4440, 60}, {120, 8880, 8880, 119} /* 120 limited to N - 1 */, {120, 8880, 20000, 119},
        {120, 8880, 0, 0},     {120, 8880, -500, 0},
        // 10 entries on 1000 twips: 2.5 -> 2, 3.5 -> 4.
        {10, 1000, 250, 2},    {10, 1000, 350, 4},
        // An empty list or bar does nothing.
        {0, 8880, 100, -1},    {5, 0, 100, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fastScrollIndex(r.entries, r.bar, r.x), r.index) << r.entries << " " << r.bar << " " << r.x;
    EXPECT_NEAR(fastScrollFill(60, 120, 8880), 4440.0, 0.01);
    EXPECT_EQ(fastScrollFill(3, 0, 8880) + fastScrollFill(3, 5, 0) + fastScrollFill(0, 120, 8880), 0.0);
    EXPECT_EQ(fastScrollDragWidth(-40), 0.0);
    EXPECT_EQ(fastScrollDragWidth(1234.5), 1234.5);
}

TEST(FastScroll, FillAndIndexAreInverse)
{
    // The filled part drawn for an entry leads the mouse back to that entry,
    // whether the list is shorter or longer than the bar is wide.
    for (std::int32_t n : {1, 2, 7, 120, 999, 8880, 20000, 32767}) {
        for (double w : {330.0, 8880.0, 8895.0}) {
            for (std::int32_t i = 0; i < n; i += 1 + n / 97) {
                const double fill = fastScrollFill(i, n, w);
                EXPECT_TRUE(fill >= 0.0 && fill <= w + 0.5) << fill;
                EXPECT_EQ(fastScrollIndex(n, w, fill), i) << n << " entries, bar " << w;
            }
        }
    }
}

} // namespace
} // namespace vv
