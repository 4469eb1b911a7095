// The libmpv player against real clips: every frame-exactness claim is proved
// by the frame number read from the picture mpv actually shows.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

#include "app/mpv_player.h"
#include "app/mpv_render.h"
#include "app/player_factory.h"
#include "app/twips.h"
#include "control/virtual_keys.h"
#include "tests/support/test_media.h"

namespace vv {
namespace {

using test::frameNumberOf;
using test::testMedia;

constexpr int WaitMs = 10000;

std::unique_ptr<MpvPlayer> makePlayer(MpvPlayer::Picture picture, QWidget* host = nullptr)
{
    MpvPlayer::Config config;
    config.picture = picture;
    config.audio = false;
    return std::make_unique<MpvPlayer>(host, config);
}

int shownFrame(const MpvPlayer& player)
{
    return frameNumberOf(player.grabCurrentFrame());
}

// The picture shows the frame (mpv's video output may take a moment to
// present a frame that is already decoded); the frame shown when not.
::testing::AssertionResult showsFrame(const MpvPlayer& player, int frame)
{
    if (QTest::qWaitFor([&] { return shownFrame(player) == frame; }, 2000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shows frame " << shownFrame(player) << " instead of " << frame;
}

// Seeks and waits for the seek to be reported done; false when it is not.
bool seekTo(MpvPlayer& player, double position)
{
    QSignalSpy done(&player, &MediaPlayer::positionChanged);
    player.setCurrentPosition(position);
    return QTest::qWaitFor([&] { return done.count() > 0; }, WaitMs);
}

// A change reaches mpv (without the window thread waiting for it).
bool reaches(const MpvPlayer& player, const char* property, double value)
{
    return QTest::qWaitFor([&] { return std::abs(player.engineProperty(property).toDouble() - value) < 1e-4; }, WaitMs);
}

std::unique_ptr<MpvPlayer> loadedInFrames(const QString& clip)
{
    auto player = makePlayer(MpvPlayer::Picture::Offscreen);
    player->applyFixedOptions();
    EXPECT_TRUE(player->setFileName(testMedia(clip))) << player->lastError().toStdString();
    player->setPositionUnits(MediaPlayer::Frames);
    return player;
}

// Lets a playing player run into its end (and, when `halts`, until mpv has
// paused itself there) and a while beyond; how often the position arrived at
// the length (-1: it never stopped).
int arrivalsAtTheEnd(MpvPlayer& p, bool halts, bool* wentBack = nullptr)
{
    int arrivals = 0;
    double previous = p.currentPosition();
    const auto poll = [&] {
        const double now = p.currentPosition();
        arrivals += now == p.length() && previous != p.length();
        if (wentBack)
            *wentBack = *wentBack || now < previous;
        previous = now;
    };
    if (!QTest::qWaitFor([&] { poll(); return p.playState() != MediaPlayer::Playing; }, WaitMs) ||
        !QTest::qWaitFor([&] { poll(); return !halts || p.engineProperty("pause").toBool(); }, WaitMs))
        return -1;
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        poll();
    }
    return arrivals;
}

std::string clipName(const ::testing::TestParamInfo<const char*>& info)
{
    std::string name = info.param;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

// ------------------------------------------------------------ pure rules

TEST(VideoZoomPan, MapsThePictureRectangleOntoMpvsZoomAndPan)
{
    struct Row {
        const char* what;
        QSizeF window;
        QRectF picture;
        double aspect;
        double zoom, panX, panY;
    };
    const Row rows[] = {
        {"rectangle equal to the window", {640, 480}, {0, 0, 640, 480}, 4.0 / 3, 0, 0, 0},
        {"200 %, left edge on the window's", {640, 480}, {0, -240, 1280, 960}, 4.0 / 3, 1, 0.25, 0},
        {"half size, off centre", {640, 480}, {40, 30, 320, 240}, 4.0 / 3, -1, -0.375, -0.375},
        {"wide video, rectangle twice as wide only", {640, 480}, {-320, 0, 1280, 480}, 16.0 / 9,
         std::log2(480 * 16.0 / 9 / 640), 0, 0},
        {"unknown aspect fills the rectangle", {400, 300}, {-400, -300, 1200, 900}, 0, std::log2(3.0), 0, 0},
    };
    for (const Row& row : rows) {
        const VideoZoomPan place = videoZoomPan(row.window, row.picture, row.aspect);
        EXPECT_NEAR(place.zoom, row.zoom, 1e-9) << row.what;
        EXPECT_NEAR(place.panX, row.panX, 1e-9) << row.what;
        EXPECT_NEAR(place.panY, row.panY, 1e-9) << row.what;
    }
}

TEST(MpvVolume, HundredthsOfADecibelBecomeMpvsCubicVolume)
{
    const std::pair<int, double> rows[] = {{0, 100},           {-600, 79.432823}, {-850, 72.166116}, {-3100, 30.432199},
                                           {-10000, 2.154435}, {250, 100},        {-20000, 2.154435}};
    for (const auto& [volume, mpv] : rows)
        EXPECT_NEAR(mpvVolumeFor(volume), mpv, 1e-5) << volume;
}

TEST(PlayerFactory, OpenGlOnlyWhereAGpuDraws)
{
    RenderingFacts gpu;
    gpu.platform = "xcb";
    gpu.renderNode = gpu.directRendering = true;
    const auto with = [&](auto change) {
        RenderingFacts facts = gpu;
        change(facts);
        return chooseRendering(facts);
    };
    const auto Software = PictureRendering::Software;
    EXPECT_EQ(chooseRendering(gpu), PictureRendering::OpenGL);
    EXPECT_EQ(with([](auto& f) { f.platform = "wayland"; f.directRendering = false; }), PictureRendering::OpenGL);
    EXPECT_EQ(with([](auto& f) { f.directRendering = false; }), Software);   // Xvfb, VNC, remote X
    EXPECT_EQ(with([](auto& f) { f.renderNode = false; }), Software);
    EXPECT_EQ(with([](auto& f) { f.platform = "offscreen"; }), Software);
    EXPECT_EQ(with([](auto& f) { f.alwaysSoftware = "1"; }), Software);
    EXPECT_EQ(with([](auto& f) { f.alwaysSoftware = "0"; }), PictureRendering::OpenGL);
    EXPECT_EQ(with([](auto& f) { f.xcbIntegration = "none"; }), Software);
    EXPECT_EQ(with([](auto& f) { f.wanted = "Software"; }), Software);
    EXPECT_EQ(with([](auto& f) { f.renderNode = false; f.wanted = "opengl"; }), PictureRendering::OpenGL);

    // Qt's offscreen platform has no OpenGL.
    EXPECT_EQ(programRendering(), PictureRendering::Software);
    QWidget host;
    auto player = makeProgramPlayer(&host);
    ASSERT_TRUE(player->widget());
    EXPECT_EQ(static_cast<MpvPlayer*>(player.get())->pictureKind(), MpvPlayer::Picture::Software);
    EXPECT_EQ(makeProgramPlayer(nullptr)->widget(), nullptr);
}

// ------------------------------------------------------------ frame exactness

class ExactFrames : public ::testing::TestWithParam<const char*> {};

TEST_P(ExactFrames, EveryPositionShowsAndReadsTheFrameAskedForUpToTheEnd)
{
    auto player = loadedInFrames(GetParam());
    MpvPlayer& p = *player;
    ASSERT_EQ(p.length(), 250);
    EXPECT_EQ(p.streamFrameRate(), 25);

    // Loaded: standing on frame 0, and mpv's clock at frame 0 is the probe's t0.
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    EXPECT_TRUE(p.engineProperty("pause").toBool());
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));
    EXPECT_NEAR(p.engineProperty("time-pos").toDouble(), p.media().firstFrameTime, 1e-3);

    // Keyframe boundaries (every 50th frame in the AVIs, 25th in the .mpg),
    // the last two frames, and 50 random ones.
    std::vector<int> frames = {1, 49, 50, 51, 100, 99, 0, 150, 2, 249, 248};
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> anyFrame(0, 249);
    for (int i = 0; i < 50; ++i)
        frames.push_back(anyFrame(random));

    for (int frame : frames) {
        QSignalSpy moved(&p, &MediaPlayer::positionChanged);
        p.setCurrentPosition(frame);
        EXPECT_EQ(p.currentPosition(), frame) << "while seeking to " << frame;
        ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, WaitMs)) << frame;
        EXPECT_TRUE(showsFrame(p, frame));
        EXPECT_EQ(p.currentPosition(), frame);
        EXPECT_EQ(moved.count(), 1) << frame;
    }

