// The ACDC simulator's tables and draws, without windows or players.

#include <gtest/gtest.h>

#include <cmath>

#include "music/acdc_tables.h"

namespace vv {
namespace {

TEST(AcdcTables, DrawIsTheWholePartOfRTimesCountPlusOne)
{
    struct Case {
        float r;
        int count;
        int k;
    };
    const Case cases[] = {
        {0.0f, 14, 1},
        {0.0714f, 14, 1},          // just below 1/14
        {1.0f / 14.0f, 14, 2},      // exactly 1/14 in single precision
        {0.9999999f, 14, 14},       // the largest value below 1
        {0.5f, 12, 7},
        {0.35f, 10, 4},
        // A generator that misbehaves never reaches outside the table.
        {1.0f, 14, 14},
        {-0.25f, 10, 1},
        {std::nanf(""), 12, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acdcDraw(c.r, c.count), c.k) << "r=" << c.r << " count=" << c.count;
}

TEST(AcdcTables, SceneTablesOfTheConcertRecording)
{
    EXPECT_EQ(acdcIntroScene(13), 122308);
    EXPECT_EQ(acdcIntroScene(14), 0);  // the very start of the video
    EXPECT_EQ(acdcActionScene(10), 109770);

    // A closing scene starts ten seconds before the start of intro scene
    // k + 1, whatever the frame rate.
    for (const std::int16_t rate : {std::int16_t(25), std::int16_t(30), std::int16_t(0)}) {
        for (int k = 1; k <= 12; ++k)
            EXPECT_EQ(acdcClosingScene(k, rate), acdcIntroScene(k + 1) - 10 * rate) << "k " << k << " rate " << rate;
    }
    EXPECT_EQ(acdcClosingScene(12, 25), 122058);

    // Entries outside a table are held to its ends.
    EXPECT_EQ(acdcIntroScene(0), 2984);
    EXPECT_EQ(acdcIntroScene(15), 0);
    EXPECT_EQ(acdcActionScene(11), 109770);
}

TEST(AcdcTables, FilesTakePartByAcdcInTheirPathIgnoringCase)
{
    struct Case {
        const char* path;
        bool takesPart;
    };
    const Case cases[] = {
        {"/m/Live-ACDC.mp3", true},
        {"/m/Live-acdc-2.mp3", true},
        {"/music/AcDc/Back in Black.wav", true},   // the folder counts too
        {"/m/live.mp3", false},
        {"/m/ac-dc.mp3", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acdcTakesPart(QString::fromUtf8(c.path)), c.takesPart) << c.path;
}

TEST(AcdcTables, ConcertVideoLiesInTheMusicDirectoryWithOneSeparator)
{
    EXPECT_EQ(concertVideoPath(QStringLiteral("/home/a/Musik")), QStringLiteral("/home/a/Musik/acdc-nobulls2.avi"));
    EXPECT_EQ(concertVideoPath(QStringLiteral("/")), QStringLiteral("/acdc-nobulls2.avi"));
}

TEST(AcdcTables, FadeFromTheStartVolumeTakesTenTicksToEnd)
{
    int volume = AcdcStartVolume;
    int ticks = 0;
    while (!acdcFadeEnded(volume)) {
        volume = acdcFadedVolume(volume);
        ++ticks;
    }
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(volume, -3100);
    EXPECT_FALSE(acdcFadeEnded(-3000));  // the end lies below -3000
}

} // namespace
} // namespace vv
