// The libmpv player against real clips: every frame-exactness claim is proved
// by the frame number read from the picture mpv actually shows.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "tests/support/test_media.h"

namespace vv {
namespace {

using test::testMedia;

constexpr int WaitMs = 10000;

// The picture shows the frame (mpv's video output may take a moment to
// present a frame that is already decoded); the frame shown when not.
::testing::AssertionResult showsFrame(const MpvPlayer& player, int frame)
{
    const auto shown = [&] { return test::frameNumberOf(player.grabCurrentFrame()); };
    if (QTest::qWaitFor([&] { return shown() == frame; }, 2000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shows frame " << shown() << " instead of " << frame;
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
    auto player = std::make_unique<MpvPlayer>(nullptr, MpvPlayer::Config{.picture = MpvPlayer::Picture::Offscreen,
                                                                         .audio = false});
    player->applyFixedOptions();
    EXPECT_TRUE(player->setFileName(testMedia(clip))) << player->lastError().toStdString();
    player->setPositionUnits(MediaPlayer::Frames);
    return player;
}

// Lets a playing player run into its end (and, when `halts`, until mpv has
// paused itself there) and a while beyond; how often the position arrived at
// the length (-1: it never stopped), and whether it ever went back.
std::pair<int, bool> arrivalsAtTheEnd(MpvPlayer& p, bool halts)
{
    int arrivals = 0;
    bool wentBack = false;
    double previous = p.currentPosition();
    const auto poll = [&] {
        const double now = p.currentPosition();
        arrivals += now == p.length() && previous != p.length();
        wentBack = wentBack || now < previous;
        previous = now;
    };
    if (!QTest::qWaitFor([&] { poll(); return p.playState() != MediaPlayer::Playing; }, WaitMs) ||
        !QTest::qWaitFor([&] { poll(); return !halts || p.engineProperty("pause").toBool(); }, WaitMs))
        return {-1, wentBack};
    (void)QTest::qWaitFor([&] { poll(); return false; }, 100);
    return {arrivals, wentBack};
}


// ------------------------------------------------------------ pure rules

// (The picture widgets' test draws a picture rectangle equal to the window
// and one off its centre.)
TEST(VideoZoomPan, MapsThePictureRectangleOntoMpvsZoomAndPan)
{
    struct Row {
        const char* what;
        QSizeF window;
        QRectF picture;
        double aspect, zoom, panX, panY;
    };
    const Row rows[] = {
        {"half size, off centre", {640, 480}, {40, 30, 320, 240}, 4.0 / 3, -1, -0.375, -0.375},
        {"wide video", {640, 480}, {-320, 0, 1280, 480}, 16.0 / 9, std::log2(480 * 16.0 / 9 / 640), 0, 0},
        {"unknown aspect fills the rectangle", {400, 300}, {-400, -300, 1200, 900}, 0, std::log2(3.0), 0, 0},
    };
    for (const Row& row : rows) {
        const VideoZoomPan got = videoZoomPan(row.window, row.picture, row.aspect);
        EXPECT_LT(std::abs(got.zoom - row.zoom) + std::abs(got.panX - row.panX) + std::abs(got.panY - row.panY), 1e-9)
            << row.what << ": " << got.zoom << " " << got.panX << " " << got.panY;
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
    QWidget host;
    auto player = makeProgramPlayer(&host);
    EXPECT_EQ(static_cast<MpvPlayer*>(player.get())->pictureKind(), MpvPlayer::Picture::Software);
}

// ------------------------------------------------------------ frame exactness

struct Clip {
    const char* test;
    const char* name;
    int frames;
    double rate;
};

class ExactFrames : public ::testing::TestWithParam<Clip> {};

TEST_P(ExactFrames, EveryPositionShowsAndReadsTheFrameAskedForUpToTheEnd)
{
    auto player = loadedInFrames(GetParam().name);
    MpvPlayer& p = *player;
    const int n = GetParam().frames;
    ASSERT_EQ(p.length(), n);
    EXPECT_NEAR(p.streamFrameRate(), GetParam().rate, 0.001);
    // mpv's clock at frame 0 is the probe's t0.
    EXPECT_NEAR(p.engineProperty("time-pos").toDouble(), p.media().firstFrameTime, 1e-3);

    // Keyframe boundaries (every 50th frame in the AVIs, 25th in the .mpg),
    // the last two frames, a stretch of neighbours (where flooring estimates
    // of 29.97 fps go wrong) and a few others.
    const int frames[] = {1, 49, 50, 51, 100, 99, 0, 150, 2, n - 1, n - 2, 237, 13, 188, 75, 140, 141, 142, 143,
                          144, 145, 146, 147, 148, 149, 151, 152, 153, 154, 155, 156, 157, 158, 159};
    for (int frame : frames) {
        QSignalSpy moved(&p, &MediaPlayer::positionChanged);
        p.setCurrentPosition(frame);
        EXPECT_EQ(p.currentPosition(), frame) << "while seeking to " << frame;
        ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, WaitMs)) << frame;
        EXPECT_TRUE(showsFrame(p, frame));
        EXPECT_EQ(std::pair(p.currentPosition(), moved.count()), std::pair(double(frame), qsizetype(1)));
    }

    // A slider being dragged: no time for one seek to finish before the next.
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    for (int frame : {10, 60, 110, 160, 210, 180, 133})
        p.setCurrentPosition(frame);
    EXPECT_EQ(p.currentPosition(), 133);
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, WaitMs));
    EXPECT_TRUE(showsFrame(p, 133));
    EXPECT_EQ(moved.count(), 1);

