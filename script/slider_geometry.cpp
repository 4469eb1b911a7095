#include "script/slider_geometry.h"

#include <cmath>
#include <limits>

namespace vv {

double sliderFillWidth(double position, double barWidth, std::int32_t durationFrames)
{
    if (durationFrames <= 0)
        return 0;
    return position * (barWidth / durationFrames);
}

std::optional<std::int32_t> sliderFrameAt(double x, double barWidth, std::int32_t durationFrames)
{
    if (durationFrames <= 0 || !(barWidth > 0) || !std::isfinite(x))
        return std::nullopt;
    // x / (barWidth / durationFrames), as one division. Points are whole
    // twips and the bar a whole number of twips, so a quotient that is not a
    // whole number lies at least 1 / barWidth away from one; the small
    // allowance only puts a point lying exactly on a frame's boundary (such
    // as the end of that frame's fill) into that frame despite the rounding
    // of the division.
    const double frames = std::floor(x * durationFrames / barWidth + 1e-9);
    constexpr double limit = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (frames > limit)
        return std::numeric_limits<std::int32_t>::max();
    if (frames < -limit)
        return -std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(frames);
}

double placeInButton(double fillWidth, double barWidth, double buttonWidth)
{
    double left = fillWidth - buttonWidth;
    if (left < 0)
        left = 0;
    // Kept wholly inside the bar (a fill longer than the bar would push the
    // button past its right end).
    if (left + buttonWidth > barWidth)
        left = barWidth - buttonWidth;
    return left;
}

MarkButtonPlaces placeOutButton(double fillWidth, double barWidth, double inLeft, double buttonWidth)
{
    MarkButtonPlaces places;
    places.inLeft = inLeft;
    places.outLeft = placeInButton(fillWidth, barWidth, buttonWidth);
    if (barWidth - (places.inLeft + buttonWidth) < buttonWidth)
        places.inLeft = barWidth - buttonWidth - buttonWidth;
    if (places.outLeft >= places.inLeft && places.inLeft + buttonWidth >= places.outLeft)
        places.outLeft = places.inLeft + buttonWidth;
    return places;
}

} // namespace vv
