// The picture widgets on a real X display (Xvfb: Mesa's software rasteriser
// for OpenGL), and the factory's choice of renderer there. Playback is
// watched from outside the player.

#include <QFile>
#include <QOpenGLWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/mpv_player.h"
#include "app/mpv_render.h"
#include "app/player_factory.h"
#include "app/twips.h"
#include "control/virtual_keys.h"
#include "tests/support/test_media.h"
#include "tools/bench/screen_watch.h"

namespace vv {
namespace {

using test::frameNumberOf;
using test::testMedia;

constexpr int WaitMs = 10000;

// The mappings of OpenGL driver libraries in this process.
qsizetype mappedGlDrivers()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    const QByteArray all = maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
    return all.count("libLLVM") + all.count("_dri.so");
}

TEST(OpenGlPicture, XvfbGetsTheSoftwareRendererWithoutLoadingAnOpenGlDriver)
{
    const qsizetype before = mappedGlDrivers();
    // Xvfb offers no direct rendering: only Mesa's software rasteriser.
    EXPECT_EQ(chooseRendering(renderingFacts()), PictureRendering::Software);
    EXPECT_EQ(mappedGlDrivers(), before);
}

// A player of each renderer in a window of its own, its file loaded before
// the window is shown.
class PictureWidget : public ::testing::TestWithParam<MpvPlayer::Picture> {
protected:
    void SetUp() override
    {
        host_.resize(320, 240);
        player_ = std::make_unique<MpvPlayer>(&host_, MpvPlayer::Config{.picture = GetParam(), .audio = false});
        ASSERT_EQ(player_->pictureKind(), GetParam());
        ASSERT_TRUE(player_->setFileName(testMedia("open-gop.avi"))) << player_->lastError().toStdString();
        player_->setPositionUnits(MediaPlayer::Frames);
        host_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    }

    // Seeks and waits for the seek to be reported done.
    bool seekTo(int frame)
    {
        QSignalSpy done(player_.get(), &MediaPlayer::positionChanged);
        player_->setCurrentPosition(frame);
        return QTest::qWaitFor([&] { return done.count() > 0; }, WaitMs);
    }

    QWidget host_;
    std::unique_ptr<MpvPlayer> player_;
};

// Watched from outside the player: every frame mpv presents must reach the
// screen.
TEST_P(PictureWidget, EveryFramePresentedReachesTheScreen)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a checked build is too slow to say whether frames arrive in time";
#endif
    const auto dropped = [&] {
        return player_->engineProperty("frame-drop-count").toLongLong()
               + player_->engineProperty("decoder-frame-drop-count").toLongLong();
    };
    // A busy machine can hold any program up now and then: the best of three
    // runs counts (a player that loses frames by itself loses them in each).
    double best = 0;
    for (int run = 0; run < 3 && best < 0.98; ++run) {
        ASSERT_TRUE(seekTo(0));
        const qlonglong droppedBefore = dropped();
        vvbench::ScreenFrameWatcher watcher(std::uint32_t(host_.winId()), host_.rect());
        player_->play();
        QTest::qWait(4000);
        player_->pause();
        const std::vector<int> seen = watcher.stop();
        ASSERT_TRUE(watcher.connected());
        best = std::max(best, vvbench::presentedFraction(seen, dropped() - droppedBefore));
    }
    EXPECT_GE(best, 0.98);
}

// One player to its widget moving into another window, and then to the
// player's end.
TEST_P(PictureWidget, DrawsTheFrameAskedForWhereAskedAndPassesKeysAndClicksOn)
{
    QWidget* view = player_->widget();
    const auto drawn = [&] {
        return GetParam() == MpvPlayer::Picture::Software ? static_cast<MpvSoftwareWidget*>(view)->lastPicture()
                                                          : static_cast<QOpenGLWidget*>(view)->grabFramebuffer();
    };
    // After a seek to `frame` the frame number drawn in `area` (all when
    // empty) becomes `frame`.
    const auto draws = [&](int frame, QRect area = {}) {
        return seekTo(frame) && QTest::qWaitFor([&] { return frameNumberOf(drawn().copy(area)) == frame; }, WaitMs);
    };
    EXPECT_TRUE(draws(17));

    // A quarter-size picture off the centre: the video there, black around it.
    player_->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    EXPECT_TRUE(draws(42, QRect(40, 30, 160, 120)));
    for (QPoint outside : {QPoint(20, 20), QPoint(300, 220), QPoint(250, 100), QPoint(100, 200)})
        EXPECT_EQ(qGray(drawn().pixel(outside)), 0) << outside.x() << "," << outside.y();
    // Hidden, the picture is gone.
    player_->setPictureVisible(false);
    const auto shown = [&] { return view->grab().toImage(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(shown().copy(40, 30, 160, 120)) == -1; }, WaitMs));
    player_->setPictureVisible(true);
    // The host grows: the widget follows and still shows the whole video.
    player_->setPictureRect(QRectF());
    host_.resize(480, 360);
    EXPECT_EQ(view->geometry(), host_.rect());
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn().width() == 480 && frameNumberOf(drawn()) == 42; }, WaitMs));

    // Always-on-top makes a new native window; another top-level window a
    // new OpenGL context.
    host_.setWindowFlags(host_.windowFlags() | Qt::WindowStaysOnTopHint);
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    EXPECT_TRUE(draws(64));
    QWidget other;
    other.resize(320, 240);
    view->setParent(&other);
    view->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_TRUE(draws(65));

    QSignalSpy keys(player_.get(), &MediaPlayer::keyPressed);
    QSignalSpy clicks(player_.get(), &MediaPlayer::clicked);
    QTest::keyClick(view, Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(keys, (QList<QVariantList>{{vk::A + ('F' - 'A')}}));
    // Left clicks in and beside the picture, a right click, then one on the
    // hidden picture: only the left ones come out, true inside the picture.
    player_->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(100, 100));
    player_->setPictureVisible(false);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(clicks, (QList<QVariantList>{{true}, {false}, {false}}));

    // Music after a video is shown as a load shows its picture: black, not
    // the video's last one.
    ASSERT_TRUE(player_->setFileName(testMedia("tone.wav")));
    player_->setPictureVisible(true);
    QTest::qWait(300);
    EXPECT_EQ(qGray(shown().pixel(160, 120)), 0);

    // The player goes before its window and takes its widget along.
    QPointer<QWidget> widget = view;
    player_.reset();
    EXPECT_TRUE(widget.isNull());
    EXPECT_TRUE(other.children().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Renderers, PictureWidget,
                         ::testing::Values(MpvPlayer::Picture::Software, MpvPlayer::Picture::OpenGL),
                         [](const auto& info) {
                             return info.param == MpvPlayer::Picture::Software ? "Software" : "OpenGL";
                         });

} // namespace
} // namespace vv