    // Seconds are the video stream's own time (the program stream's video
    // starts after its audio).
    p.setPositionUnits(MediaPlayer::Seconds);
    EXPECT_NEAR(p.length(), n / GetParam().rate, 1e-6);
    ASSERT_TRUE(seekTo(p, 100 / GetParam().rate));
    EXPECT_NEAR(p.currentPosition(), 100 / GetParam().rate, 1e-3);
    EXPECT_TRUE(showsFrame(p, 100));
    p.setPositionUnits(MediaPlayer::Frames);

    // The last frame is not the end but a seek to the length is: mpv flags
    // end-of-file while it stands on the last frame, and the player must
    // still read N - 1 there. Beyond the length is the length, and play does
    // not start there.
    ASSERT_TRUE(seekTo(p, n - 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.engineProperty("eof-reached").toBool(); }, WaitMs));
    EXPECT_EQ(p.currentPosition(), n - 1);
    ASSERT_TRUE(seekTo(p, n));
    EXPECT_TRUE(showsFrame(p, n - 1));
    EXPECT_EQ(p.currentPosition(), n);
    p.play();
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    ASSERT_TRUE(seekTo(p, n + 150));
    EXPECT_EQ(p.currentPosition(), n);
    ASSERT_TRUE(seekTo(p, -5));
    EXPECT_EQ(p.currentPosition(), 0);

    // Playing into the end reaches the length exactly once; a seek back from
    // there leaves it halted, and play goes on from there.
    p.setRate(2.0);
    ASSERT_TRUE(seekTo(p, n - 50));
    p.play();
    EXPECT_EQ(arrivalsAtTheEnd(p, true), std::pair(1, false));
    EXPECT_EQ(std::tuple(p.currentPosition(), p.playState()), std::tuple(double(n), MediaPlayer::Stopped));
    ASSERT_TRUE(seekTo(p, 10));
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    p.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 12; }, WaitMs));
}

INSTANTIATE_TEST_SUITE_P(Clips, ExactFrames,
                         ::testing::Values(Clip{"OpenGop", "open-gop.avi", 250, 25},
                                           Clip{"ProgramStream", "program.mpg", 250, 25},
                                           Clip{"Ntsc", "ntsc.avi", 299, 30000.0 / 1001}),
                         [](const auto& info) { return std::string(info.param.test); });

// ------------------------------------------------------------ bad files and controls

