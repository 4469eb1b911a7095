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
    // A press, a move with the left button held (QTest's own moves carry no
    // buttons) or a release at x on a part of the slider.
    void mouse(QEvent::Type type, int x, QWidget* on = nullptr)
    {
        on = on ? on : bar();
        const QPointF local(x, 5);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, on->mapToGlobal(local), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &event);
    }
    // The right ends of the IN and OUT buttons, as shares of the bar.
    double inEnd() { return (slider().CommandMarkIN->geometry().right() + 1.0) / bar()->width(); }
    double outEnd() { return (slider().CommandMarkOUT->geometry().right() + 1.0) / bar()->width(); }
};

TEST_F(SliderTest, ADragSeeksAlongTheBarWithTheTickOffAndPlaysOnlyWhatPlayed)
{
    slider().INITIALIZE();
    ASSERT_TRUE(ticking());
    const int pauses = player().pauseCalls;
    mouse(QEvent::MouseButtonPress, 0);  // the very left: frame 0
    EXPECT_TRUE(app->st.SliderDrag);
    EXPECT_FALSE(ticking());
    EXPECT_EQ(player().pauseCalls, pauses + 1);
    EXPECT_EQ(player().seeks.last(), 0);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);  // each seek keeps playing
    for (const auto& [x, frame] : {std::pair{bar()->width() / 2, 125}, {bar()->width() + 200, 250}, {-50, 0}}) {
        mouse(QEvent::MouseMove, x);
        EXPECT_NEAR(player().framePosition(), frame, 1) << x;  // past either end: the end
    }
    mouse(QEvent::MouseButtonRelease, -50);
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_TRUE(ticking());
    const auto seeks = player().seeks.size();
    mouse(QEvent::MouseMove, 100);  // moves without a held button do nothing
    EXPECT_EQ(player().seeks.size(), seeks);

    // A press on the fill counts from the bar's left edge: 100 pixels of a
    // bar 761 pixels (11415 twips) wide is 1500 x 250 / 11415.
    GOTOposition(*app, 125);
    ASSERT_EQ(bar()->width(), 761);
    mouse(QEvent::MouseButtonPress, 100, slider().Slider);
    EXPECT_EQ(player().framePosition(), 32);

    // Closing the overlays in the middle of a drag gives the tick back.
    HIDEall(*app);
    EXPECT_FALSE(app->st.SliderDrag);
    EXPECT_TRUE(ticking());

    // Halted, a drag only moves the position; without a video a press does
    // nothing.
    slider().INITIALIZE();
    PLAYstop(*app);
    const int plays = player().playCalls;
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease})
        mouse(type, 300);
    EXPECT_EQ(player().playCalls, plays);
    EXPECT_FALSE(ticking());
    EXPECT_NEAR(player().framePosition(), 300 * 15 * 250 / 11415.0, 1);
    INITIALIZEvideo(*app, writeFile(QStringLiteral("bad.avi"), "x"), 0);  // unloads, then fails
    slider().INITIALIZE();
    const auto before = player().seeks.size();
    mouse(QEvent::MouseButtonPress, 100);
    EXPECT_EQ(player().seeks.size(), before);
    EXPECT_FALSE(app->st.SliderDrag);
}

TEST_F(SliderTest, TheFillAndTheMarkButtonsFollowSeeksTheTickAndLoopsAndKeysGoToTheKeyMap)
{
    // Buttons placed while the slider was down move with the bar when it
    // comes up.
    for (const auto& [frame, button] : {std::pair{125, app->menu().CommandMarkIN}, {200, app->menu().CommandMarkOUT}}) {
        player().setFramePosition(frame);
        button->click();
    }
    slider().INITIALIZE();
    EXPECT_NEAR(inEnd(), 0.5, 0.002);
    EXPECT_NEAR(outEnd(), 0.8, 0.002);
    GOTOposition(*app, 50);
    player().advance(75);
    playbackTick(*app);
    EXPECT_NEAR(slider().Slider->width(), bar()->width() / 2, 1);

    // The buttons jump to their marks and playback goes on.
    QTest::mouseClick(slider().CommandMarkOUT, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 200);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);

    // An executed loop shows its buttons where playback was before the jump;
    // OUT stands right of IN instead of on it.
    player().setFramePosition(125);
    SCRIPTaction(*app, QStringLiteral("000010-000020 LOOP "));
    EXPECT_EQ(player().framePosition(), 10);
    EXPECT_NEAR(inEnd(), 0.5, 0.002);
    EXPECT_EQ(slider().CommandMarkOUT->x(), slider().CommandMarkIN->geometry().right() + 1);
    QTest::mouseClick(slider().CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 10);

    QTest::keyClick(bar(), Qt::Key_9);
    EXPECT_EQ(player().framePosition(), 225);
}

} // namespace
} // namespace vv::test