    // A slider being dragged: no time for one seek to finish before the next.
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    for (int frame : {10, 60, 110, 160, 210, 180, 133}) {
        p.setCurrentPosition(frame);
        EXPECT_EQ(p.currentPosition(), frame);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, WaitMs));
    EXPECT_TRUE(showsFrame(p, 133));
    EXPECT_EQ(moved.count(), 1);

    // Seconds are the video stream's own time (the program stream's video
    // starts after its audio).
    p.setPositionUnits(MediaPlayer::Seconds);
    EXPECT_NEAR(p.length(), 10.0, 1e-6);
    ASSERT_TRUE(seekTo(p, 4.0));
    EXPECT_NEAR(p.currentPosition(), 4.0, 1e-3);
    EXPECT_TRUE(showsFrame(p, 100));
    p.setPositionUnits(MediaPlayer::Frames);
    EXPECT_EQ(p.currentPosition(), 100);

    // The last frame is not the end but a seek to the length is: mpv flags
    // end-of-file while it stands on the last frame, and the player must
    // still read N - 1 there.
    ASSERT_TRUE(seekTo(p, 249));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.engineProperty("eof-reached").toBool(); }, WaitMs));
    EXPECT_TRUE(showsFrame(p, 249));
    EXPECT_EQ(p.currentPosition(), 249);

    ASSERT_TRUE(seekTo(p, 250));
    EXPECT_TRUE(showsFrame(p, 249));
    EXPECT_EQ(p.currentPosition(), 250);
    p.play();
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    EXPECT_EQ(p.currentPosition(), 250);

    // Beyond the length is the length; back inside is inside again.
    ASSERT_TRUE(seekTo(p, 400));
    EXPECT_EQ(p.currentPosition(), 250);
    ASSERT_TRUE(seekTo(p, 120));
    EXPECT_TRUE(showsFrame(p, 120));
    ASSERT_TRUE(seekTo(p, -5));
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));

    // Playing into the end reaches the length exactly once.
    p.setRate(2.0);
    ASSERT_TRUE(seekTo(p, 200));
    p.play();
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    bool wentBack = false;
    EXPECT_EQ(arrivalsAtTheEnd(p, true, &wentBack), 1);
    EXPECT_FALSE(wentBack);
    EXPECT_EQ(p.currentPosition(), 250);
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);

    // From the end a seek back leaves it halted, and play goes on from there.
    ASSERT_TRUE(seekTo(p, 10));
    EXPECT_TRUE(showsFrame(p, 10));
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    p.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 12; }, WaitMs));
}