// One player through a cut file and files it cannot open, then played and
// stopped.
TEST(MpvPlayer, BadFilesLeaveThePlayerUsableAndItsControlsHaltWhereTheyAre)
{
    auto player = loadedInFrames("truncated.avi");
    MpvPlayer& p = *player;
    // The header claims 250 frames; the file holds about half of them.
    const int held = static_cast<int>(p.length());
    ASSERT_TRUE(held > 100 && held < 140) << held;
    ASSERT_TRUE(seekTo(p, held - 20));
    EXPECT_TRUE(showsFrame(p, held - 20));
    // Playing into the cut ends at the length, without hanging.
    p.setRate(4.0);
    p.play();
    EXPECT_EQ(arrivalsAtTheEnd(p, true), std::pair(1, false));

    // A FIFO must not make the load wait for a writer.
    const QString folder = test::freshTempDir("mpv"), fifo = folder + "/fifo.avi";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {testMedia("garbage.avi"), folder + "/missing.avi", fifo, folder, QString()}) {
        ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
        EXPECT_EQ(p.setFileName(path), path.isEmpty()) << path.toStdString();
        EXPECT_TRUE(path.isEmpty() || !p.lastError().isEmpty());
        EXPECT_TRUE(p.fileName().isEmpty() && p.grabCurrentFrame().isNull());
        EXPECT_EQ(std::tuple(p.length(), p.currentPosition(), p.streamFrameRate(), p.playState()),
                  std::tuple(0.0, 0.0, 0.0, MediaPlayer::Stopped));
    }
    // Still usable; a load starts halted on frame 0, whatever played before,
    // and the window's timers keep running while it loads.
    QTimer tick;
    QSignalSpy ticks(&tick, &QTimer::timeout);
    tick.start(0);
    ASSERT_TRUE(p.setFileName(testMedia("closed-gop.avi")));
    EXPECT_GT(ticks.count(), 0);
    ASSERT_TRUE(seekTo(p, 77));
    p.play();
    ASSERT_TRUE(p.setFileName(testMedia("closed-gop.avi")));
    EXPECT_EQ(std::tuple(p.engineProperty("pause").toBool(), p.playState(), p.currentPosition()),
              std::tuple(true, MediaPlayer::Stopped, 0.0));
    EXPECT_TRUE(showsFrame(p, 0));

    // Stop halts where it is; a seek while playing goes on
    // playing from the new frame, and normal playback raises no position
    // events.
    p.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() >= 5; }, WaitMs));
    p.stop();
    EXPECT_TRUE(showsFrame(p, int(p.currentPosition())));
    p.play();
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    ASSERT_TRUE(seekTo(p, 150));
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 152; }, WaitMs));
    EXPECT_EQ(moved.count(), 1);
}

// ------------------------------------------------------------ audio only, two players

// The program's player without a host, sound on: a machine without a sound
// device (a build server, a virtual display) must still play in real time
// instead of jumping to the end.
TEST(MpvPlayer, AudioOnlyPlayerCountsSecondsEndsExactlyOnceAndPlaysBesideTheVideoInRealTime)
{
    const std::unique_ptr<MediaPlayer> player = makeProgramPlayer(nullptr);
    MpvPlayer& p = *static_cast<MpvPlayer*>(player.get());
    EXPECT_EQ(p.widget(), nullptr);
    ASSERT_TRUE(p.setFileName(testMedia("tone.wav")));
    QElapsedTimer clock;
    clock.start();
    p.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() >= 0.5; }, WaitMs));
    EXPECT_GE(clock.elapsed(), 300);   // real time, not as fast as the decoder can go
    EXPECT_TRUE(p.grabCurrentFrame().isNull());
    p.setPositionUnits(MediaPlayer::Frames);  // counted at 25 frames a second
    ASSERT_TRUE(seekTo(p, 50));
    p.setPositionUnits(MediaPlayer::Seconds);
    EXPECT_NEAR(p.currentPosition(), 2.0, 0.05);
    p.setRate(4.0);
    EXPECT_EQ(arrivalsAtTheEnd(p, false).first, 1);
    EXPECT_EQ(p.currentPosition(), p.length());

    // Beside a video player: settings and states stay apart.
    auto video = loadedInFrames("open-gop.avi");
    ASSERT_TRUE(p.setFileName(testMedia("tone.mp3")));
    p.setRate(1.0);
    video->setVolume(-50000);
    video->setMute(true);
    video->setRate(2.5);
    EXPECT_TRUE(reaches(*video, "volume", mpvVolumeFor(-10000)) && reaches(*video, "mute", 1) &&
                reaches(*video, "speed", 2.5) && reaches(p, "speed", 1.0) && reaches(p, "mute", 0) &&
                reaches(p, "volume", mpvVolumeFor(0)));
    p.play();
    ASSERT_TRUE(seekTo(*video, 123));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 0.3; }, WaitMs));
    EXPECT_EQ(video->playState(), MediaPlayer::Stopped);
    video->play();
    p.pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->currentPosition() > 126; }, WaitMs));
    EXPECT_EQ(p.playState(), MediaPlayer::Paused);
}

} // namespace
} // namespace vv
