// The position slider window: press, drag and release against the playback
// tick, and the IN and OUT buttons that the marks place, on the scripted
// player.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "control/control_panel.h"
#include "control/transport.h"
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
        INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0), 0);
    }
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
    void markAt(double frame, QPushButton* button)
    {
        player().setFramePosition(frame);
        button->click();
    }
    // Where the buttons end, and where a share of the bar ends.
    int inEnd() { return slider().CommandMarkIN->geometry().right() + 1; }
    int outEnd() { return slider().CommandMarkOUT->geometry().right() + 1; }
    double barAt(double share) { return bar()->width() * share; }
};

TEST_F(SliderTest, ADragSeeksAlongTheBarWithTheTickOffAndPlaysOnlyWhatPlayed)
{
    slider().INITIALIZE();
    ASSERT_TRUE(ticking());
    const int pauses = player().pauseCalls;

    press(bar(), 0);  // the very left: frame 0
    EXPECT_TRUE(app->st.SliderDrag);
    EXPECT_FALSE(ticking());
    EXPECT_EQ(player().pauseCalls, pauses + 1);
    EXPECT_EQ(player().seeks.last(), 0);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);  // each seek keeps playing

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
    const auto seeks = player().seeks.size();
    drag(bar(), 100);  // moves without a held button do nothing
    EXPECT_EQ(player().seeks.size(), seeks);

    // A press on the fill counts from the bar's left edge: 100 pixels of a
    // bar 761 pixels (11415 twips) wide is 1500 x 250 / 11415.
    GOTOposition(*app, 125);
    ASSERT_EQ(bar()->width(), 761);
    press(slider().Slider, 100);
    EXPECT_EQ(player().framePosition(), 32);
    release(slider().Slider, 100);
    EXPECT_TRUE(ticking());

    // Closing the overlays in the middle of a drag gives the tick back.
    press(bar(), 100);
    ASSERT_FALSE(ticking());
    HIDEall(*app);
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_TRUE(ticking());

    // Halted, a drag only moves the position.
    slider().INITIALIZE();
    PLAYstop(*app);
    const int plays = player().playCalls;
    press(bar(), 200);
    drag(bar(), 300);
    release(bar(), 300);
    EXPECT_EQ(player().playCalls, plays);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
    EXPECT_FALSE(ticking());
    EXPECT_NEAR(player().framePosition(), 300 * 15 * 250 / 11415.0, 1);

    // Without a video a press does nothing.
    INITIALIZEvideo(*app, writeFile(QStringLiteral("bad.avi"), "x"), 0);  // unloads, then fails
    slider().INITIALIZE();
    const auto before = player().seeks.size();
    press(bar(), 100);
    drag(bar(), 200);
    release(bar(), 200);
    EXPECT_EQ(player().seeks.size(), before);
    EXPECT_FALSE(app->st.SliderDrag);
}

TEST_F(SliderTest, TheFillAndTheMarkButtonsFollowSeeksTheTickAndLoopsAndKeysGoToTheKeyMap)
{
    // Buttons placed while the slider was down move with the bar when it
    // comes up.
    markAt(125, app->menu().CommandMarkIN);
    markAt(200, app->menu().CommandMarkOUT);
    slider().INITIALIZE();
    ASSERT_EQ(bar()->width(), 761);
    EXPECT_NEAR(inEnd(), barAt(0.5), 1);
    EXPECT_NEAR(outEnd(), barAt(0.8), 1);

    GOTOposition(*app, 50);
    EXPECT_NEAR(slider().Slider->width(), barAt(0.2), 1);
    player().advance(75);
    playbackTick(*app);
    EXPECT_NEAR(slider().Slider->width(), barAt(0.5), 1);

    // The buttons jump to their marks and playback goes on.
    QTest::mouseClick(slider().CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 125);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    QTest::mouseClick(slider().CommandMarkOUT, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 200);

    // An executed loop shows its buttons where playback was before the jump;
    // OUT stands right of IN instead of on it.
    player().setFramePosition(125);
    SCRIPTaction(*app, QStringLiteral("000010-000020 LOOP "));
    EXPECT_EQ(player().framePosition(), 10);
    EXPECT_NEAR(inEnd(), barAt(0.5), 1);
    EXPECT_EQ(slider().CommandMarkOUT->x(), inEnd());

    QTest::keyClick(bar(), Qt::Key_9);
    EXPECT_EQ(player().framePosition(), 225);
}

} // namespace
} // namespace vv::test
