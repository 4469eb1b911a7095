// The OpenGL picture widget on a real X display (Xvfb: Mesa's software
// rasteriser), and the factory's choice of renderer there.

#include <QFile>
#include <QOpenGLWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "app/twips.h"
#include "tests/support/test_media.h"

namespace vv {
namespace {

using test::frameNumberOf;
using test::testMedia;

constexpr int WaitMs = 10000;

// The OpenGL driver libraries mapped into this process.
QStringList mappedGlDrivers()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList found;
    for (const QString& line : QString::fromLatin1(maps.readAll()).split('\n')) {
        const QString library = line.section(' ', -1);
        if ((library.contains("libLLVM") || library.contains("_dri.so")) && !found.contains(library))
            found << library;
    }
    return found;
}

TEST(OpenGlPicture, XvfbGetsTheSoftwareRendererWithoutLoadingAnOpenGlDriver)
{
    const QStringList before = mappedGlDrivers();
    // Xvfb offers no direct rendering: only Mesa's software rasteriser.
    EXPECT_EQ(chooseRendering(renderingFacts()), PictureRendering::Software);
    EXPECT_EQ(mappedGlDrivers(), before);
}

// One player from a file loaded before its window is shown to its widget
// moving into another window.
TEST(OpenGlWidget, DrawsTheFrameAskedForThroughNewWindowsAndContexts)
{
    QWidget host;
    host.resize(320, 240);
    MpvPlayer::Config config;
    config.picture = MpvPlayer::Picture::OpenGL;
    config.audio = false;
    auto player = std::make_unique<MpvPlayer>(&host, config);
    ASSERT_EQ(player->pictureKind(), MpvPlayer::Picture::OpenGL);
    const auto show = [](QWidget& window) {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    };
    const auto drawn = [&] { return static_cast<QOpenGLWidget*>(player->widget())->grabFramebuffer(); };
    // The frame number drawn in `area` (all when empty) becomes `frame`,
    // after a seek there when asked.
    const auto draws = [&](int frame, bool seek = true, QRect area = {}) {
        QSignalSpy done(player.get(), &MediaPlayer::positionChanged);
        if (seek) {
            player->setCurrentPosition(frame);
            if (!QTest::qWaitFor([&] { return done.count() > 0; }, WaitMs))
                return false;
        }
        return QTest::qWaitFor([&] { return frameNumberOf(drawn().copy(area)) == frame; }, WaitMs);
    };

    ASSERT_TRUE(player->setFileName(testMedia("open-gop.avi")));
    player->setPositionUnits(MediaPlayer::Frames);
    ASSERT_TRUE(show(host));
    EXPECT_TRUE(draws(17));
    EXPECT_EQ(frameNumberOf(player->grabCurrentFrame()), 17);

    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    EXPECT_TRUE(draws(42, true, QRect(40, 30, 160, 120)));
    EXPECT_EQ(qGray(drawn().pixel(300, 220)), 0);
    player->setPictureVisible(false);
    EXPECT_TRUE(draws(-1, false, QRect(40, 30, 160, 120)));
    EXPECT_EQ(qGray(drawn().pixel(120, 90)), 0);
    player->setPictureRect(QRectF());
    player->setPictureVisible(true);

    // Always-on-top makes a new native window.
    host.setWindowFlags(host.windowFlags() | Qt::WindowStaysOnTopHint);
    ASSERT_TRUE(show(host));
    EXPECT_TRUE(draws(64));

    // Into another top-level window: a new OpenGL context.
    QWidget other;
    other.resize(320, 240);
    player->widget()->setParent(&other);
    player->widget()->show();
    ASSERT_TRUE(show(other));
    EXPECT_TRUE(draws(65));
    player.reset();
}

} // namespace
} // namespace vv