INSTANTIATE_TEST_SUITE_P(Clips, ExactFrames, ::testing::Values("open-gop.avi", "closed-gop.avi", "program.mpg"),
                         clipName);

TEST(MpvPlayer, NtscClipCountsItsFramesFromTheIndex)
{
    auto player = loadedInFrames("ntsc.avi");
    MpvPlayer& p = *player;
    EXPECT_EQ(p.length(), 299);
    EXPECT_NEAR(p.streamFrameRate(), 29.97, 0.001);
    // 29.97 fps is where flooring estimates go wrong: every frame of a stretch.
    for (int frame = 140; frame < 160; ++frame) {
        ASSERT_TRUE(seekTo(p, frame));
        EXPECT_TRUE(showsFrame(p, frame));
        EXPECT_EQ(p.currentPosition(), frame);
    }
    ASSERT_TRUE(seekTo(p, 299));
    EXPECT_EQ(p.currentPosition(), 299);
    EXPECT_TRUE(showsFrame(p, 298));
}

// ------------------------------------------------------------ bad files and controls

// One player through a cut file and files it cannot open, then played,
// stopped and paused.
TEST(MpvPlayer, BadFilesLeaveThePlayerUsableAndItsControlsHaltWhereTheyAre)
{
    auto player = loadedInFrames("truncated.avi");
    MpvPlayer& p = *player;
    // The header claims 250 frames; the file holds about half of them.
    const int held = static_cast<int>(p.length());
    ASSERT_GT(held, 100);
    ASSERT_LT(held, 140);
    ASSERT_TRUE(seekTo(p, held - 20));
    EXPECT_TRUE(showsFrame(p, held - 20));
    // Playing into the cut ends at the length, without hanging.
    p.setRate(4.0);
    p.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() == p.length(); }, WaitMs));
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    p.setRate(1.0);

    // A FIFO must not make the load wait for a writer.
    const QString folder = test::freshTempDir("mpv"), fifo = folder + "/fifo.avi";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {testMedia("garbage.avi"), folder + "/missing.avi", fifo, folder, QString()}) {
        ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
        EXPECT_EQ(p.setFileName(path), path.isEmpty()) << path.toStdString();
        EXPECT_TRUE(path.isEmpty() || !p.lastError().isEmpty());
        EXPECT_EQ(p.fileName(), "");
        EXPECT_EQ(p.length(), 0);
        EXPECT_EQ(p.currentPosition(), 0);
        EXPECT_EQ(p.streamFrameRate(), 0);
        EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
        EXPECT_TRUE(p.grabCurrentFrame().isNull());
    }
    // Still usable; a load starts halted on frame 0, whatever played before,
    // and the window's timers keep running while it loads.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(0);
    ASSERT_TRUE(p.setFileName(testMedia("closed-gop.avi")));
    tick.stop();
    EXPECT_GT(ticks, 0);
    ASSERT_TRUE(seekTo(p, 77));
    EXPECT_TRUE(showsFrame(p, 77));
    p.play();
    ASSERT_TRUE(p.setFileName(testMedia("closed-gop.avi")));
    EXPECT_TRUE(p.engineProperty("pause").toBool());
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));

    // Play, stop and pause halt where they are.
    p.play();
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() >= 5; }, WaitMs));
    p.stop();
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    const double stoppedAt = p.currentPosition();
    EXPECT_TRUE(showsFrame(p, int(stoppedAt)));
    p.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() >= stoppedAt + 3; }, WaitMs));
    p.pause();
    EXPECT_EQ(p.playState(), MediaPlayer::Paused);

    // A seek while playing goes on playing from the new frame.
    p.play();
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    ASSERT_TRUE(seekTo(p, 150));
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 152; }, WaitMs));
    // Normal playback raises no position events.
    EXPECT_EQ(moved.count(), 1);
}

