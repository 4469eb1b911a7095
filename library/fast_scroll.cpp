#include "library/fast_scroll.h"

#include "app/numbers.h"

#include <algorithm>

namespace vv {

namespace {

// Entries per twip, single precision; 0 when there is nothing to spread.
float ratio(std::int32_t count, double barWidth)
{
    if (count <= 0 || !(barWidth > 0))
        return 0;
    return static_cast<float>(count) / static_cast<float>(barWidth);
}

} // namespace

std::int32_t fastScrollIndex(std::int32_t count, double barWidth, double x)
{
    const float r = ratio(count, barWidth);
    if (r == 0)
        return -1;
    const std::int64_t idx = roundEven(static_cast<double>(r * static_cast<float>(x)));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(idx, 0, count - 1));
}

double fastScrollFill(std::int32_t index, std::int32_t count, double barWidth)
{
    const float r = ratio(count, barWidth);
    if (r == 0)
        return 0;
    return static_cast<double>(static_cast<float>(index) / r);
}

double fastScrollDragWidth(double x)
{
    return x > 0 ? x : 0;
}

} // namespace vv
