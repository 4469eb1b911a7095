#include "video/playback_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vv {
namespace {

TEST(PlaybackRules, LoopJumpsBackOnlyPastMarkOutWhilePlaying)
{
    struct Case {
        std::int32_t in, out;
        bool playing;
        double position;
        bool due;
    } const cases[] = {
        {100, 200, true, 200.0, false},   // equal to MarkOut: not yet
        {100, 200, true, 200.4, true},    // unrounded: just past counts
        {100, 200, false, 250.0, false},  // paused: the range is not enforced
        {100, -1, true, 250.0, false},    // only a start mark
        {-1, 200, true, 250.0, false},
        {0, 0, true, 0.5, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loopJumpBackDue(c.in, c.out, c.playing, c.position), c.due)
            << c.in << ".." << c.out << " at " << c.position;
}

TEST(PlaybackRules, EndOfVideoIsExactEquality)
{
    EXPECT_TRUE(atEndOfVideo(1000.0, 1000));
    EXPECT_FALSE(atEndOfVideo(999.9, 1000));
    EXPECT_FALSE(atEndOfVideo(1000.1, 1000));
    EXPECT_FALSE(atEndOfVideo(0.0, 0));
}

std::vector<std::int32_t> jumps(std::int32_t d, std::int16_t r, double q)
{
    const PreviewJumps j = fastPreviewJumps(d, r, q);
    return {j.targets.begin(), j.targets.begin() + j.count};
}

TEST(PlaybackRules, FastPreviewJumps)
{
    using V = std::vector<std::int32_t>;
    // 10000 frames at 25: a = 5250, b = 9250.
    EXPECT_EQ(jumps(10000, 25, 0.4), V{});        // rounds to 0: the very start plays
    EXPECT_EQ(jumps(10000, 25, 0.6), V{5001});    // rounds to 1
    EXPECT_EQ(jumps(10000, 25, 4999), V{5001});
    EXPECT_EQ(jumps(10000, 25, 5000), V{});       // the middle itself
    EXPECT_EQ(jumps(10000, 25, 5250), V{});       // a itself: not past it
    EXPECT_EQ(jumps(10000, 25, 5251), V{9251});
    EXPECT_EQ(jumps(10000, 25, 9249), V{9251});
    EXPECT_EQ(jumps(10000, 25, 9250), V{});       // b itself
    // 1000 frames at 25: a = 750, b = 250: only the jump to the middle.
    EXPECT_EQ(jumps(1000, 25, 1), V{501});
    for (int q = 500; q <= 1000; q += 10)
        EXPECT_EQ(jumps(1000, 25, q), V{}) << q;
    // An odd length: the middle 5000.5, a = 5250.5 -> 5250, target 5001.5 -> 5002.
    EXPECT_EQ(jumps(10001, 25, 3), V{5002});
    EXPECT_EQ(jumps(10001, 25, 5251), V{9252});
    // 4000 x 10 does not fit 16 bits. Computed wide, a = 1040000 and
    // b = 1880000; a wrapped product would put a below the middle.
    EXPECT_EQ(jumps(2000000, 4000, 1040000), V{});
    EXPECT_EQ(jumps(2000000, 4000, 1040001), V{1880001});
}

TEST(PlaybackRules, PlaylistStepsAndRandomPicksStayInRange)
{
    struct Case {
        int count, selected, next, previous;
    } const cases[] = {
        {0, -1, -1, -1},   // empty list
        {3, -1, 0, -1},    // nothing selected: next is the first
        {3, 1, 2, 0},
        {3, 2, -1, 1},     // last entry: no wrap-around
        {3, 7, -1, -1},    // a stale selection gives nothing
        {3, -5, -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nextPlaylistIndex(c.count, c.selected), c.next) << c.count << "/" << c.selected;
        EXPECT_EQ(previousPlaylistIndex(c.count, c.selected), c.previous) << c.count << "/" << c.selected;
    }
    // A generator that reaches 1 or leaves [0, 1) never indexes outside.
    for (const auto& [count, r, index] : {std::tuple{0, 0.5, -1}, {10, 0.1, 1}, {10, 0.99999, 9}, {10, 1.0, 9},
                                          {10, -0.2, 0}, {10, std::nan(""), 0}})
        EXPECT_EQ(randomIndex(count, r), index) << count << " " << r;
    QStringList none;
    EXPECT_EQ(pickRandom(none, {}, 0.3), QString());  // nothing found: nothing to pick
}

} // namespace
} // namespace vv