// ------------------------------------------------------------ audio only, two players

TEST(MpvPlayer, AudioOnlyPlayerCountsSecondsEndsExactlyOnceAndPlaysBesideTheVideo)
{
    auto player = makePlayer(MpvPlayer::Picture::None);
    MpvPlayer& p = *player;
    EXPECT_EQ(p.widget(), nullptr);
    ASSERT_TRUE(p.setFileName(testMedia("tone.wav")));
    EXPECT_NEAR(p.length(), 3.0, 0.05);
    EXPECT_TRUE(p.grabCurrentFrame().isNull());
    p.setPositionUnits(MediaPlayer::Frames);  // counted at 25 frames a second
    EXPECT_NEAR(p.length(), 75, 1);
    ASSERT_TRUE(seekTo(p, 50));
    EXPECT_NEAR(p.currentPosition(), 50, 1);
    p.setPositionUnits(MediaPlayer::Seconds);
    ASSERT_TRUE(seekTo(p, 2.0));
    EXPECT_NEAR(p.currentPosition(), 2.0, 0.05);
    p.setRate(4.0);
    p.play();
    EXPECT_EQ(arrivalsAtTheEnd(p, false), 1);
    EXPECT_EQ(p.currentPosition(), p.length());

    // Beside a video player: settings and states stay apart.
    auto video = loadedInFrames("open-gop.avi");
    ASSERT_TRUE(p.setFileName(testMedia("tone.mp3")));
    EXPECT_NEAR(p.length(), 3.0, 0.1);
    p.setRate(1.0);
    video->setVolume(-50000);
    EXPECT_EQ(video->volume(), -10000);
    video->setMute(true);
    video->setRate(2.5);
    EXPECT_TRUE(reaches(*video, "volume", mpvVolumeFor(-10000)) && reaches(*video, "mute", 1));
    EXPECT_TRUE(reaches(*video, "speed", 2.5) && reaches(p, "speed", 1.0));
    EXPECT_FALSE(p.engineProperty("mute").toBool());
    EXPECT_EQ(p.engineProperty("volume").toDouble(), mpvVolumeFor(0));
    video->setRate(1.0);
    p.play();
    ASSERT_TRUE(seekTo(*video, 123));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 0.3; }, WaitMs));
    EXPECT_EQ(video->playState(), MediaPlayer::Stopped);
    EXPECT_TRUE(showsFrame(*video, 123));
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    video->play();
    p.pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->currentPosition() > 126; }, WaitMs));
    EXPECT_EQ(p.playState(), MediaPlayer::Paused);
}

