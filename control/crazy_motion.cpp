#include "control/crazy_motion.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/numbers.h"

namespace vv {

namespace {

constexpr int PanLimit = 100;              // i runs from 1 up to this
constexpr std::int16_t InwardDriftLimit = 200;  // above this a drift only goes outwards

} // namespace

CrazyMotionGenerator::CrazyMotionGenerator(Draw draw) : draw_(std::move(draw)) {}

int CrazyMotionGenerator::scaled(int range)
{
    // The product of a float below 1 and a small whole number is exact in
    // double precision and stays below range; a source that breaks its
    // promise is pinned into the range instead of yielding a motion that does
    // not exist.
    const double r = static_cast<double>(draw_());
    const double v = std::floor(r * range);
    if (!(v >= 0))
        return 0;
    return v >= range ? range - 1 : static_cast<int>(v);
}

CrazyMotion CrazyMotionGenerator::next(std::int16_t zoomPercent)
{
    CrazyMotion motion;
    const int k = scaled(4) + 1;
    if (k <= 2) {
        motion.kind = CrazyMotion::Kind::ZoomDrift;
        auto n = static_cast<std::int16_t>(scaled(10) + 6);
        auto d = static_cast<std::int16_t>(151 - scaled(300));
        if (d < 0)
            n = static_cast<std::int16_t>(-n);
        if (zoomPercent > InwardDriftLimit && d > 0) {
            d = static_cast<std::int16_t>(-d);
            n = static_cast<std::int16_t>(-n);
        }
        // A counted loop from z0 to z0 + d in steps of n (n has d's sign, or
        // is positive when d is 0): the first step at z0 itself.
        const int z0 = zoomPercent;
        const int end = z0 + d;
        for (int z = z0; n > 0 ? z <= end : z >= end; z += n)
            motion.steps.push_back({0, 0, pinned<std::int16_t>(z)});
        return motion;
    }

    motion.kind = CrazyMotion::Kind::Pan;
    const int n = scaled(10) + 11;
    const std::int32_t dx = (3 - (scaled(6) + 1)) * 100;
    const std::int32_t dy = (3 - (scaled(6) + 1)) * 100;
    for (int i = 1; i <= PanLimit; i += n)
        motion.steps.push_back({dx, dy, std::nullopt});
    return motion;
}

} // namespace vv
