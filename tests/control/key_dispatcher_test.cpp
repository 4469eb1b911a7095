// The key map at work: keys typed into the real windows (fake player).

#include <QTest>

#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/virtual_keys.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class KeyTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video_ = addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0);
        INITIALIZEvideo(*app, video_, 0);
    }
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(player().widget(), key, modifiers);
    }
    QString caption() { return app->menu().CommandPLAY->text(); }
    QString video_;
};

TEST_F(KeyTest, ShiftAndControlAreIgnoredAndUnknownKeysDoNothing)
{
    player().setFramePosition(100);
    type(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(player().framePosition(), 850);
    EXPECT_EQ(infoText(), QStringLiteral("FAST FORWARD"));
    type(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(player().framePosition(), 100);

    const int seeks = static_cast<int>(player().seeks.size());
    for (Qt::Key key : {Qt::Key_M, Qt::Key_Left, Qt::Key_Right, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Space})
        type(key);
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_DOUBLE_EQ(player().rate(), 1.0);
}

TEST_F(KeyTest, RStartsOnlyAHaltedVideoAndSHaltsOnlyAPlayingOne)
{
    type(Qt::Key_R);
    EXPECT_EQ(caption(), QStringLiteral("STOP"));
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);

    type(Qt::Key_S);
    EXPECT_EQ(caption(), QStringLiteral("PLAY"));
    EXPECT_EQ(infoText(), QStringLiteral("STOP"));
    type(Qt::Key_S);
    EXPECT_EQ(caption(), QStringLiteral("PLAY"));

    type(Qt::Key_R);
    EXPECT_EQ(caption(), QStringLiteral("STOP"));
    EXPECT_EQ(infoText(), QStringLiteral("PLAY"));
}

TEST_F(KeyTest, DigitsJumpToTenthsWhenNoOverlayIsUp)
{
    type(Qt::Key_9);
    EXPECT_EQ(player().framePosition(), 900);
    EXPECT_EQ(infoText(), QStringLiteral("JUMP INDEX 9"));
    type(Qt::Key_5);
    EXPECT_EQ(player().framePosition(), 500);
    type(Qt::Key_0);
    EXPECT_EQ(player().framePosition(), 0);
    EXPECT_EQ(infoText(), QStringLiteral("JUMP START"));

    // The video list up (ActiveMode 3): digits still jump the video.
    app->st.ActiveMode = 3;
    KEYcommand(*app, vk::Digit0 + 5);
    EXPECT_EQ(player().framePosition(), 500);
}

TEST_F(KeyTest, DigitZeroInTheInteractionMenuDoesNothing)
{
    app->st.ActiveMode = 6;
    player().setFramePosition(321);
    KEYcommand(*app, vk::Digit0);
    EXPECT_EQ(player().framePosition(), 321);
}

TEST_F(KeyTest, ZoomKeysStayWithinTheLimitsAndConfirmTheZoom)
{
    type(Qt::Key_I);
    EXPECT_EQ(app->st.ZoomPercent, 105);
    EXPECT_EQ(infoText(), QStringLiteral("ZOOM 105%"));
    type(Qt::Key_O);
    type(Qt::Key_O);
    EXPECT_EQ(app->st.ZoomPercent, 100);
    EXPECT_EQ(infoText(), QStringLiteral("ZOOM 100%"));
    for (int i = 0; i < 200; ++i)
        KEYcommand(*app, vk::A + ('I' - 'A'));
    EXPECT_EQ(infoText(), QStringLiteral("ZOOM 1000%"));

    // The numeric pad's zoom keys: no text, and the picture stays covering.
    app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
    KEYcommand(*app, vk::Numpad0 + 5);
    EXPECT_EQ(app->st.ZoomPercent, 999);
    KEYcommand(*app, vk::Clear);
    EXPECT_EQ(app->st.ZoomPercent, 1000);
    EXPECT_EQ(infoText(), QStringLiteral("-"));
}

TEST_F(KeyTest, NumericPadPlusAndMinusChangeTheSpeed)
{
    type(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_NEAR(player().rate(), 1.1, 1e-6);
    EXPECT_EQ(infoText(), QStringLiteral("SPEED 1.1 x"));
    type(Qt::Key_Minus, Qt::KeypadModifier);
    type(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(player().rate(), 0.9, 1e-6);
}

TEST_F(KeyTest, EscapeOpensAndClosesTheVideoListAndItsListPassesKeysOn)
{
    type(Qt::Key_Escape);
    ASSERT_EQ(app->st.ActiveMode, 3);
    QListWidget* list = app->DATEIMENU().lstFoundFiles2;
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_9);  // jumps the video by tenths
    EXPECT_EQ(player().framePosition(), 900);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(app->DATEIMENU().isVisible());
}

TEST_F(KeyTest, TheControlPanelsListedButtonsPassKeysOn)
{
    app->menu().INITIALIZE();
    player().setFramePosition(100);
    QTest::keyClick(app->menu().CommandPLAY, Qt::Key_F);
    EXPECT_EQ(player().framePosition(), 850);
    QTest::keyClick(app->menu().CommandSETUP, Qt::Key_B);  // not one of them
    EXPECT_EQ(player().framePosition(), 850);
}

TEST_F(KeyTest, NAndPLoadTheNeighboursInThePlaylist)
{
    addVideo(QStringLiteral("other.avi"));
    scanVideos();
    type(Qt::Key_N);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    type(Qt::Key_P);
    EXPECT_EQ(app->st.LoadedVideo, video_);
}

} // namespace
} // namespace vv::test
