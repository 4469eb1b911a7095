#pragma once
// The motions of crazy vision: random zoom drifts and pans of the video
// picture, drawn from a uniform random source in [0, 1). No widgets here: a
// motion is a list of steps that the crazy vision loop hands to ZOOMvideo one
// by one, letting window events run after each.
//
// One motion draws, in this order:
//   k = Int(4r) + 1                      1 or 2: zoom drift, 3 or 4: pan
// Zoom drift (k = 1, 2):
//   n = Int(10r) + 6                     the step, 6..15 percent
//   d = 151 - Int(300r)                  the change, -148..151 percent
//   n takes the sign of d; above 200 percent a drift inwards (d > 0) is
//   turned outwards (d and n negated). With z0 the zoom at the motion's
//   start, the steps zoom to z0, z0 + n, z0 + 2n, ... as long as z has not
//   passed z0 + d (1 to 26 steps), without a move. ZOOMvideo keeps every zoom
//   within 100..1000, so a drift below 100 percent stays at 100.
// Pan (k = 3, 4):
//   n = Int(10r) + 11                    11..20
//   dx, dy = (3 - (Int(6r) + 1)) * 100   each -300, -200, ..., 200 twips
//   The steps move the picture by (dx, dy) at its present zoom, once for each
//   i = 1, 1 + n, 1 + 2n, ... up to 100 (5 to 10 moves).
// Int rounds down. Zoom values and steps are 16-bit, moves 32-bit.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vv {

struct CrazyStep {
    std::int32_t dx = 0;  // twips, positive = right
    std::int32_t dy = 0;  // twips, positive = down
    // The zoom to apply; empty = keep the picture's present zoom.
    std::optional<std::int16_t> zoom;
    friend bool operator==(const CrazyStep&, const CrazyStep&) = default;
};

struct CrazyMotion {
    enum class Kind { ZoomDrift, Pan };
    Kind kind = Kind::ZoomDrift;
    std::vector<CrazyStep> steps;
};

// Draws motions from a random source. The source is called only inside
// next(), exactly three times for a zoom drift and four times for a pan.
class CrazyMotionGenerator {
public:
    // A uniform draw in [0, 1).
    using Draw = std::function<float()>;

    explicit CrazyMotionGenerator(Draw draw);

    // The next motion, for the picture's zoom at this moment.
    CrazyMotion next(std::int16_t zoomPercent);

private:
    // Int(r * range): a draw scaled and rounded down, 0..range-1.
    int scaled(int range);

    Draw draw_;
};

} // namespace vv
