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

TEST_F(PlaybackTest, RandomPicksTheTickJumpsOnlyInFastPreviewAndCountdownsHideTheDisplays)
{
    // The random playlist picks from the found videos, reseeded for every pick.
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("b.avi"));
    scanVideos();
    app->SETUP().CheckRANDOMplaylist->click();
    services.randoms = {0.99f, 0.0f};
    const QStringList picks = {getNEXTvideo(*app), getNEXTvideo(*app)};
    EXPECT_EQ(picks, (QStringList{dir() + "b.avi", dir() + "a.avi"}));
    EXPECT_EQ(services.randomizeCalls, 2);

    INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 10000, 400.0, 25.0), 0);
    tickAt(234);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));
    GOTOposition(*app, 1234);  // the seek shows its time too
    EXPECT_EQ(app->TimeDisplay().Label->toolTip(), QStringLiteral(" 1234Frame"));
    app->SETUP().CheckFastPreviewMode->setChecked(true);
    EXPECT_EQ(tickAt(1), 5001);
    EXPECT_EQ(infoText(), QStringLiteral("PREVIEW JUMP"));
    app->SETUP().CheckFastPreviewMode->setChecked(false);
    EXPECT_EQ(tickAt(1), 1);

    // Countdowns hide their displays when they run out; -1 and 0 never do. The time display running
    // out closes the overlays too, unless navigating.
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

TEST_F(PlaybackTest, LoadingWritesANewScriptPlaysFromTheStartAndKeepsAnExistingScriptByteForByte)
{
    const QString video = addVideo(QStringLiteral("Sport/run.avi"), 12, 0.48, 25.0);  // half a second
    app->st.CurrentVideo = QStringLiteral("Sport/run");
    menu().ListSCRIPT->setFocus();
    INITIALIZEvideo(*app, video, 0);
    EXPECT_EQ(player().widget()->window()->focusWidget(), player().widget());  // keys reach the video
    // The stream's frame rate: no division by zero.
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, app->st.DurationSeconds, app->st.FrameRate, infoText()),
              std::tuple(video, 0, 25, QStringLiteral("LOADING \rSport/run...")));
    EXPECT_EQ(readFile(dir() + QStringLiteral("Sport/run.txt")),
              QByteArray("!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n"
                         "000012-000012 JUMP End of video\r\n999999 NEXT VIDEO\r\n"));
    EXPECT_EQ(std::tuple(playCaption(), app->Player().Timer1.isActive(), menu().CommandMarkIN->isEnabled()),
              std::tuple(QStringLiteral("STOP"), true, true));
    EXPECT_EQ(player().opened, (QStringList{QString(), video}));  // unloaded first, then opened

    // An existing script is kept as it is; the start frame is clamped; the loaded video loaded again is
    // reopened at the given frame.
    const QString clip = addVideo(QStringLiteral("clip.avi"), 250);
    const QByteArray script("!00000 PREVIOUS VIDEO\r\n000100-000300 LOOP Caf\xe9\r\n999999 NEXT VIDEO\r\n");
    writeFile(QStringLiteral("clip.txt"), script);
    app->st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(*app, clip, 100000);
    EXPECT_EQ(std::tuple(menu().ListSCRIPT->count(), readFile(dir() + QStringLiteral("clip.txt")),
                         player().seeks.last()),
              std::tuple(3, script, 250.0));
    INITIALIZEvideo(*app, clip, 120);
    EXPECT_EQ(player().opened.mid(2), (QStringList{QString(), clip, QString(), clip}));
    EXPECT_EQ(player().framePosition(), 120);
    // Clips of one name share one script.
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.MP4")), QStringLiteral("/v/clip.txt"));

    // A file the player cannot open is reported and nothing is written for it.
    const QString good = clip;
    const QString bad = writeFile(QStringLiteral("bad.avi"), QByteArray("garbage"));
    INITIALIZEvideo(*app, bad, 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.back().text.contains(bad));
    // Nothing plays, and the good video's last picture is gone.
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, QFileInfo::exists(dir() + QStringLiteral("bad.txt")), playCaption(),
                         app->Player().Timer1.isActive(), player().pictureVisible()),
              std::tuple(QString(), false, QStringLiteral("PLAY"), false, false));

    // Empty and too short paths load nothing, and do not unload.
    INITIALIZEvideo(*app, good, 0);
    const auto opened = player().opened.size();
    INITIALIZEvideo(*app, QString(), 0);
    INITIALIZEvideo(*app, QStringLiteral("ab"), 0);
    EXPECT_EQ(std::tuple(player().opened.size(), app->st.LoadedVideo), std::tuple(opened, good));
}

} // namespace
} // namespace vv::test
