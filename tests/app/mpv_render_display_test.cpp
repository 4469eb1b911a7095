// The OpenGL picture widget on a real X display (Xvfb: Mesa's software
// rasteriser), and the factory's choice of renderer there.

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
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

std::unique_ptr<MpvPlayer> openGlPlayer(QWidget* host)
{
    MpvPlayer::Config config;
    config.picture = MpvPlayer::Picture::OpenGL;
    config.audio = false;
    return std::make_unique<MpvPlayer>(host, config);
}

QImage drawn(const MpvPlayer& player)
{
    return static_cast<QOpenGLWidget*>(player.widget())->grabFramebuffer();
}

bool seekTo(MpvPlayer& player, int frame)
{
    int done = 0;
    auto connection = QObject::connect(&player, &MediaPlayer::positionChanged, [&] { ++done; });
    player.setCurrentPosition(frame);
    const bool ok = QTest::qWaitFor([&] { return done > 0; }, WaitMs);
    QObject::disconnect(connection);
    return ok;
}

TEST(OpenGlPicture, SoftwareRasteriserGetsTheSoftwareRenderer)
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    ASSERT_TRUE(context.create() && context.makeCurrent(&surface));
    const QString renderer =
        QString::fromLatin1(reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER)));
    context.doneCurrent();
    // Under Xvfb that is Mesa's llvmpipe.
    const bool software = renderer.contains("llvmpipe") || renderer.contains("softpipe");
    if (software)
        EXPECT_EQ(programRendering(), PictureRendering::Software) << renderer.toStdString();
    else
        EXPECT_EQ(programRendering(), isSoftwareRasteriser(renderer) ? PictureRendering::Software
                                                                     : PictureRendering::OpenGL);
}

TEST(OpenGlPicture, DrawsTheFrameAskedForInsideItsRectangle)
{
    QWidget host;
    host.resize(320, 240);
    auto player = openGlPlayer(&host);
    ASSERT_EQ(player->pictureKind(), MpvPlayer::Picture::OpenGL);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(player->setFileName(testMedia("open-gop.avi"))) << player->lastError().toStdString();
    player->setPositionUnits(MediaPlayer::Frames);

    ASSERT_TRUE(seekTo(*player, 42));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player)) == 42; }, WaitMs));

    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player).copy(40, 30, 160, 120)) == 42; }, WaitMs));
    EXPECT_EQ(qGray(drawn(*player).pixel(300, 220)), 0);

    player->setPictureVisible(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player).copy(40, 30, 160, 120)) == -1; }, WaitMs));
    EXPECT_EQ(qGray(drawn(*player).pixel(120, 90)), 0);
}

TEST(OpenGlPicture, FileLoadedBeforeTheWindowIsShownAppearsWhenItIs)
{
    QWidget host;
    host.resize(320, 240);
    auto player = openGlPlayer(&host);
    ASSERT_TRUE(player->setFileName(testMedia("closed-gop.avi"))) << player->lastError().toStdString();
    player->setPositionUnits(MediaPlayer::Frames);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(seekTo(*player, 17));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player)) == 17; }, WaitMs));
    EXPECT_EQ(frameNumberOf(player->grabCurrentFrame()), 17);
}

TEST(OpenGlPicture, SurvivesItsWindowBeingRecreatedAndTheWidgetMovingHosts)
{
    QWidget host;
    host.resize(320, 240);
    auto player = openGlPlayer(&host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(player->setFileName(testMedia("open-gop.avi")));
    player->setPositionUnits(MediaPlayer::Frames);

    // Always-on-top makes a new native window.
    host.setWindowFlags(host.windowFlags() | Qt::WindowStaysOnTopHint);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_TRUE(seekTo(*player, 64));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player)) == 64; }, WaitMs));

    // Into another top-level window: a new OpenGL context.
    QWidget other;
    other.resize(320, 240);
    player->widget()->setParent(&other);
    player->widget()->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    ASSERT_TRUE(seekTo(*player, 65));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn(*player)) == 65; }, WaitMs))
        << frameNumberOf(drawn(*player)) << " vid " << player->engineProperty("vid").toString().toStdString()
        << " grab " << frameNumberOf(player->grabCurrentFrame());
    player.reset();
}

} // namespace
} // namespace vv
