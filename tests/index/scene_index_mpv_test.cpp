// The scene index against the real libmpv player: a click on scene picture
// k, or the digit button that stands for it, must make the player show the
// very frame the picture was grabbed from - after the grab and after the
// next load has cut the pictures out of the sheet.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/atomic_file.h"
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

class SceneIndexOnMpv : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        app_ = std::make_unique<App>(services_, [](QWidget* host) { return makeTestPlayer(host); });
        app_->st.ProgramDir = temp_.path() + QLatin1Char('/');
        app_->MDI().resize(768, 576);
        app_->MDI().show();
        app_->Player().show();
        for (int k = 0; k < 16; ++k)
            app_->FormImage(k);  // created, as start-up creates them
        video_ = copyClip(QString::fromLatin1(GetParam()), app_->st.ProgramDir);
    }
    void TearDown() override { app_.reset(); }

    MpvPlayer& mpv() { return static_cast<MpvPlayer&>(app_->video()); }
    SceneWindow& scene(int k) { return app_->FormImage(k); }

    // Runs an action that seeks and returns the frame number the player
    // shows once the seek is done.
    template <typename Action>
    int shownAfter(Action action)
    {
        QSignalSpy moved(&mpv(), &MediaPlayer::positionChanged);
        action();
        if (!QTest::qWaitFor([&] { return moved.count() > 0 && !mpv().seeking(); }, WaitMs))
            return -2;
        return frameNumberOf(mpv().grabCurrentFrame());
    }

    FakeServices services_;
    QTemporaryDir temp_;
    std::unique_ptr<App> app_;
    QString video_;
};

// The second load cuts the sheet, and its cells carry the same frames; the
// digit buttons stand for the odd scenes.
TEST_P(SceneIndexOnMpv, ClickedScenesAndDigitsShowTheirFramesAfterTheGrabAndAfterTheCut)
{
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "cut" : "grabbed");
        // Loaded and halted, so that every jump stands still.
        INITIALIZEvideo(*app_, video_, 0);
        ASSERT_EQ(app_->st.DurationFrames, 250);
        ASSERT_EQ(app_->st.LastLoadedSheet, cut ? previewSheetName(video_) : QString());
        app_->menu().CommandPLAY->setText(QStringLiteral("PLAY"));
        mpv().pause();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !mpv().seeking(); }, WaitMs));
        // Every scene picture, clicked in the index grid, shows its own frame.
        for (int k = 0; k < 16; ++k) {
            SCOPED_TRACE(k);
            const int pictured = frameNumberOf(scene(k).picture());
            EXPECT_EQ((std::vector{static_cast<int>(leadingNumber(scene(k).Image1->toolTip())), pictured}),
                      (std::vector{16 * k, 16 * k}));
            SELECTindex(*app_);
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
        ASSERT_GE(shownAfter([&] { GOTOposition(*app_, start); }), 0);
        EXPECT_EQ(shownAfter([&] { app_->menu().CommandZiffer[static_cast<std::size_t>(n)]->click(); }), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, SceneIndexOnMpv, ::testing::Values("open-gop.avi", "closed-gop.avi", "program.mpg"),
                         [](const auto& info) { return clipTestName(info.param); });

} // namespace
} // namespace vv::test
