// The position slider window: press, drag and release against the playback
// tick, and the IN and OUT buttons that the marks place, on the scripted
// player.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "app/twips.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "script/marks.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class SliderTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
    }
    void load() { INITIALIZEvideo(*app, video, 0); }
    SliderWindow& slider() { return app->FormSlider(); }
    QWidget* bar() { return slider().SliderPicture; }
    bool ticking() { return app->Player().Timer1.isActive(); }

    void press(QWidget* on, int x) { QTest::mousePress(on, Qt::LeftButton, {}, QPoint(x, 5)); }
    void release(QWidget* on, int x) { QTest::mouseRelease(on, Qt::LeftButton, {}, QPoint(x, 5)); }
    // A move with the left button held (QTest's own moves carry no buttons).
    void drag(QWidget* on, int x)
    {
        const QPointF local(x, 5);
        QMouseEvent move(QEvent::MouseMove, local, on->mapToGlobal(local), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(on, &move);
    }
    // Marks a position with a control panel button.
    void markAt(double frame, QPushButton* button)
    {
        player().setFramePosition(frame);
        button->click();
    }
    QRect in() { return slider().CommandMarkIN->geometry(); }
    QRect out() { return slider().CommandMarkOUT->geometry(); }

    QString video;
};

TEST_F(SliderTest, ADragWhilePlayingSeeksAlongTheBarWithTheTickOff)
{
    load();
    slider().INITIALIZE();
    ASSERT_TRUE(ticking());
    const int pauses = player().pauseCalls;

    press(bar(), 0);  // the very left: frame 0
    EXPECT_TRUE(app->st.SliderDrag);
    EXPECT_FALSE(ticking());
    EXPECT_EQ(player().pauseCalls, pauses + 1);
    EXPECT_EQ(player().seeks.last(), 0);
    // Each seek keeps a playing video playing.
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);

    drag(bar(), bar()->width() / 2);
    EXPECT_NEAR(player().framePosition(), 125, 1);
    drag(bar(), bar()->width() + 200);  // past the right end: the end
    EXPECT_EQ(player().framePosition(), 250);
    drag(bar(), -50);                    // past the left end: the start
    EXPECT_EQ(player().framePosition(), 0);
    EXPECT_FALSE(ticking());

    release(bar(), -50);
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_TRUE(ticking());
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);

    // Moves without a held button do nothing.
    const auto seeks = player().seeks.size();
    drag(bar(), 100);
    EXPECT_EQ(player().seeks.size(), seeks);
}

TEST_F(SliderTest, ThePressOnTheFillCountsFromTheBarsLeftEdge)
{
    load();
    slider().INITIALIZE();
    GOTOposition(*app, 125);
    ASSERT_NEAR(slider().Slider->width(), bar()->width() / 2.0, 1);
    press(slider().Slider, 100);
    // 100 pixels of a bar 761 pixels (11415 twips) wide: 1500 x 250 / 11415.
    EXPECT_EQ(bar()->width(), 761);
    EXPECT_EQ(player().framePosition(), 32);
    release(slider().Slider, 100);
    EXPECT_TRUE(ticking());
}

TEST_F(SliderTest, ADragWhileHaltedOnlyMovesThePosition)
{
    load();
    slider().INITIALIZE();
    PLAYstop(*app);
    ASSERT_EQ(app->menu().CommandPLAY->text(), QStringLiteral("PLAY"));
    ASSERT_FALSE(ticking());
    const int pauses = player().pauseCalls;
    const int plays = player().playCalls;
    press(bar(), 200);
    drag(bar(), 300);
    release(bar(), 300);
    EXPECT_EQ(player().pauseCalls, pauses);
    EXPECT_EQ(player().playCalls, plays);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
    EXPECT_FALSE(ticking());
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_NEAR(player().framePosition(), 300 * 15 * 250 / 11415.0, 1);
}

TEST_F(SliderTest, APressWithoutAVideoDoesNothing)
{
    slider().INITIALIZE();
    press(bar(), 100);
    drag(bar(), 200);
    release(bar(), 200);
    EXPECT_TRUE(player().seeks.isEmpty());
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_FALSE(ticking());
}

TEST_F(SliderTest, ClosingTheOverlaysInTheMiddleOfADragGivesThePlaybackTickBack)
{
    load();
    slider().INITIALIZE();
    press(bar(), 100);
    ASSERT_FALSE(ticking());
    HIDEall(*app);
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_TRUE(ticking());
}

