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
    // Puts playback at a frame and lets the tick look; returns where it is then.
    double tickAt(double frame)
    {
        player().setFramePosition(frame);
        playbackTick(*app);
        return player().framePosition();
    }
};

TEST_F(PlaybackTest, TheTickKeepsTheHiddenTimeDisplayCurrentAndJumpsOnlyInFastPreview)
{
    INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 10000, 400.0, 25.0), 0);
    tickAt(234);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));
    GOTOposition(*app, 1234);  // the seek shows its time too
    EXPECT_EQ(app->TimeDisplay().Label->toolTip(), QStringLiteral(" 1234Frame"));
    for (const bool fast : {true, false}) {
        app->SETUP().CheckFastPreviewMode->setChecked(fast);
        EXPECT_EQ(tickAt(1), fast ? 5001 : 1);
    }
    EXPECT_EQ(infoText(), QStringLiteral("PREVIEW JUMP"));
}

// Countdowns hide their displays when they run out; -1 and 0 never do. The
// time display running out closes the overlays too, unless navigating.
TEST_F(PlaybackTest, DisplayCountdownsHideTheirDisplaysWhenTheyRunOut)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    app->MessageDisplay().INITIALIZE(QStringLiteral("NOTE"), 1);
    app->TimeDisplay().INITIALIZE(0);
    displayTick(*app);
    EXPECT_EQ(std::tuple(app->InfoDisplay().isVisible(), app->MessageDisplay().isVisible()), std::tuple(true, false));
    displayTick(*app);
    EXPECT_FALSE(app->InfoDisplay().isVisible());
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT INDEX"), -1);
    for (int i = 0; i < 5; ++i)
        displayTick(*app);
    EXPECT_EQ(std::tuple(app->InfoDisplay().isVisible(), app->TimeDisplay().isVisible()), std::tuple(true, true));
    for (const int mode : {1, 0}) {
        menu().INITIALIZE();  // ActiveMode 1
        app->st.ActiveMode = mode;
        app->TimeDisplay().INITIALIZE(1);
        displayTick(*app);
        EXPECT_EQ(std::tuple(app->TimeDisplay().isVisible(), menu().isVisible()), std::tuple(mode == 1, mode == 1));
    }
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

TEST_F(PlaybackTest, LoadingWritesANewScriptPlaysFromTheStartAndKeepsAnExistingScriptByteForByte)
{
    const QString video = addVideo(QStringLiteral("Sport/run.avi"), 12, 0.48, 25.0);  // half a second
    app->st.CurrentVideo = QStringLiteral("Sport/run");
    menu().ListSCRIPT->setFocus();
    INITIALIZEvideo(*app, video, 0);
    EXPECT_EQ(player().widget()->window()->focusWidget(), player().widget());  // keys reach the video
    EXPECT_EQ(app->st.LoadedVideo, video);
    EXPECT_EQ(app->st.DurationSeconds, 0);
    EXPECT_EQ(app->st.FrameRate, 25);  // the stream's: no division by zero
    EXPECT_EQ(infoText(), QStringLiteral("LOADING \rSport/run..."));
    EXPECT_EQ(readFile(dir() + QStringLiteral("Sport/run.txt")),
              QByteArray("!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n"
                         "000012-000012 JUMP End of video\r\n999999 NEXT VIDEO\r\n"));
    EXPECT_EQ(playCaption(), QStringLiteral("STOP"));
    EXPECT_TRUE(app->Player().Timer1.isActive());
    EXPECT_TRUE(menu().CommandMarkIN->isEnabled());
    EXPECT_EQ(player().opened, (QStringList{QString(), video}));  // unloaded first, then opened

    // An existing script is kept as it is; a sheet beside the video means
    // quick loading; the start frame is clamped; the loaded video loaded
    // again is reopened at the given frame.
    const QString clip = addVideo(QStringLiteral("clip.avi"), 250);
    const QByteArray script("!00000 PREVIOUS VIDEO\r\n000100-000300 LOOP Caf\xe9\r\n999999 NEXT VIDEO\r\n");
    writeFile(QStringLiteral("clip.txt"), script);
    writeFile(QStringLiteral("clip.bmp"), QByteArray("BM"));
    app->st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(*app, clip, 100000);
    EXPECT_EQ(menu().ListSCRIPT->count(), 3);
    EXPECT_EQ(readFile(dir() + QStringLiteral("clip.txt")), script);
    EXPECT_EQ(player().seeks.last(), 250.0);
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING \r")));
    INITIALIZEvideo(*app, clip, 120);
    EXPECT_EQ(player().opened.mid(2), (QStringList{QString(), clip, QString(), clip}));
    EXPECT_EQ(player().framePosition(), 120);
    // Clips of one name share one script.
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.MP4")), QStringLiteral("/v/clip.txt"));
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

} // namespace
} // namespace vv::test
