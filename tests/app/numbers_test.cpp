#include "app/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vv {
namespace {

TEST(Numbers, RoundHalfToEvenPinsInsteadOfWrapping)
{
    constexpr auto max64 = std::numeric_limits<std::int64_t>::max(), min64 = std::numeric_limits<std::int64_t>::min();
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
        {1e300, max64}, {-1e300, min64}, {std::nan(""), 0},
    };
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundEven(value), rounded) << value;
    for (const auto& [value, rounded] : {std::pair{32767.4, 32767}, {32767.5, 32767}, {40000, 32767}, {-40000, -32768},
                                        {100.5, 100}})
        EXPECT_EQ(roundEven16(value), rounded) << value;
    EXPECT_EQ(roundEven32(3e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundEven32(-3e9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundEven32(4440.5), 4440);
}

TEST(Numbers, NumberTexts)
{
    EXPECT_EQ(numberText(std::int64_t{3}) + numberText(std::int64_t{0}) + numberText(std::int64_t{-3}),
              QStringLiteral(" 3 0-3"));
    const std::pair<double, const char*> cases[] = {
        {0.5, " .5"}, {1.5, " 1.5"}, {2.0, " 2"}, {-0.25, "-.25"}, {-0.0, " 0"},
        {1.1f, " 1.1"}, {0.1f, " .1"}, {1234567.0, " 1234567"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(numberText(value), QString::fromLatin1(text)) << value;
}

TEST(Numbers, LeadingNumberAndSixDigits)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"001234-005678 JUMP", 1234}, {"  42abc", 42}, {"abc", 0}, {"", 0}, {"-5x", -5},
        {"+7", 7}, {"!00000 PREVIOUS VIDEO", 0},
        {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(leadingNumber(QString::fromLatin1(text)), value) << text;

    for (const auto& [value, text] : {std::pair{1234, "001234"}, {0, "000000"}, {999999, "999999"}, {-5, "000005"},
                                      {1234567, "1234567"}})
        EXPECT_EQ(sixDigits(value), QString::fromLatin1(text)) << value;
}

} // namespace
} // namespace vv
