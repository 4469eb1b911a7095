// The scene index against the real libmpv player: a click on scene picture
// k must make the player show the very frame the picture was grabbed from -
// after the grab and after the next load has cut the pictures out of the sheet.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/numbers.h"
#include "app/player_factory.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "index/scene_window.h"
#include "tests/index/scene_clips.h"
#include "tests/support/fake_services.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 10000;

class SceneIndexOnMpv : public ::testing::TestWithParam<const char*> {};

// The second load cuts the sheet, and its cells carry the same frames.
TEST_P(SceneIndexOnMpv, ClickedScenesShowTheirFramesAfterTheGrabAndAfterTheCut)
{
    FakeServices services;
    QTemporaryDir temp;
    App app(services, [](QWidget* host) { return makeTestPlayer(host); });
    app.st.ProgramDir = temp.path() + QLatin1Char('/');
    app.MDI().resize(768, 576);
    app.MDI().show();
    app.Player().show();
    for (int k = 0; k < 16; ++k)
        app.FormImage(k);  // created, as start-up creates them
    const QString video = copyClip(QString::fromLatin1(GetParam()), app.st.ProgramDir);
    MpvPlayer& mpv = static_cast<MpvPlayer&>(app.video());
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "grabbed");
        // Loaded and halted, so that every jump stands still.
        INITIALIZEvideo(app, video, 0);
        ASSERT_EQ(app.st.LastLoadedSheet, cut ? previewSheetName(video) : QString());
        app.menu().CommandPLAY->setText(QStringLiteral("PLAY"));
        mpv.pause();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !mpv.seeking(); }, WaitMs));
        // Every scene picture, clicked in the index grid, shows its own frame.
        for (int k = 0; k < 16; ++k) {
            SCOPED_TRACE(k);
            SceneWindow& scene = app.FormImage(k);
            const int pictured = frameNumberOf(scene.picture());
            EXPECT_EQ((std::vector{static_cast<int>(leadingNumber(scene.Image1->toolTip())), pictured}),
                      (std::vector{16 * k, 16 * k}));
            SELECTindex(app);
            QSignalSpy moved(&mpv, &MediaPlayer::positionChanged);
            QTest::mouseClick(scene.Image1, Qt::LeftButton, {}, QPoint(8, 8));
            ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0 && !mpv.seeking(); }, WaitMs));
            EXPECT_EQ(frameNumberOf(mpv.grabCurrentFrame()), pictured);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SceneIndexOnMpv, ::testing::Values("open-gop.avi", "closed-gop.avi", "program.mpg"),
                         [](const auto& info) { return clipTestName(info.param); });

} // namespace
} // namespace vv::test
