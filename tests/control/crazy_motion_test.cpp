// The motions of crazy vision, drawn from scripted random numbers.

#include <gtest/gtest.h>

#include <deque>

#include "control/crazy_motion.h"

namespace vv {
namespace {

using Kind = CrazyMotion::Kind;

// Plays back a list of draws and counts how many were taken.
struct ScriptedDraws {
    std::deque<float> values;
    int taken = 0;
    CrazyMotionGenerator::Draw draw()
    {
        return [this] {
            ++taken;
            if (values.empty()) {
                ADD_FAILURE() << "more draws than scripted";
                return 0.0f;
            }
            const float r = values.front();
            values.pop_front();
            return r;
        };
    }
};

std::vector<std::int16_t> zoomsOf(const CrazyMotion& motion)
{
    std::vector<std::int16_t> zooms;
    for (const CrazyStep& step : motion.steps) {
        EXPECT_EQ(step.dx, 0);
        EXPECT_EQ(step.dy, 0);
        EXPECT_TRUE(step.zoom.has_value());
        zooms.push_back(step.zoom.value_or(-1));
    }
    return zooms;
}

std::vector<std::int16_t> countedRun(int from, int step, int count)
{
    std::vector<std::int16_t> zooms;
    for (int i = 0; i < count; ++i)
        zooms.push_back(static_cast<std::int16_t>(from + i * step));
    return zooms;
}

constexpr float LargestDraw = 0.99999994f;  // the largest float below 1

TEST(CrazyMotionTest, ZoomDriftsFollowTheirDrawsAndTheDriftRule)
{
    struct Case {
        const char* name;
        std::int16_t zoom;          // the picture's zoom at the motion's start
        std::vector<float> draws;   // k, n, d
        std::vector<std::int16_t> expected;
    };
    const Case cases[] = {
        // k = 1, n = 6, d = 151: the longest drift, 26 steps inwards.
        {"longest inwards", 150, {0.0f, 0.0f, 0.0f}, countedRun(150, 6, 26)},
        // k = 2, n = 15, d = 151 - 297 = -146: outwards, n takes d's sign;
        // the values below 100 are left to ZOOMvideo's limit.
        {"outwards past 100", 150, {0.3f, 0.95f, 0.99f}, countedRun(150, -15, 10)},
        // d = 0: a single step at the present zoom.
        {"no change", 320, {0.1f, 0.5f, 0.504f}, {320}},
        // Above 200 percent an inward drift is turned outwards: d = -151, n = -11.
        {"turned outwards above 200", 300, {0.0f, 0.5f, 0.0f}, countedRun(300, -11, 14)},
        // At exactly 200 the drift may still go inwards.
        {"inwards at 200", 200, {0.0f, 0.95f, 0.0f}, countedRun(200, 15, 11)},
        {"turned outwards at 201", 201, {0.0f, 0.95f, 0.0f}, countedRun(201, -15, 11)},
        // An outward drift above 200 stays outward (no double negation).
        {"outwards above 200", 500, {0.0f, 0.4f, 0.9f}, countedRun(500, -10, 12)},
        // The largest draws: k = 4 would pan, so k comes from a small draw;
        // n = 15 and d = -148 are the ends of their ranges.
        {"ends of the ranges", 1000, {0.49f, LargestDraw, LargestDraw}, countedRun(1000, -15, 10)},
    };
    for (const Case& c : cases) {
        ScriptedDraws draws{{c.draws.begin(), c.draws.end()}};
        CrazyMotionGenerator generator(draws.draw());
        const CrazyMotion motion = generator.next(c.zoom);
        EXPECT_EQ(motion.kind, Kind::ZoomDrift) << c.name;
        EXPECT_EQ(zoomsOf(motion), c.expected) << c.name;
        EXPECT_EQ(draws.taken, 3) << c.name;
    }
}

TEST(CrazyMotionTest, PansMoveByWholeHundredsAtThePresentZoom)
{
    struct Case {
        const char* name;
        std::vector<float> draws;  // k, n, dx, dy
        std::int32_t dx, dy;
        std::size_t moves;
    };
    const Case cases[] = {
        // k = 3, n = 11: i = 1, 12, ..., 100 is ten moves; dx from Int(0) = 0,
        // dy from Int(5.94) = 5.
        {"most moves", {0.5f, 0.0f, 0.0f, 0.99f}, 200, -300, 10},
        // k = 4, n = 20: i = 1, 21, 41, 61, 81 is five moves.
        {"fewest moves", {0.75f, 0.95f, 0.5f, 0.34f}, -100, 0, 5},
        {"ends of the ranges", {LargestDraw, LargestDraw, LargestDraw, 0.0f}, -300, 200, 5},
        // n = 14: i = 1, 15, ..., 99 is eight moves.
        {"in between", {0.6f, 0.3f, 0.2f, 0.7f}, 100, -200, 8},
        // 1.0 and negative values are no uniform draws: pinned to the nearest
        // end of each range rather than making a motion that does not exist.
        {"draws outside the unit range", {1.0f, 1.0f, 1.0f, -0.5f}, -300, 200, 5},
    };
    for (const Case& c : cases) {
        ScriptedDraws draws{{c.draws.begin(), c.draws.end()}};
        CrazyMotionGenerator generator(draws.draw());
        const CrazyMotion motion = generator.next(250);
        EXPECT_EQ(motion.kind, Kind::Pan) << c.name;
        EXPECT_EQ(draws.taken, 4) << c.name;
        const CrazyStep expected{c.dx, c.dy, std::nullopt};
        EXPECT_EQ(motion.steps, std::vector<CrazyStep>(c.moves, expected)) << c.name;
    }
}

} // namespace
} // namespace vv
