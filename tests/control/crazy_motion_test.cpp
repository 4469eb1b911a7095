// The motions of crazy vision, drawn from scripted random numbers.

#include <gtest/gtest.h>

#include <deque>

#include "control/crazy_motion.h"

namespace vv {
namespace {

using Kind = CrazyMotion::Kind;

// A zoom drift of `count` steps from `from` on by `step`.
std::vector<CrazyStep> drift(int from, int step, int count)
{
    std::vector<CrazyStep> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back({0, 0, static_cast<std::int16_t>(from + i * step)});
    return steps;
}

std::vector<CrazyStep> pan(std::int32_t dx, std::int32_t dy, std::size_t moves)
{
    return std::vector<CrazyStep>(moves, CrazyStep{dx, dy, std::nullopt});
}

constexpr float LargestDraw = 0.99999994f;  // the largest float below 1

TEST(CrazyMotionTest, DriftsAndPansFollowTheirDraws)
{
    struct Case {
        const char* name;
        std::int16_t zoom;         // the picture's zoom at the motion's start
        std::vector<float> draws;  // k, n, d for a drift; k, n, dx, dy for a pan
        Kind kind;
        std::vector<CrazyStep> steps;
    };
    const Case cases[] = {
        // k = 1, n = 6, d = 151: the longest drift, 26 steps inwards.
        {"longest inwards", 150, {0.0f, 0.0f, 0.0f}, Kind::ZoomDrift, drift(150, 6, 26)},
        // k = 2, n = 15, d = 151 - 297 = -146: outwards, n takes d's sign;
        // the values below 100 are left to ZOOMvideo's limit.
        {"outwards past 100", 150, {0.3f, 0.95f, 0.99f}, Kind::ZoomDrift, drift(150, -15, 10)},
        // d = 0: a single step at the present zoom.
        {"no change", 320, {0.1f, 0.5f, 0.504f}, Kind::ZoomDrift, drift(320, 0, 1)},
        // Above 200 percent an inward drift is turned outwards; at 200 it
        // may still go inwards; an outward one stays outward.
        {"inwards at 200", 200, {0.0f, 0.95f, 0.0f}, Kind::ZoomDrift, drift(200, 15, 11)},
        {"turned outwards at 201", 201, {0.0f, 0.95f, 0.0f}, Kind::ZoomDrift, drift(201, -15, 11)},
        {"outwards above 200", 500, {0.0f, 0.4f, 0.9f}, Kind::ZoomDrift, drift(500, -10, 12)},
        // k = 4 would pan, so k comes from a small draw; n = 15 and d = -148
        // are the ends of their ranges.
        {"drift at the ends", 1000, {0.49f, LargestDraw, LargestDraw}, Kind::ZoomDrift, drift(1000, -15, 10)},
        // k = 3, n = 11: i = 1, 12, ..., 100 is ten moves; dx from Int(0),
        // dy from Int(5.94).
        {"most moves", 250, {0.5f, 0.0f, 0.0f, 0.99f}, Kind::Pan, pan(200, -300, 10)},
        // k = 4, n = 20: i = 1, 21, 41, 61, 81 is five moves.
        {"fewest moves", 250, {0.75f, 0.95f, 0.5f, 0.34f}, Kind::Pan, pan(-100, 0, 5)},
        {"pan at the ends", 250, {LargestDraw, LargestDraw, LargestDraw, 0.0f}, Kind::Pan, pan(-300, 200, 5)},
        // 1.0 and negative values are no uniform draws: pinned to the nearest
        // end of each range rather than making a motion that does not exist.
        {"draws outside the unit range", 250, {1.0f, 1.0f, 1.0f, -0.5f}, Kind::Pan, pan(-300, 200, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::deque<float> draws(c.draws.begin(), c.draws.end());
        CrazyMotionGenerator generator([&draws] {
            if (draws.empty()) {
                ADD_FAILURE() << "more draws than scripted";
                return 0.0f;
            }
            const float r = draws.front();
            draws.pop_front();
            return r;
        });
        const CrazyMotion motion = generator.next(c.zoom);
        EXPECT_EQ(motion.kind, c.kind);
        EXPECT_EQ(motion.steps, c.steps);
        EXPECT_TRUE(draws.empty());
    }
}

} // namespace
} // namespace vv
