// The playback tick, the display tick and the playlist, on the fake player.

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
    QString load(const QString& name, int frames = 250)
    {
        const QString video = addVideo(name, frames, frames / 25.0, 25.0);
        INITIALIZEvideo(*app, video, 0);
        return video;
    }
};

TEST_F(PlaybackTest, TheLoopJumpsBackOnlyOnceTheEndMarkIsPassedWhilePlaying)
{
    load(QStringLiteral("clip.avi"), 1000);
    app->st.MarkIn = 100;
    app->st.MarkOut = 200;
    player().setFramePosition(200);
    playbackTick(*app);
    EXPECT_TRUE(player().seeks.isEmpty() || player().seeks.last() != 100);
    EXPECT_EQ(player().framePosition(), 200);

    player().setFramePosition(201);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 100);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);

    // Halted, the range is not enforced.
    player().pause();
    player().setFramePosition(300);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 300);

    // Only a start mark: playback is not affected.
    player().play();
    app->st.MarkOut = -1;
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 300);
}

TEST_F(PlaybackTest, TheEndOfAVideoLoadsTheNextPlaylistVideoOnce)
{
    const QString first = addVideo(QStringLiteral("a.avi"), 100, 4.0, 25.0);
    const QString second = addVideo(QStringLiteral("b.avi"), 100, 4.0, 25.0);
    scanVideos();
    app->st.CurrentVideo = QStringLiteral("a");
    INITIALIZEvideo(*app, first, 0);

    player().setFramePosition(99);
    playbackTick(*app);
    EXPECT_EQ(app->st.LoadedVideo, first);

    player().setFramePosition(100);
    playbackTick(*app);
    EXPECT_EQ(app->st.LoadedVideo, second);
    EXPECT_EQ(app->st.CurrentVideo, QStringLiteral("b"));
    EXPECT_EQ(player().framePosition(), 0);
    EXPECT_EQ(app->DATEIMENU().lstFoundFiles2->currentRow(), 1);
    playbackTick(*app);
    EXPECT_EQ(app->st.LoadedVideo, second);

    // The last video ends: nothing more is loaded; it stands at its end
    // still meant to play, tick after tick.
    const int opened = static_cast<int>(player().opened.size());
    player().setFramePosition(100);
    playbackTick(*app);
    playbackTick(*app);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(app->menu().CommandPLAY->text(), QStringLiteral("STOP"));
}

TEST_F(PlaybackTest, FastPreviewJumpsToTheMiddleAndToThirtySecondsBeforeTheEnd)
{
    load(QStringLiteral("long.avi"), 10000);
    app->SETUP().CheckFastPreviewMode->setChecked(true);

    player().setFramePosition(1);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 5001);
    EXPECT_EQ(infoText(), QStringLiteral("PREVIEW JUMP"));

    player().setFramePosition(5250);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 5250);

    player().setFramePosition(5251);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 9251);

    app->SETUP().CheckFastPreviewMode->setChecked(false);
    player().setFramePosition(1);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 1);
}

TEST_F(PlaybackTest, TheTickKeepsTheTimeDisplayCurrentEvenWhileHidden)
{
    load(QStringLiteral("clip.avi"), 1000);
    player().setFramePosition(1234 % 1000);
    playbackTick(*app);
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));
}

TEST_F(PlaybackTest, DisplayCountdownsHideTheirDisplaysWhenTheyRunOut)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    app->MessageDisplay().INITIALIZE(QStringLiteral("NOTE"), 1);
    displayTick(*app);
    EXPECT_TRUE(app->InfoDisplay().isVisible());
    EXPECT_FALSE(app->MessageDisplay().isVisible());
    displayTick(*app);
    EXPECT_FALSE(app->InfoDisplay().isVisible());

    // -1 and 0 never hide.
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT INDEX"), -1);
    app->TimeDisplay().INITIALIZE(0);
    for (int i = 0; i < 5; ++i)
        displayTick(*app);
    EXPECT_TRUE(app->InfoDisplay().isVisible());
    EXPECT_TRUE(app->TimeDisplay().isVisible());

    // A second command within the second replaces text and countdown.
    app->InfoDisplay().INITIALIZE(QStringLiteral("FORWARD"), 2);
    app->InfoDisplay().INITIALIZE(QStringLiteral("SPEED 1.0 x"), 1);
    displayTick(*app);
    EXPECT_FALSE(app->InfoDisplay().isVisible());
}

TEST_F(PlaybackTest, TheTimeDisplayRunningOutClosesTheOverlaysUnlessNavigating)
{
    app->menu().INITIALIZE();  // ActiveMode 1
    app->TimeDisplay().INITIALIZE(1);
    displayTick(*app);
    EXPECT_TRUE(app->TimeDisplay().isVisible());
    EXPECT_TRUE(app->menu().isVisible());

    app->st.ActiveMode = 0;
    app->TimeDisplay().INITIALIZE(1);
    displayTick(*app);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_FALSE(app->menu().isVisible());
}

TEST_F(PlaybackTest, ThePlaylistFollowsTheListSelectionWithoutWrappingAround)
{
    addVideo(QStringLiteral("b.avi"));
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("C/c.avi"));
    scanVideos();
    QListWidget* list = app->DATEIMENU().lstFoundFiles2;
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 0);  // the scan selects the first entry

    EXPECT_EQ(getPREVIOUSvideo(*app), QString());
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(getNEXTvideo(*app), dir() + QStringLiteral("b.avi"));
    EXPECT_EQ(app->st.CurrentVideo, QStringLiteral("b"));
    EXPECT_EQ(getNEXTvideo(*app), dir() + QStringLiteral("C/c.avi"));
    EXPECT_EQ(getNEXTvideo(*app), QString());
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(getPREVIOUSvideo(*app), dir() + QStringLiteral("b.avi"));

    // Nothing selected: the next video is the first.
    list->setCurrentRow(-1);
    EXPECT_EQ(getNEXTvideo(*app), dir() + QStringLiteral("a.avi"));
}

TEST_F(PlaybackTest, TheRandomPlaylistPlaysEveryVideoOncePerFillingAndRefillsWhenEmpty)
{
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("b.avi"));
    addVideo(QStringLiteral("c.avi"));
    scanVideos();
    app->SETUP().CheckRANDOMplaylist->click();  // fills the random list once
    ASSERT_EQ(app->Player().ListRandomPlayback.size(), 3);

    services.randoms = {0.99f, 0.0f, 0.5f, 0.7f};
    QStringList picked;
    for (int i = 0; i < 3; ++i)
        picked << getNEXTvideo(*app);
    EXPECT_EQ(services.randomizeCalls, 3);  // reseeded for every pick
    picked.sort();
    EXPECT_EQ(picked, (QStringList{dir() + "a.avi", dir() + "b.avi", dir() + "c.avi"}));
    EXPECT_TRUE(app->Player().ListRandomPlayback.isEmpty());
    // Empty: refilled from the found videos, never an index into nothing.
    EXPECT_FALSE(getNEXTvideo(*app).isEmpty());
    EXPECT_EQ(app->Player().ListRandomPlayback.size(), 2);
    EXPECT_EQ(app->st.CurrentVideo.left(dir().size()), dir());
}

} // namespace
} // namespace vv::test