TEST_F(SliderTest, KeysOnTheBarGoToTheKeyMap)
{
    load();
    slider().INITIALIZE();
    QTest::keyClick(bar(), Qt::Key_5);
    EXPECT_EQ(infoText(), QStringLiteral("JUMP INDEX 5"));
    EXPECT_EQ(player().framePosition(), 125);
}

TEST_F(SliderTest, InAndOutButtonsStandAtTheFillAndNeverOverlap)
{
    load();
    slider().INITIALIZE();
    ControlPanel& menu = app->menu();
    const int barWidth = bar()->width();

    // IN at the very beginning: at the left edge.
    markAt(0, menu.CommandMarkIN);
    EXPECT_TRUE(slider().CommandMarkIN->isVisible());
    EXPECT_EQ(in().x(), 0);
    EXPECT_EQ(in().width(), 34);  // 510 twips
    EXPECT_FALSE(slider().CommandMarkOUT->isVisible());

    // OUT shortly after: directly right of IN instead of on it.
    markAt(5, menu.CommandMarkOUT);
    EXPECT_TRUE(slider().CommandMarkOUT->isVisible());
    EXPECT_EQ(out().x(), in().right() + 1);

    // Far apart: each at the end of its fill.
    markAt(100, menu.CommandMarkIN);
    markAt(200, menu.CommandMarkOUT);
    EXPECT_NEAR(in().right() + 1, barWidth * 100 / 250.0, 1);
    EXPECT_NEAR(out().right() + 1, barWidth * 200 / 250.0, 1);

    // IN near the right end, then OUT: IN moves left so that both fit.
    markAt(245, menu.CommandMarkIN);
    markAt(248, menu.CommandMarkOUT);
    EXPECT_EQ(out().right() + 1, barWidth);
    EXPECT_EQ(out().x(), in().right() + 1);

    // A click on a button jumps to its mark and keeps playing.
    GOTOposition(*app, 10);
    QTest::mouseClick(slider().CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 245);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    QTest::mouseClick(slider().CommandMarkOUT, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 248);

    // The reset hides both.
    RESETmarks(*app);
    EXPECT_FALSE(slider().CommandMarkIN->isVisible());
    EXPECT_FALSE(slider().CommandMarkOUT->isVisible());
}

TEST_F(SliderTest, AnEndMarkedBeforeTheStartSwapsTheButtonsWithTheMarks)
{
    load();
    slider().INITIALIZE();
    ControlPanel& menu = app->menu();
    markAt(200, menu.CommandMarkIN);
    markAt(50, menu.CommandMarkOUT);
    ASSERT_EQ(app->st.MarkIn, 50);
    ASSERT_EQ(app->st.MarkOut, 200);
    const int barWidth = bar()->width();
    EXPECT_NEAR(in().right() + 1, barWidth * 50 / 250.0, 1);
    EXPECT_NEAR(out().right() + 1, barWidth * 200 / 250.0, 1);
    QTest::mouseClick(slider().CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 50);
}

TEST_F(SliderTest, AnExecutedLoopShowsItsButtonsWhereThePlaybackWasBeforeTheJump)
{
    load();
    slider().INITIALIZE();
    player().setFramePosition(125);
    SCRIPTaction(*app, QStringLiteral("000010-000020 LOOP "));
    EXPECT_EQ(player().framePosition(), 10);
    EXPECT_NEAR(in().right() + 1, bar()->width() / 2.0, 1);
    EXPECT_EQ(out().x(), in().right() + 1);
}

TEST_F(SliderTest, ButtonsPlacedWhileTheSliderWasDownMoveWithTheBarWhenItComesUp)
{
    load();
    // The slider has never been shown: marks taken while playing without
    // any overlay up.
    markAt(125, app->menu().CommandMarkIN);
    markAt(200, app->menu().CommandMarkOUT);
    slider().INITIALIZE();
    const int barWidth = bar()->width();
    EXPECT_EQ(barWidth, 761);
    EXPECT_NEAR(in().right() + 1, barWidth * 125 / 250.0, 1);
    EXPECT_NEAR(out().right() + 1, barWidth * 200 / 250.0, 1);
    EXPECT_NEAR(slider().Slider->width(), barWidth * 200 / 250.0, 1);
}

TEST_F(SliderTest, TheFillFollowsEverySeekAndTheTickWhileUp)
{
    load();
    slider().INITIALIZE();
    GOTOposition(*app, 50);
    EXPECT_NEAR(slider().Slider->width(), bar()->width() / 5.0, 1);
    player().advance(75);
    playbackTick(*app);
    EXPECT_NEAR(slider().Slider->width(), bar()->width() / 2.0, 1);
}

} // namespace
} // namespace vv::test