// The program's player with sound on: a machine without a sound device
// (a build server, a virtual display) must still play at normal speed
// instead of jumping to the end.
TEST(ProgramPlayerSound, PlaysInRealTimeWithOrWithoutASoundDevice)
{
    std::unique_ptr<MediaPlayer> player = makeProgramPlayer(nullptr);
    ASSERT_TRUE(player->setFileName(testMedia(QStringLiteral("tone.wav"))));
    player->setPositionUnits(MediaPlayer::Seconds);
    ASSERT_GT(player->length(), 2.5);
    player->play();
    QElapsedTimer clock;
    clock.start();
    while (player->currentPosition() < 0.5 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(player->currentPosition(), 0.5);
    EXPECT_LT(player->currentPosition(), player->length());
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_GE(clock.elapsed(), 300);   // real time, not as fast as the decoder can go
}

// ------------------------------------------------------------ the software picture widget

TEST(SoftwarePicture, FillsTheHostPlacesTheVideoAndPassesKeysAndClicksOn)
{
    QWidget host;
    host.resize(320, 240);
    auto player = makePlayer(MpvPlayer::Picture::Software, &host);
    host.show();
    ASSERT_TRUE(player->setFileName(testMedia("open-gop.avi")));
    player->setPositionUnits(MediaPlayer::Frames);
    auto* view = static_cast<MpvSoftwareWidget*>(player->widget());
    const auto picture = [&] { return view->lastPicture(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(picture()) == 0; }, WaitMs));
    EXPECT_EQ(view->geometry(), host.rect());

    // A quarter-size picture off the centre: the video there, black around it.
    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    ASSERT_TRUE(seekTo(*player, 42));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(picture().copy(40, 30, 160, 120)) == 42; }, WaitMs));
    const QImage shown = picture();
    for (QPoint outside : {QPoint(20, 20), QPoint(300, 220), QPoint(250, 100), QPoint(100, 200)})
        EXPECT_EQ(qGray(shown.pixel(outside)), 0) << outside.x() << "," << outside.y();

    // The host grows: the widget follows and still shows the whole video.
    player->setPictureRect(QRectF());
    host.resize(480, 360);
    EXPECT_EQ(view->geometry(), host.rect());
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture().width() == 480 && frameNumberOf(picture()) == 42; }, WaitMs));

    // Hidden, the picture is black.
    player->setPictureVisible(false);
    const QImage black = view->grab().toImage();
    EXPECT_EQ(qGray(black.pixel(160, 120)), 0);
    EXPECT_EQ(frameNumberOf(black), -1);
    player->setPictureVisible(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(view->grab().toImage()) == 42; }, WaitMs));

    // Music after a video is shown as a load shows its picture: black, not
    // the video's last one.
    ASSERT_TRUE(player->setFileName(testMedia("tone.wav")));
    player->setPictureVisible(true);
    QTest::qWait(300);
    EXPECT_EQ(qGray(view->grab().toImage().pixel(160, 120)), 0);

    QSignalSpy keys(player.get(), &MediaPlayer::keyPressed);
    QSignalSpy clicks(player.get(), &MediaPlayer::clicked);
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);
    QTest::keyClick(view, Qt::Key_F, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys[0][0].toInt(), vk::A + ('F' - 'A'));
    EXPECT_EQ(keys[1][0].toInt(), vk::Right);

    // Left clicks in and beside the picture, a right click, then one on the
    // hidden picture: only the first three come out, true inside the picture.
    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(100, 100));
    player->setPictureVisible(false);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(clicks.count(), 3);
    EXPECT_TRUE(clicks[0][0].toBool());
    EXPECT_FALSE(clicks[1][0].toBool() || clicks[2][0].toBool());

    // The player goes before its host and takes its widget along.
    QPointer<QWidget> widget = player->widget();
    player.reset();
    EXPECT_TRUE(widget.isNull());
    EXPECT_TRUE(host.children().isEmpty());
}

} // namespace
} // namespace vv
