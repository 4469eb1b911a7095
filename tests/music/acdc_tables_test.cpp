// The ACDC simulator's tables and draws, without windows or players.

#include <gtest/gtest.h>

#include <cmath>

#include "music/acdc_tables.h"

namespace vv {
namespace {

TEST(AcdcTables, DrawsAndScenesStayInsideTheirTables)
{
    struct Case {
        float r;
        int count;
        int k;
    } const draws[] = {
        {0.0f, 14, 1},  {0.0714f, 14, 1} /* just below 1/14 */, {1.0f / 14.0f, 14, 2} /* exactly 1/14 in floats */,
        {0.35f, 10, 4}, {0.9999999f, 14, 14} /* the largest value below 1 */,
        // A generator that misbehaves, or an empty table, never reaches outside.
        {1.0f, 14, 14}, {-0.25f, 10, 1},  {std::nanf(""), 12, 1}, {0.5f, 0, 1},
    };
    for (const Case& c : draws)
        EXPECT_EQ(acdcDraw(c.r, c.count), c.k) << "r=" << c.r << " count=" << c.count;

    EXPECT_EQ(acdcIntroScene(13), 122308);
    EXPECT_EQ(acdcIntroScene(14), 0);  // the very start of the video
    EXPECT_EQ(acdcActionScene(10), 109770);
    // A closing scene starts ten seconds before the start of intro scene
    // k + 1, whatever the frame rate.
    for (const std::int16_t rate : {std::int16_t(25), std::int16_t(30), std::int16_t(0)})
        for (int k = 1; k <= 12; ++k)
            EXPECT_EQ(acdcClosingScene(k, rate), acdcIntroScene(k + 1) - 10 * rate) << "k " << k << " rate " << rate;
    // Entries outside a table are held to its ends.
    EXPECT_EQ(acdcIntroScene(0), 2984);
    EXPECT_EQ(acdcIntroScene(15), 0);
    EXPECT_EQ(acdcActionScene(11), 109770);
}

TEST(AcdcTables, FilesTakePartByAcdcInTheirPathAndTheConcertVideoLiesBesideThem)
{
    const std::pair<const char*, bool> cases[] = {
        {"/m/Live-ACDC.mp3", true}, {"/music/AcDc/Back in Black.wav", true} /* the folder counts too */,
        {"/m/ac-dc.mp3", false},    {"", false},
    };
    for (const auto& [path, takesPart] : cases)
        EXPECT_EQ(acdcTakesPart(QString::fromUtf8(path)), takesPart) << path;

    EXPECT_EQ(concertVideoPath(QStringLiteral("/home/a/Musik//")), QStringLiteral("/home/a/Musik/acdc-nobulls2.avi"));
    EXPECT_EQ(concertVideoPath(QStringLiteral("/")), QStringLiteral("/acdc-nobulls2.avi"));
}

} // namespace
} // namespace vv
