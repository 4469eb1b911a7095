#include "video/timecode.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(Timecode, FormatsFramesAndToolTips)
{
    struct Case {
        std::int32_t frame;
        std::int16_t rate;
        const char* text;
    } const cases[] = {
        {1234, 25, "00:00:49-09"},
        {25, 25, "00:00:01-00"},            // exactly one second
        {24, 25, "00:00:00-24"},            // one frame short of it
        {25 * 3599 + 24, 25, "00:59:59-24"},
        {119, 120, "00:00:00-119"},         // three-digit frame field
        {125, 120, "00:00:01-05"},          // one leading zero only
        {999999, 25, "11:06:39-24"},        // largest six-digit position
        // 32767 s is the last second a 16-bit count holds; one more must not wrap.
        {32768 * 25, 25, "09:06:08-00"},
        {100 * 3600 * 5, 5, "100:00:00-00"},
        {INT32_MAX, 1, "596523:14:07-00"},
        // Negative frames count back from zero.
        {-1, 25, "-00:00:00-01"},
        {-26, 25, "-00:00:01-01"},
        {INT32_MIN, 1, "-596523:14:08-00"},
        // No frame rate: no text.
        {1234, 0, ""},
        {1234, -25, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FORMATtimecode(c.frame, c.rate), QString::fromLatin1(c.text)) << c.frame << " at " << c.rate;
    EXPECT_EQ(frameToolTip(1234) + frameToolTip(-3), QStringLiteral(" 1234Frame-3Frame"));
}

} // namespace
} // namespace vv
