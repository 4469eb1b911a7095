// The transport commands, on the fake player.

#include "control/control_panel.h"
#include "control/transport.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class TransportTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video_ = addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0);
        INITIALIZEvideo(*app, video_, 0);
    }
    ControlPanel& menu() { return app->menu(); }
    QString video_;
};

TEST_F(TransportTest, StepCommandsMoveByTheirStepShowTheirTextAndKeepPlaying)
{
    struct Case {
        void (*command)(App&);
        const char* text;
        int timeSeconds, from, to;
    } const cases[] = {
        {GOnextFRAME, "NEXT FRAME", 5, 500, 501},
        {GOpreviousFRAME, "PREVIOUS FRAME", 3, 500, 499},
        {GOforward, "FORWARD", 3, 500, 525},
        {GOrewind, "REWIND", 3, 500, 475},
        {GOfastFORWARD, "FAST FORWARD", 3, 500, 1000},  // clamped at the end
        {GOfastREWIND, "FAST REWIND", 3, 500, 0},
        {GOfastFORWARD, "FAST FORWARD", 3, 100, 850},
        {GOrewind, "REWIND", 3, 0, 0},
    };
    for (const Case& c : cases) {
        player().setFramePosition(c.from);
        c.command(*app);
        EXPECT_EQ(player().framePosition(), c.to) << c.text << " from " << c.from;
        EXPECT_EQ(infoText(), QString::fromUtf8(c.text));
        EXPECT_EQ(app->st.TimeDisplayCountdown, c.timeSeconds) << c.text;
        EXPECT_TRUE(app->TimeDisplay().isVisible());
        EXPECT_EQ(player().playState(), MediaPlayer::Playing) << c.text;
    }
}

TEST_F(TransportTest, ThirtySecondsAreComputedWideAtHighFrameRates)
{
    const QString fast = addVideo(QStringLiteral("fast.avi"), 400000, 200.0, 2000.0);
    INITIALIZEvideo(*app, fast, 0);
    ASSERT_EQ(app->st.FrameRate, 2000);
    player().setFramePosition(1000);
    GOfastFORWARD(*app);
    EXPECT_EQ(player().framePosition(), 61000);
}

TEST_F(TransportTest, PlayStopTogglesPlayerCaptionAndTickAndStepsKeepAHaltedVideoHalted)
{
    PLAYstop(*app);
    EXPECT_EQ(infoText(), QStringLiteral("STOP"));
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("PLAY"));
    EXPECT_EQ(player().playState(), MediaPlayer::Stopped);
    EXPECT_FALSE(app->Player().Timer1.isActive());
    player().setFramePosition(10);
    GOnextFRAME(*app);  // a halted video stays halted after a step
    EXPECT_EQ(player().framePosition(), 11);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);

    PLAYstop(*app);
    EXPECT_EQ(infoText(), QStringLiteral("PLAY"));
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("STOP"));
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    EXPECT_TRUE(app->Player().Timer1.isActive());
}

TEST_F(TransportTest, TheClampedSpeedReachesThePlayerAndTheCaller)
{
    float rate = 0.01f;
    SETspeed(*app, rate);
    EXPECT_FLOAT_EQ(rate, 0.1f);
    EXPECT_NEAR(player().rate(), 0.1, 1e-6);
}

TEST_F(TransportTest, PlayAndLoadNextFollowThePlaylist)
{
    addVideo(QStringLiteral("other.avi"));
    scanVideos();  // clip, other; the first entry is selected
    LOADnextVIDEO(*app);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    // At the end of the list nothing loads; a halted video is started.
    PLAYstop(*app);
    LOADnextVIDEO(*app);
    EXPECT_EQ(infoText(), QStringLiteral("PLAY"));
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("STOP"));
    LOADpreviousVIDEO(*app);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("clip.avi"));

    // PLAY with nothing loaded loads the next video, otherwise toggles.
    player().setFileName(QString());
    menu().CommandPLAY->setText(QStringLiteral("PLAY"));
    CommandPLAY_Click(*app);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("STOP"));
    CommandPLAY_Click(*app);
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("PLAY"));
    player().setFileName(QString());  // nothing loaded and no next video
    CommandPLAY_Click(*app);
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("STOP"));
}

TEST_F(TransportTest, JumpIndexUsesTheOddScenePicturesAndMarksOnlyThatOne)
{
    for (int k = 0; k < 16; ++k)
        app->FormImage(k).INITIALIZEquick(k * 62);
    JUMPindex(*app, 3);
    EXPECT_EQ(player().framePosition(), 5 * 62);
    EXPECT_EQ(app->st.SelectedScene, 5);
    EXPECT_FALSE(app->FormImage(5).Shape1->isHidden());
    EXPECT_TRUE(app->FormImage(3).Shape1->isHidden());

    // Window 17 holds no scene picture: its tool tip has no number.
    player().setFramePosition(500);
    JUMPindex(*app, 9);
    EXPECT_EQ(infoText(), QStringLiteral("JUMP INDEX 9"));
    EXPECT_EQ(player().framePosition(), 0);
}

TEST_F(TransportTest, SceneJumpsNeedALoadedVideo)
{
    app->FormImage(1).INITIALIZEquick(77);
    const QString missing = writeFile(QStringLiteral("missing.avi"), QByteArray("x"));
    INITIALIZEvideo(*app, missing, 0);  // fails: nothing is loaded now
    ASSERT_TRUE(app->st.LoadedVideo.isEmpty());
    JUMPindex(*app, 1);
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    SELECTindex(*app);
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    EXPECT_FALSE(app->FormImage(0).isVisible());
}

} // namespace
} // namespace vv::test
