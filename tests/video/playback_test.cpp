// Loading a video, the one seek, the playback tick, the display tick and the
// playlist, on the fake player.

#include <QDir>

#include "control/control_panel.h"
#include "library/video_selection_window.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class PlaybackTest : public AppFixture {
protected:
    void SetUp() override { showMainWindow(); }
    ControlPanel& menu() { return app->menu(); }
    QString playCaption() { return menu().CommandPLAY->text(); }
    void load(int frames)
    {
        INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), frames, frames / 25.0, 25.0), 0);
    }
    // Puts playback at a frame and lets the tick look; returns where it is then.
    double tickAt(double frame)
    {
        player().setFramePosition(frame);
        playbackTick(*app);
        return player().framePosition();
    }
};

TEST_F(PlaybackTest, TheEndOfAVideoLoadsTheNextPlaylistVideoOnce)
{
    const QString first = addVideo(QStringLiteral("a.avi"), 100, 4.0, 25.0);
    const QString second = addVideo(QStringLiteral("b.avi"), 100, 4.0, 25.0);
    scanVideos();
    INITIALIZEvideo(*app, first, 0);
    tickAt(99);
    EXPECT_EQ(app->st.LoadedVideo, first);
    EXPECT_EQ(tickAt(100), 0);
    EXPECT_EQ(app->st.LoadedVideo, second);
    EXPECT_EQ(app->st.CurrentVideo, QStringLiteral("b"));
    EXPECT_EQ(app->DATEIMENU().lstFoundFiles2->currentRow(), 1);
    playbackTick(*app);
    EXPECT_EQ(app->st.LoadedVideo, second);

    // The last video ends: nothing more is loaded (no wrap-around); it
    // stands at its end still meant to play, tick after tick.
    const auto opened = player().opened.size();
    tickAt(100);
    playbackTick(*app);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(playCaption(), QStringLiteral("STOP"));
}

TEST_F(PlaybackTest, TheTickKeepsTheHiddenTimeDisplayCurrentAndJumpsOnlyInFastPreview)
{
    load(10000);
    tickAt(234);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));

    app->SETUP().CheckFastPreviewMode->setChecked(true);
    EXPECT_EQ(tickAt(1), 5001);
    EXPECT_EQ(infoText(), QStringLiteral("PREVIEW JUMP"));
    EXPECT_EQ(tickAt(5251), 9251);
    app->SETUP().CheckFastPreviewMode->setChecked(false);
    EXPECT_EQ(tickAt(1), 1);
}

// Countdowns hide their displays when they run out; -1 and 0 never do. The
// time display running out closes the overlays too, unless navigating.
TEST_F(PlaybackTest, DisplayCountdownsHideTheirDisplaysWhenTheyRunOut)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    app->MessageDisplay().INITIALIZE(QStringLiteral("NOTE"), 1);
    displayTick(*app);
    EXPECT_TRUE(app->InfoDisplay().isVisible());
    EXPECT_FALSE(app->MessageDisplay().isVisible());
    displayTick(*app);
    EXPECT_FALSE(app->InfoDisplay().isVisible());

    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT INDEX"), -1);
    app->TimeDisplay().INITIALIZE(0);
    for (int i = 0; i < 5; ++i)
        displayTick(*app);
    EXPECT_TRUE(app->InfoDisplay().isVisible());
    EXPECT_TRUE(app->TimeDisplay().isVisible());

    menu().INITIALIZE();  // ActiveMode 1
    app->TimeDisplay().INITIALIZE(1);
    displayTick(*app);
    EXPECT_TRUE(app->TimeDisplay().isVisible());
    EXPECT_TRUE(menu().isVisible());
    app->st.ActiveMode = 0;
    app->TimeDisplay().INITIALIZE(1);
    displayTick(*app);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_FALSE(menu().isVisible());
}

TEST_F(PlaybackTest, TheRandomPlaylistPlaysEveryVideoOncePerFillingAndRefillsWhenEmpty)
{
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("b.avi"));
    scanVideos();
    app->SETUP().CheckRANDOMplaylist->click();  // fills the random list once
    services.randoms = {0.99f, 0.0f, 0.7f};
    QStringList picked = {getNEXTvideo(*app), getNEXTvideo(*app)};
    EXPECT_EQ(services.randomizeCalls, 2);  // reseeded for every pick
    picked.sort();
    EXPECT_EQ(picked, (QStringList{dir() + "a.avi", dir() + "b.avi"}));
    // Empty: refilled from the found videos, never an index into nothing.
    EXPECT_EQ(getNEXTvideo(*app), dir() + QStringLiteral("b.avi"));
    EXPECT_EQ(app->Player().ListRandomPlayback, QStringList{dir() + "a.avi"});
}

