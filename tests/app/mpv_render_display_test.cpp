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

class OpenGlWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(320, 240);
        MpvPlayer::Config config;
        config.picture = MpvPlayer::Picture::OpenGL;
        config.audio = false;
        player = std::make_unique<MpvPlayer>(&host, config);
        ASSERT_EQ(player->pictureKind(), MpvPlayer::Picture::OpenGL);
    }
    void show(QWidget& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void load(const char* clip)
    {
        ASSERT_TRUE(player->setFileName(testMedia(clip))) << player->lastError().toStdString();
        player->setPositionUnits(MediaPlayer::Frames);
    }
    // The frame number the widget draws in `area` (all of it when empty)
    // becomes `frame`, after a seek there when asked.
    bool draws(int frame, bool seek = true, QRect area = {})
    {
        QSignalSpy done(player.get(), &MediaPlayer::positionChanged);
        if (seek) {
            player->setCurrentPosition(frame);
            if (!QTest::qWaitFor([&] { return done.count() > 0; }, WaitMs))
                return false;
        }
        return QTest::qWaitFor([&] { return frameNumberOf(drawn().copy(area)) == frame; }, WaitMs);
    }
    QImage drawn() const { return static_cast<QOpenGLWidget*>(player->widget())->grabFramebuffer(); }

    QWidget host;
    std::unique_ptr<MpvPlayer> player;
};

TEST_F(OpenGlWidget, DrawsTheFrameAskedForInsideItsRectangle)
{
    show(host);
    load("open-gop.avi");
    EXPECT_TRUE(draws(42));

    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    EXPECT_TRUE(draws(42, false, QRect(40, 30, 160, 120)));
    EXPECT_EQ(qGray(drawn().pixel(300, 220)), 0);

    player->setPictureVisible(false);
    EXPECT_TRUE(draws(-1, false, QRect(40, 30, 160, 120)));
    EXPECT_EQ(qGray(drawn().pixel(120, 90)), 0);
}

TEST(SoftwarePicture, MusicAfterAVideoLeavesTheWindowBlack)
{
    QWidget host;
    host.resize(320, 240);
    MpvPlayer::Config config;
    config.picture = MpvPlayer::Picture::Software;
    config.audio = false;
    MpvPlayer player(&host, config);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const auto drawn = [&] { return player.widget()->grab().toImage(); };
    ASSERT_TRUE(player.setFileName(testMedia("open-gop.avi")));
    player.setPositionUnits(MediaPlayer::Frames);
    player.setCurrentPosition(42);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(drawn()) == 42; }, WaitMs));

    // Shown as a load shows its picture: black, not the video's last one.
    ASSERT_TRUE(player.setFileName(testMedia("tone.wav")));
    player.setPictureVisible(true);
    QTest::qWait(300);
    EXPECT_EQ(qGray(drawn().pixel(160, 120)), 0);
}

TEST_F(OpenGlWidget, FileLoadedBeforeTheWindowIsShownAppearsWhenItIs)
{
    load("closed-gop.avi");
    show(host);
    EXPECT_TRUE(draws(17));
    EXPECT_EQ(frameNumberOf(player->grabCurrentFrame()), 17);
}

TEST_F(OpenGlWidget, SurvivesItsWindowBeingRecreatedAndTheWidgetMovingHosts)
{
    show(host);
    load("open-gop.avi");
    // Always-on-top makes a new native window.
    host.setWindowFlags(host.windowFlags() | Qt::WindowStaysOnTopHint);
    show(host);
    EXPECT_TRUE(draws(64));

    // Into another top-level window: a new OpenGL context.
    QWidget other;
    other.resize(320, 240);
    player->widget()->setParent(&other);
    player->widget()->show();
    show(other);
    EXPECT_TRUE(draws(65));
    player.reset();
}

} // namespace
} // namespace vv
