// The scene index against the real libmpv player: a click on scene picture
// k, or the digit button that stands for it, must make the player show the
// very frame the picture was grabbed from - after the grab and after the
// next load has cut the pictures out of the sheet.

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

// The second load cuts the sheet, and its cells carry the same frames; the
// digit buttons stand for the odd scenes.
TEST_P(SceneIndexOnMpv, ClickedScenesAndDigitsShowTheirFramesAfterTheGrabAndAfterTheCut)
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
    const auto scene = [&](int k) -> SceneWindow& { return app.FormImage(k); };
    // Runs an action that seeks and returns the frame number the player
    // shows once the seek is done.
    const auto shownAfter = [&](const auto& action) {
        QSignalSpy moved(&mpv, &MediaPlayer::positionChanged);
        action();
        if (!QTest::qWaitFor([&] { return moved.count() > 0 && !mpv.seeking(); }, WaitMs))
            return -2;
        return frameNumberOf(mpv.grabCurrentFrame());
    };
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "grabbed");
        // Loaded and halted, so that every jump stands still.
        INITIALIZEvideo(app, video, 0);
        ASSERT_EQ(app.st.DurationFrames, 250);
        ASSERT_EQ(app.st.LastLoadedSheet, cut ? previewSheetName(video) : QString());
        app.menu().CommandPLAY->setText(QStringLiteral("PLAY"));
        mpv.pause();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !mpv.seeking(); }, WaitMs));
        // Every scene picture, clicked in the index grid, shows its own frame.
        for (int k = 0; k < 16; ++k) {
            SCOPED_TRACE(k);
            const int pictured = frameNumberOf(scene(k).picture());
            EXPECT_EQ((std::vector{static_cast<int>(leadingNumber(scene(k).Image1->toolTip())), pictured}),
                      (std::vector{16 * k, 16 * k}));
            SELECTindex(app);
            EXPECT_EQ(shownAfter([&] { QTest::mouseClick(scene(k).Image1, Qt::LeftButton, {}, QPoint(8, 8)); }),
                      pictured);
        }
    }
    for (int n = 0; n <= 9; ++n) {
        SCOPED_TRACE(n);
        const int window = n == 0 ? 0 : 2 * n - 1;
        // Window 17 holds no picture: the jump goes to the first frame.
        const int expected = window < 16 ? frameNumberOf(scene(window).picture()) : 0;
        const int start = n == 0 ? 100 : 0;  // so that every jump moves
        ASSERT_GE(shownAfter([&] { GOTOposition(app, start); }), 0);
        EXPECT_EQ(shownAfter([&] { app.menu().CommandZiffer[static_cast<std::size_t>(n)]->click(); }), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SceneIndexOnMpv, ::testing::Values("open-gop.avi", "closed-gop.avi", "program.mpg"),
                         [](const auto& info) { return clipTestName(info.param); });

} // namespace
} // namespace vv::test
