// The NAVIGATE strip over the position slider, and the panels a click into
// the video opens and closes, on the scripted player.

#include <QTest>

#include "app/main_window.h"
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
        // Start-up numbers the scene windows.
        for (int i = 0; i < 16; ++i)
            app->FormImage(i).tag = QString::number(i);
    }
    void load() { INITIALIZEvideo(*app, video, 0); }
    QList<int> shownScenes()
    {
        QList<int> shown;
        for (int i = 0; i < 16; ++i)
            if (app->FormImageExists(i) && app->FormImage(i).isVisible())
                shown << i;
        return shown;
    }
    QList<int> markedScenes()
    {
        QList<int> marked;
        for (int i = 0; i < 16; ++i)
            if (app->FormImageExists(i) && !app->FormImage(i).Shape1->isHidden())
                marked << i;
        return marked;
    }
    static QList<int> range(int first, int count)
    {
        QList<int> r;
        for (int i = first; i < first + count; ++i)
            r << i;
        return r;
    }

    QString video;
};

TEST_F(NavigationTest, WithoutAVideoThereIsNothingToNavigate)
{
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    EXPECT_EQ(app->st.InfoDisplayCountdown, 3);
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(app->hasFormSlider() && app->FormSlider().isVisible());
    EXPECT_TRUE(shownScenes().isEmpty());
}

TEST_F(NavigationTest, SevenPicturesStandOnTheSliderTheFirstMarkedAtTheStart)
{
    load();
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NAVIGATE"));
    EXPECT_EQ(app->st.ActiveMode, 1);
    EXPECT_EQ(app->st.SceneStripFirst, 0);
    SliderWindow& slider = app->FormSlider();
    ASSERT_TRUE(slider.isVisible());
    EXPECT_EQ(shownScenes(), range(0, 7));
    EXPECT_EQ(markedScenes(), QList<int>({0}));
    // Side by side across the video window, directly above the slider.
    const int w = app->FormImage(0).width();
    EXPECT_NEAR(w, app->Player().width() / 7.0, 1);
    for (int k = 0; k < 7; ++k) {
        const QRect r = app->FormImage(k).geometry();
        EXPECT_NEAR(r.x(), k * app->Player().width() / 7.0, 1) << k;
        EXPECT_NEAR(r.bottom() + 1, slider.y(), 1) << k;
        EXPECT_NEAR(r.height(), w * 3 / 4.0, 1);
    }
    // The slider lies along the bottom of the video window.
    EXPECT_EQ(slider.geometry().bottom() + 1, app->Player().height());
    EXPECT_EQ(slider.width(), app->Player().width());
    // The time code stays up without a countdown.
    EXPECT_TRUE(app->TimeDisplay().isVisible());
    EXPECT_EQ(app->st.TimeDisplayCountdown, -1);
}

TEST_F(NavigationTest, NinePicturesFrom1024PixelsTheLastOnesAtTheEnd)
{
    app->MDI().resize(1024, 768);
    load();
    GOTOposition(*app, 250);
    SHOWnavigation(*app);
    EXPECT_EQ(shownScenes(), range(7, 9));
    EXPECT_EQ(app->st.SceneStripFirst, 7);
    EXPECT_EQ(markedScenes(), QList<int>({15}));
}

TEST_F(NavigationTest, EachSeekWhileUpMovesTheStripAndOnlyItsPicturesStayUp)
{
    load();
    SHOWnavigation(*app);
    GOTOposition(*app, 128);  // scene 8
    EXPECT_EQ(app->st.SceneStripFirst, 5);
    EXPECT_EQ(shownScenes(), range(5, 7));
    EXPECT_EQ(markedScenes(), QList<int>({8}));
    GOTOposition(*app, 16);  // scene 1: back to the left end
    EXPECT_EQ(shownScenes(), range(0, 7));
    EXPECT_EQ(markedScenes(), QList<int>({1}));

    // Pictures of the index grid left up do not stay among the strip's.
    for (int i = 0; i < 16; ++i)
        app->FormImage(i).show();
    SHOWnavigation(*app);
    EXPECT_EQ(shownScenes(), range(0, 7));
}

TEST_F(NavigationTest, AClickIntoTheVideoOpensThePanelsTheNextClosesThem)
{
    app->MDI().resize(1024, 768);
    load();
    player().setPictureRect(QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()));
    QWidget* picture = player().widget();
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    ControlPanel& menu = app->menu();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(menu.ListSCRIPT->isVisible());
    EXPECT_EQ(app->st.ActiveMode, 1);
    SliderWindow& slider = app->FormSlider();
    EXPECT_TRUE(slider.isVisible());
    EXPECT_EQ(slider.geometry().bottom() + 1, menu.y());  // the slider sits on the panel
    EXPECT_EQ(shownScenes(), range(0, 9));
    EXPECT_TRUE(app->TimeDisplay().isVisible());
    EXPECT_EQ(app->st.TimeDisplayCountdown, 0);

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(slider.isVisible());
    EXPECT_TRUE(shownScenes().isEmpty());
    EXPECT_FALSE(app->TimeDisplay().isVisible());
    EXPECT_FALSE(app->InfoDisplay().isVisible());
    EXPECT_TRUE(app->Player().isVisible());
}

} // namespace
} // namespace vv::test
