// The scene image windows: their time labels on narrow and wide main
// windows, the red mark, a click that jumps, keys; and the windows as the
// SELECT INDEX grid uses them.

#include <QTest>

#include "app/main_window.h"
#include "app/twips.h"
#include "control/transport.h"
#include "index/scene_window.h"
#include "script/index_grid_layout.h"
#include "script/overlays.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class SceneWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        for (int k = 0; k < 16; ++k)
            app->FormImage(k);  // created, as start-up creates them
        INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0), 0);
        // The scenes of a 1000-frame video: every 62nd frame.
        for (int k = 0; k < 16; ++k)
            app->FormImage(k).INITIALIZEquick(k * 62);
    }
    SceneWindow& scene(int k) { return app->FormImage(k); }
};

TEST_F(SceneWindowTest, TimeLabelNeedsEightHundredPixelsAndTheMarkMoreThanThat)
{
    const QString bitmap = dir() + QStringLiteral("scene.bmp");
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(bitmap, "BMP"));
    SceneWindow& w = scene(3);
    // Main window width, label shown after a load, after a mark.
    for (const auto& [width, afterLoad, afterMark] : {std::tuple{799, false, false}, {800, true, false}, {801, true, true}}) {
        SCOPED_TRACE(width);
        app->MDI().setWidthTw(tw(width));
        w.INITIALIZE(bitmap, 930);
        EXPECT_EQ(w.picture().size(), QSize(320, 240));
        // The whole time code shows, inside the window.
        EXPECT_GE(w.LabelTime->width(), w.LabelTime->sizeHint().width());
        EXPECT_LE(w.LabelTime->width(), 101);
        EXPECT_EQ(!w.LabelTime->isHidden(), afterLoad);
        // Marking another window hides this one's label; marking this one
        // shows it again, with the time code kept current while it was hidden.
        w.INITIALIZEquick(124);
        scene(5).MarkMe();
        EXPECT_TRUE(w.LabelTime->isHidden());
        w.MarkMe();
        EXPECT_EQ(w.LabelTime->text(), QStringLiteral("00:00:04-24"));
        EXPECT_EQ(!w.LabelTime->isHidden(), afterMark);
        EXPECT_TRUE(scene(5).Shape1->isHidden());
    }
}

// The grid shows the scenes over the video and the mouse marks them (once);
// a click on picture or time jumps there and closes the overlays, except in
// display mode 4; keys go to the key map.
TEST_F(SceneWindowTest, TheIndexGridShowsTheScenesTheMouseMarksThemAndAClickJumps)
{
    SELECTindex(*app);
    EXPECT_EQ(infoText(), QStringLiteral("SELECT INDEX"));
    const PlayerWindow& w = app->Player();
    const QRect cell = indexGridCells(QRect(w.leftTw(), w.topTw(), w.widthTw(), w.heightTw()), 16)[6];
    EXPECT_EQ(scene(6).geometry(), QRect(px(cell.left()), px(cell.top()), px(cell.width()), px(cell.height())));

    QTest::mouseMove(scene(6).Image1, QPoint(20, 20));
    EXPECT_EQ(app->st.SelectedScene, 6);
    // Already marked: nothing changes, not even a frame hidden meanwhile.
    scene(6).Shape1->hide();
    QTest::mouseMove(scene(6).Image1, QPoint(30, 25));
    EXPECT_TRUE(scene(6).Shape1->isHidden());
    QTest::mouseMove(scene(7).Image1, QPoint(20, 20));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(scene(k).Shape1->isHidden(), k != 7) << k;

    QTest::mouseClick(scene(15).Image1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(player().framePosition(), 930);
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_TRUE(scene(15).isHidden() && scene(0).isHidden() && app->InfoDisplay().isHidden());

    SELECTindex(*app);
    QTest::mouseClick(scene(2).LabelTime, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(player().framePosition(), 124);

    SHOWindexgrid(*app);
    app->st.ActiveMode = 4;
    QTest::mouseClick(scene(1).Image1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(player().framePosition(), 62);
    EXPECT_FALSE(scene(1).isHidden());
    EXPECT_EQ(app->st.ActiveMode, 4);

    player().setFramePosition(100);
    QTest::keyClick(&scene(1), Qt::Key_F);
    EXPECT_EQ(player().framePosition(), 850);
}

} // namespace
} // namespace vv::test
