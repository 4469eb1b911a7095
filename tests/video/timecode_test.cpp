#include "video/timecode.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace vv {
namespace {

struct TimecodeCase {
    std::int32_t frame;
    std::int16_t rate;
    const char* text;
};

TEST(Timecode, FormatsFrames)
{
    const TimecodeCase cases[] = {
        {0, 25, "00:00:00-00"},
        {1234, 25, "00:00:49-09"},
        {25, 25, "00:00:01-00"},            // exactly one second
        {24, 25, "00:00:00-24"},            // one frame short of it
        {25 * 3600, 25, "01:00:00-00"},
        {25 * 3600 * 4, 25, "04:00:00-00"},
        {25 * 3599 + 24, 25, "00:59:59-24"},
        {25 * 61 + 5, 25, "00:01:01-05"},
        {30 * 60 * 10 + 9, 30, "00:10:00-09"},
        {1, 1, "00:00:01-00"},
        {119, 120, "00:00:00-119"},         // three-digit frame field
        {125, 120, "00:00:01-05"},          // one leading zero only
        {999999, 25, "11:06:39-24"},        // largest six-digit position
    };
    for (const auto& c : cases)
        EXPECT_EQ(FORMATtimecode(c.frame, c.rate), QString::fromLatin1(c.text))
            << c.frame << " at " << c.rate;
}

TEST(Timecode, BeyondSixteenBitSecondsHoursGrow)
{
    // 32767 s is the last second a 16-bit count holds; one more must not wrap.
    EXPECT_EQ(FORMATtimecode(32767 * 25, 25), QStringLiteral("09:06:07-00"));
    EXPECT_EQ(FORMATtimecode(32768 * 25, 25), QStringLiteral("09:06:08-00"));
    EXPECT_EQ(FORMATtimecode(100 * 3600 * 5, 5), QStringLiteral("100:00:00-00"));
    EXPECT_EQ(FORMATtimecode(INT32_MAX, 1), QStringLiteral("596523:14:07-00"));
}

TEST(Timecode, NegativeFramesCountBackFromZero)
{
    EXPECT_EQ(FORMATtimecode(-1, 25), QStringLiteral("-00:00:00-01"));
    EXPECT_EQ(FORMATtimecode(-26, 25), QStringLiteral("-00:00:01-01"));
    EXPECT_EQ(FORMATtimecode(INT32_MIN, 1), QStringLiteral("-596523:14:08-00"));
}

TEST(Timecode, NoFrameRateGivesEmptyText)
{
    EXPECT_TRUE(FORMATtimecode(1234, 0).isEmpty());
    EXPECT_TRUE(FORMATtimecode(1234, -25).isEmpty());
}

TEST(Timecode, RoundTripThroughFields)
{
    // Reading the fields back gives the frame again, for every frame of the
    // first hours at common rates.
    for (std::int16_t rate : {std::int16_t(1), std::int16_t(24), std::int16_t(25), std::int16_t(30),
                              std::int16_t(60), std::int16_t(120)}) {
        for (std::int32_t f = 0; f < 3 * 3600 * rate; f += 7919) {
            const QStringList parts = FORMATtimecode(f, rate).split(QRegularExpression("[:-]"));
            ASSERT_EQ(parts.size(), 4);
            const std::int64_t back = ((parts[0].toLongLong() * 60 + parts[1].toLongLong()) * 60
                                       + parts[2].toLongLong()) * rate + parts[3].toLongLong();
            EXPECT_EQ(back, f) << "rate " << rate;
            EXPECT_LT(parts[1].toInt(), 60);
            EXPECT_LT(parts[2].toInt(), 60);
            EXPECT_LT(parts[3].toInt(), rate);
        }
    }
}

TEST(Timecode, ToolTipText)
{
    EXPECT_EQ(frameToolTip(1234), QStringLiteral(" 1234Frame"));
    EXPECT_EQ(frameToolTip(0), QStringLiteral(" 0Frame"));
    EXPECT_EQ(frameToolTip(-3), QStringLiteral("-3Frame"));
}

} // namespace
} // namespace vv