TEST_F(PlaybackTest, LoadingMeasuresTheTimeBaseWritesANewScriptAndPlaysFromTheStart)
{
    const QString video = addVideo(QStringLiteral("Sport/run.avi"), 250, 10.0, 25.0);
    app->st.CurrentVideo = QStringLiteral("Sport/run");
    menu().ListSCRIPT->setFocus();
    INITIALIZEvideo(*app, video, 0);
    EXPECT_EQ(player().widget()->window()->focusWidget(), player().widget());  // keys reach the video

    EXPECT_EQ(app->st.LoadedVideo, video);
    EXPECT_EQ(app->st.DurationFrames, 250);
    EXPECT_EQ(app->st.FrameRate, 25);
    EXPECT_EQ(infoText(), QStringLiteral("LOADING \rSport/run..."));

    EXPECT_EQ(app->st.ScriptFile, dir() + QStringLiteral("Sport/run.txt"));
    EXPECT_EQ(readFile(app->st.ScriptFile),
              QByteArray("!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n"
                         "000250-000250 JUMP End of video\r\n999999 NEXT VIDEO\r\n"));

    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    EXPECT_EQ(playCaption(), QStringLiteral("STOP"));
    EXPECT_TRUE(app->Player().Timer1.isActive());
    EXPECT_TRUE(menu().CommandMarkIN->isEnabled());
    EXPECT_EQ(player().opened, (QStringList{QString(), video}));  // unloaded first, then opened
}

TEST_F(PlaybackTest, LoadingFrameRateIsFramesPerRoundedSecondOrTheStreamRateForVeryShortVideos)
{
    struct Case {
        int frames;
        double seconds, fps;
        int expectedSeconds, expectedRate;
    } const cases[] = {
        {250, 10.0, 25.0, 10, 25},
        {299, 9.977, 29.97, 10, 30},
        {12, 0.48, 25.0, 0, 25},  // half a second: no division by zero
    };
    for (const Case& c : cases) {
        const QString video = addVideo(QStringLiteral("v%1.avi").arg(c.frames), c.frames, c.seconds, c.fps);
        INITIALIZEvideo(*app, video, 0);
        EXPECT_EQ(app->st.DurationSeconds, c.expectedSeconds) << c.frames;
        EXPECT_EQ(app->st.FrameRate, c.expectedRate) << c.frames;
    }
}

TEST_F(PlaybackTest, LoadingAnExistingScriptIsKeptByteForByteTheStartFrameClampedAndASheetMeansQuickLoading)
{
    const QString video = addVideo(QStringLiteral("clip.avi"), 250);
    const QByteArray script("!00000 PREVIOUS VIDEO\r\n000100-000300 LOOP Caf\xe9\r\n999999 NEXT VIDEO\r\n");
    const QString file = writeFile(QStringLiteral("clip.txt"), script);
    writeFile(QStringLiteral("clip.bmp"), QByteArray("BM"));
    app->st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(*app, video, 100000);
    EXPECT_EQ(menu().ListSCRIPT->count(), 3);
    EXPECT_EQ(readFile(file), script);
    EXPECT_EQ(player().seeks.last(), 250.0);
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING \r")));
    // Loading the loaded video again reopens it at the given frame.
    INITIALIZEvideo(*app, video, 120);
    EXPECT_EQ(player().opened, (QStringList{QString(), video, QString(), video}));
    EXPECT_EQ(player().framePosition(), 120);
}

TEST_F(PlaybackTest, LoadingAFileThePlayerCannotOpenIsReportedAndNothingIsWrittenForIt)
{
    const QString good = addVideo(QStringLiteral("good.avi"));
    INITIALIZEvideo(*app, good, 0);
    const QString bad = writeFile(QStringLiteral("bad.avi"), QByteArray("garbage"));

    INITIALIZEvideo(*app, bad, 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.back().text.contains(bad));
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir() + QStringLiteral("bad.txt")));
    EXPECT_EQ(playCaption(), QStringLiteral("PLAY"));
    EXPECT_FALSE(app->Player().Timer1.isActive());
    EXPECT_FALSE(player().pictureVisible());  // the good video's last picture is gone

    // Empty and too short paths load nothing, and do not unload.
    INITIALIZEvideo(*app, good, 0);
    const auto opened = player().opened.size();
    INITIALIZEvideo(*app, QString(), 0);
    INITIALIZEvideo(*app, QStringLiteral("ab"), 0);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(app->st.LoadedVideo, good);
}

TEST_F(PlaybackTest, TheSeekClampsUpdatesTheTimeAndResumesOnlyWhenMeantToPlay)
{
    const QString video = addVideo(QStringLiteral("clip.avi"), 250);
    INITIALIZEvideo(*app, video, 0);

    GOTOposition(*app, -5);
    EXPECT_EQ(player().framePosition(), 0);
    GOTOposition(*app, 350);
    EXPECT_EQ(player().framePosition(), 250);
    GOTOposition(*app, 234);
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));
    EXPECT_EQ(app->TimeDisplay().Label->toolTip(), QStringLiteral(" 234Frame"));

    // Halted, a seek does not start playback.
    player().stop();
    menu().CommandPLAY->setText(QStringLiteral("PLAY"));
    GOTOposition(*app, 10);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
    menu().CommandPLAY->setText(QStringLiteral("STOP"));
    GOTOposition(*app, 20);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
}

TEST(BesideTheVideo, ClipsOfOneNameShareOneScript)
{
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.webm")), QStringLiteral("/v/clip.txt"));
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.mpg")), QStringLiteral("/v/clip.txt"));
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.MP4")), QStringLiteral("/v/clip.txt"));
}

} // namespace
} // namespace vv::test
