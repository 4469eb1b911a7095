#include "control/speed.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(Speed, ClampsRoundsAndNamesTheRate)
{
    struct Case {
        float requested;
        float rate;
        const char* text;
    } const cases[] = {
        {0.5f, 0.5f, "SPEED 0.5 x"},
        {1.0f, 1.0f, "SPEED 1.0 x"},
        {2.0f, 2.0f, "SPEED 2.0 x"},
        {1.5f, 1.5f, "SPEED 1.5 x"},
        {1.2f, 1.2f, "SPEED 1.2 x"},
        {0.1f, 0.1f, "SPEED 0.1 x"},
        {0.05f, 0.1f, "SPEED 0.1 x"},    // below the range
        {-3.0f, 0.1f, "SPEED 0.1 x"},
        {2.1f, 2.0f, "SPEED 2.0 x"},     // above the range
        {50.0f, 2.0f, "SPEED 2.0 x"},
        {1.25f, 1.2f, "SPEED 1.2 x"},    // halves to even
        {0.75f, 0.8f, "SPEED 0.8 x"},
        {1.04f, 1.0f, "SPEED 1.0 x"},
        {1.96f, 2.0f, "SPEED 2.0 x"},
        {0.333f, 0.3f, "SPEED 0.3 x"},
    };
    for (const auto& c : cases) {
        const SpeedSetting s = speedSetting(c.requested);
        EXPECT_FLOAT_EQ(s.rate, c.rate) << c.requested;
        EXPECT_EQ(s.text, QString::fromLatin1(c.text)) << c.requested;
    }
}

TEST(Speed, NotANumberIsNormalSpeed)
{
    const SpeedSetting s = speedSetting(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(s.rate, 1.0f);
    EXPECT_EQ(s.text, QStringLiteral("SPEED 1.0 x"));
}

TEST(Speed, StepsWalkTheWholeRangeInTenths)
{
    // Faster from normal speed to the top and beyond, then slower to the
    // bottom and beyond: every tenth is shown once, no drift.
    double rate = 1.0;
    QStringList texts;
    for (int i = 0; i < 12; ++i) {
        const SpeedSetting s = speedSetting(steppedRate(rate, 0.1));
        rate = s.rate;
        texts << s.text;
    }
    EXPECT_EQ(texts.first(), QStringLiteral("SPEED 1.1 x"));
    EXPECT_EQ(texts.at(8), QStringLiteral("SPEED 1.9 x"));
    EXPECT_EQ(texts.at(9), QStringLiteral("SPEED 2.0 x"));
    EXPECT_EQ(texts.last(), QStringLiteral("SPEED 2.0 x"));
    for (int tenth = 19; tenth >= 0; --tenth) {
        const SpeedSetting s = speedSetting(steppedRate(rate, -0.1));
        rate = s.rate;
        const int expected = std::max(tenth, 1);
        EXPECT_EQ(s.text, QStringLiteral("SPEED %1.%2 x").arg(expected / 10).arg(expected % 10));
    }
    EXPECT_FLOAT_EQ(static_cast<float>(rate), 0.1f);
}

} // namespace
} // namespace vv
