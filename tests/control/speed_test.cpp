#include "control/speed.h"

#include <limits>
#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(Speed, ClampsRoundsAndNamesTheRateAndStepsWalkTheRangeInTenths)
{
    struct Case {
        float requested;
        float rate;
        const char* text;
    } const cases[] = {
        {0.5f, 0.5f, "SPEED 0.5 x"},
        {0.05f, 0.1f, "SPEED 0.1 x"},    // below the range
        {2.1f, 2.0f, "SPEED 2.0 x"},     // above the range
        {1.25f, 1.2f, "SPEED 1.2 x"},    // halves to even
        {0.75f, 0.8f, "SPEED 0.8 x"},
        {std::numeric_limits<float>::quiet_NaN(), 1.0f, "SPEED 1.0 x"},  // not a number: normal speed
    };
    for (const auto& c : cases) {
        const SpeedSetting s = speedSetting(c.requested);
        EXPECT_FLOAT_EQ(s.rate, c.rate) << c.requested;
        EXPECT_EQ(s.text, QString::fromLatin1(c.text)) << c.requested;
    }

    // Faster from normal speed to the top and beyond, then slower to the
    // bottom and beyond: every tenth is shown once, no drift.
    double rate = 1.0;
    const auto step = [&rate](double by) {
        const SpeedSetting s = speedSetting(steppedRate(rate, by));
        rate = s.rate;
        return s.text;
    };
    const auto text = [](int tenths) { return QStringLiteral("SPEED %1.%2 x").arg(tenths / 10).arg(tenths % 10); };
    for (int tenths = 11; tenths <= 22; ++tenths)
        EXPECT_EQ(step(0.1), text(std::min(tenths, 20)));
    for (int tenths = 19; tenths >= 0; --tenths)
        EXPECT_EQ(step(-0.1), text(std::max(tenths, 1)));
}

} // namespace
} // namespace vv
