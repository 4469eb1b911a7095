// Playback on a real display, watched from outside the player: every frame
// mpv presents must reach the screen, whichever renderer draws it.

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/mpv_player.h"
#include "tests/support/test_media.h"
#include "tools/bench/screen_watch.h"

namespace vv {
namespace {

class PlaybackOnScreen : public ::testing::TestWithParam<MpvPlayer::Picture> {};

TEST_P(PlaybackOnScreen, EveryFramePresentedReachesTheScreen)
{
    QWidget host;
    host.resize(320, 240);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    MpvPlayer::Config config;
    config.picture = GetParam();
    config.audio = false;
    MpvPlayer player(&host, config);
    ASSERT_TRUE(player.setFileName(test::testMedia("open-gop.avi"))) << player.lastError().toStdString();
    const auto dropped = [&] {
        return player.engineProperty("frame-drop-count").toLongLong()
               + player.engineProperty("decoder-frame-drop-count").toLongLong();
    };

    const qlonglong droppedBefore = dropped();
    vvbench::LoopLatency latency;
    vvbench::ScreenFrameWatcher watcher(std::uint32_t(host.winId()), host.rect());
    player.play();
    QTest::qWait(4000);
    player.pause();
    const std::vector<int> seen = watcher.stop();
    ASSERT_TRUE(watcher.connected());

    const double fraction = vvbench::presentedFraction(seen, dropped() - droppedBefore);
    std::printf("frames on screen %.3f, window thread latency p99 %.1f ms\n", fraction, latency.quantileMs(0.99));
    EXPECT_GE(fraction, 0.98) << "frames seen: " << ::testing::PrintToString(seen);
}

INSTANTIATE_TEST_SUITE_P(Renderers, PlaybackOnScreen,
                         ::testing::Values(MpvPlayer::Picture::Software, MpvPlayer::Picture::OpenGL),
                         [](const auto& info) {
                             return info.param == MpvPlayer::Picture::Software ? "Software" : "OpenGL";
                         });

} // namespace
} // namespace vv
