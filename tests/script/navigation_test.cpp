// The NAVIGATE strip over the position slider, and the panels a click into
// the video opens and closes, on the scripted player.

#include <QTest>

#include "app/main_window.h"
#include "app/numbers.h"
#include "control/key_dispatcher.h"
#include "control/virtual_keys.h"
#include "control/control_panel.h"
#include "index/scene_window.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class NavigationTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
        for (int i = 0; i < 16; ++i)
            app->FormImage(i);  // created, as start-up creates them
    }
    // The numbers of the scene windows shown (or marked), "0 1 2".
    QString scenes(bool marked = false)
    {
        QStringList numbers;
        for (int i = 0; i < 16; ++i) {
            if (!app->FormImageExists(i))
                continue;
            const SceneWindow& scene = app->FormImage(i);
            if (marked ? !scene.Shape1->isHidden() : scene.isVisible())
                numbers << QString::number(i);
        }
        return numbers.join(QLatin1Char(' '));
    }
    void expectStrip(int first, int count, int marked)
    {
        QStringList numbers;
        for (int i = first; i < first + count; ++i)
            numbers << QString::number(i);
        EXPECT_EQ(scenes(), numbers.join(QLatin1Char(' ')));
        EXPECT_EQ(scenes(true), QString::number(marked));
    }

    QString video;
};

TEST_F(NavigationTest, SevenPicturesStandOnTheSliderAndFollowEverySeek)
{
    SHOWnavigation(*app);  // nothing to navigate without a video
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_EQ(scenes(), QString());

    INITIALIZEvideo(*app, video, 0);
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NAVIGATE"));
    EXPECT_EQ(app->st.ActiveMode, 1);
    expectStrip(0, 7, 0);
    // Side by side directly above the slider, which lies along the bottom
    // of the video window.
    SliderWindow& slider = app->FormSlider();
    EXPECT_NEAR(app->FormImage(6).geometry().bottom() + 1, slider.y(), 1);
    EXPECT_NEAR(app->FormImage(6).x(), 6 * app->Player().width() / 7.0, 1);
    EXPECT_EQ(slider.geometry().bottom() + 1, app->Player().height());
    EXPECT_EQ(app->st.TimeDisplayCountdown, -1);  // the time code stays up

    GOTOposition(*app, 128);  // scene 8
    expectStrip(5, 7, 8);
    GOTOposition(*app, 16);  // scene 1: back to the left end
    expectStrip(0, 7, 1);
    // Pictures of the index grid left up do not stay among the strip's.
    for (int i = 0; i < 16; ++i)
        app->FormImage(i).show();
    SHOWnavigation(*app);
    expectStrip(0, 7, 1);
}

TEST_F(NavigationTest, EveryDigitGoesToItsSceneCountedFromTheStripsFirstPicture)
{
    INITIALIZEvideo(*app, video, 0);
    SHOWnavigation(*app);
    // 0 is the scene before the strip, 8 and 9 lie past its seven pictures.
    for (const auto& [digit, window] : {std::pair{0, 4}, {1, 5}, {8, 12}, {9, 13}}) {
        SCOPED_TRACE(digit);
        GOTOposition(*app, 128);  // the strip shows scenes 5 to 11
        KEYcommand(*app, vk::Digit0 + digit);
        EXPECT_NE(player().framePosition(), 128);
        EXPECT_EQ(player().framePosition(), leadingNumber(app->FormImage(window).Image1->toolTip()));
    }
}

TEST_F(NavigationTest, AClickIntoTheVideoOpensThePanelsTheNextClosesThem)
{
    app->MDI().resize(1024, 768);
    INITIALIZEvideo(*app, video, 0);
    player().setPictureRect(QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()));
    QWidget* picture = player().widget();
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    ControlPanel& menu = app->menu();
    EXPECT_TRUE(menu.ListSCRIPT->isVisible());
    EXPECT_EQ(app->st.ActiveMode, 1);
    EXPECT_EQ(app->FormSlider().geometry().bottom() + 1, menu.y());  // the slider sits on the panel
    expectStrip(0, 9, 0);  // nine pictures from 1024 pixels
    EXPECT_TRUE(app->TimeDisplay().isVisible());

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(app->FormSlider().isVisible());
    EXPECT_EQ(scenes(), QString());
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_TRUE(app->Player().isVisible());
}

} // namespace
} // namespace vv::test
