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
    EXPECT_EQ(app->menu().CommandPLAY->text(), QStringLiteral("STOP"));
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

} // namespace
} // namespace vv::test
