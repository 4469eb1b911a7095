#include "app/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vv {
namespace {

TEST(Numbers, RoundHalfToEven)
{
    struct Case {
        double value;
        std::int64_t rounded;
    } const cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {1e300, std::numeric_limits<std::int64_t>::max()},
        {-1e300, std::numeric_limits<std::int64_t>::min()}, {std::nan(""), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundEven(c.value), c.rounded) << c.value;
}

TEST(Numbers, NarrowRoundingPinsInsteadOfWrapping)
{
    EXPECT_EQ(roundEven16(32767.4), 32767);
    EXPECT_EQ(roundEven16(32767.5), 32767);
    EXPECT_EQ(roundEven16(40000), 32767);
    EXPECT_EQ(roundEven16(-40000), -32768);
    EXPECT_EQ(roundEven16(100.5), 100);
    EXPECT_EQ(roundEven32(3e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundEven32(-3e9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundEven32(4440.5), 4440);
}

TEST(Numbers, NumberTexts)
{
    EXPECT_EQ(numberText(std::int64_t{3}), QStringLiteral(" 3"));
    EXPECT_EQ(numberText(std::int64_t{0}), QStringLiteral(" 0"));
    EXPECT_EQ(numberText(std::int64_t{-3}), QStringLiteral("-3"));
    struct Case {
        double value;
        const char* text;
    } const cases[] = {
        {0.5, " .5"}, {1.5, " 1.5"}, {2.0, " 2"}, {-0.25, "-.25"}, {-0.0, " 0"},
        {1.1f, " 1.1"}, {0.1f, " .1"}, {6045.0, " 6045"}, {1234567.0, " 1234567"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberText(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(Numbers, LeadingNumber)
{
    struct Case {
        const char* text;
        std::int64_t value;
    } const cases[] = {
        {"001234-005678 JUMP", 1234}, {"  42abc", 42}, {"abc", 0}, {"", 0}, {"-5x", -5},
        {"+7", 7}, {" 1234Frame", 1234}, {"!00000 PREVIOUS VIDEO", 0},
        {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Numbers, SixDigits)
{
    EXPECT_EQ(sixDigits(1234), QStringLiteral("001234"));
    EXPECT_EQ(sixDigits(0), QStringLiteral("000000"));
    EXPECT_EQ(sixDigits(999999), QStringLiteral("999999"));
    EXPECT_EQ(sixDigits(-5), QStringLiteral("000005"));
    EXPECT_EQ(sixDigits(1234567), QStringLiteral("1234567"));
    // Round trip with the reader of entries.
    for (std::int64_t v : {0, 1, 99, 1000, 123456, 999999})
        EXPECT_EQ(leadingNumber(sixDigits(v)), v);
}

} // namespace
} // namespace vv
