// The libmpv player against real clips: every frame-exactness claim is proved
// by the frame number read from the picture mpv actually shows.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "app/media_probe.h"
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

std::unique_ptr<MpvPlayer> offscreenPlayer()
{
    MpvPlayer::Config config;
    config.picture = MpvPlayer::Picture::Offscreen;
    config.audio = false;
    return std::make_unique<MpvPlayer>(nullptr, config);
}

std::unique_ptr<MpvPlayer> audioOnlyPlayer()
{
    MpvPlayer::Config config;
    config.picture = MpvPlayer::Picture::None;
    config.audio = false;
    return std::make_unique<MpvPlayer>(nullptr, config);
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

std::unique_ptr<MpvPlayer> loadedInFrames(const QString& clip)
{
    auto player = offscreenPlayer();
    player->applyFixedOptions();
    EXPECT_TRUE(player->setFileName(testMedia(clip))) << player->lastError().toStdString();
    player->setPositionUnits(MediaPlayer::Frames);
    return player;
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
        {"200 % centred", {640, 480}, {-320, -240, 1280, 960}, 4.0 / 3, 1, 0, 0},
        {"200 %, left edge on the window's", {640, 480}, {0, -240, 1280, 960}, 4.0 / 3, 1, 0.25, 0},
        {"1000 % pushed to the bottom-right corner", {600, 400}, {-5400, -3600, 6000, 4000}, 1.5,
         std::log2(10.0), -0.45, -0.45},
        {"half size, off centre", {640, 480}, {40, 30, 320, 240}, 4.0 / 3, -1, -0.375, -0.375},
        {"wide video in a 4:3 window", {640, 480}, {0, 0, 640, 480}, 16.0 / 9, 0, 0, 0},
        {"wide video, rectangle twice as wide only", {640, 480}, {-320, 0, 1280, 480}, 16.0 / 9,
         std::log2(480 * 16.0 / 9 / 640), 0, 0},
        {"unknown aspect fills the rectangle", {400, 300}, {-400, -300, 1200, 900}, 0, std::log2(3.0), 0, 0},
        {"empty rectangle", {640, 480}, {0, 0, 0, 0}, 4.0 / 3, 0, 0, 0},
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
    struct Row {
        int volume;
        double mpv;
    };
    const Row rows[] = {{0, 100}, {-600, 79.432823}, {-850, 72.166116}, {-3100, 30.432199},
                        {-10000, 2.154435}, {250, 100}, {-20000, 2.154435}};
    for (const Row& row : rows)
        EXPECT_NEAR(mpvVolumeFor(row.volume), row.mpv, 1e-5) << row.volume;
    // mpv's gain (v / 100)^3 is the decibel value's gain.
    for (int volume = -6000; volume <= 0; volume += 250) {
        const double gain = std::pow(mpvVolumeFor(volume) / 100.0, 3);
        EXPECT_NEAR(20 * std::log10(gain), volume / 100.0, 1e-9) << volume;
    }
}

TEST(PlayerFactory, SoftwareRasterisersAreRecognised)
{
    EXPECT_TRUE(isSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasteriser("softpipe"));
    EXPECT_TRUE(isSoftwareRasteriser("Software Rasterizer"));
    EXPECT_TRUE(isSoftwareRasteriser(""));
    EXPECT_FALSE(isSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(isSoftwareRasteriser("NVIDIA GeForce GTX 1060/PCIe/SSE2"));
    EXPECT_FALSE(isSoftwareRasteriser("AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)"));
}

TEST(PlayerFactory, OffscreenPlatformGetsTheSoftwareRenderer)
{
    EXPECT_EQ(programRendering(), PictureRendering::Software);
    QWidget host;
    auto player = makeProgramPlayer(&host);
    ASSERT_TRUE(player->widget());
    EXPECT_EQ(static_cast<MpvPlayer*>(player.get())->pictureKind(), MpvPlayer::Picture::Software);
    EXPECT_EQ(makeProgramPlayer(nullptr)->widget(), nullptr);
}

// ------------------------------------------------------------ the probe

TEST(MediaProbe, TimeBaseOfEachContainer)
{
    struct Row {
        const char* clip;
        ContainerKind kind;
        std::int64_t frames;
        double fps, seconds, firstFrame;
    };
    const Row rows[] = {
        {"open-gop.avi", ContainerKind::Avi, 250, 25, 10, 0},
        {"closed-gop.avi", ContainerKind::Avi, 250, 25, 10, 0},
        {"ntsc.avi", ContainerKind::Avi, 299, 30000.0 / 1001, 299 * 1001 / 30000.0, 0},
        {"program.mpg", ContainerKind::MpegProgram, 250, 25, 10, -1},
        // The header of the cut file still claims every frame.
        {"truncated.avi", ContainerKind::Avi, 250, 25, 10, 0},
    };
    for (const Row& row : rows) {
        const MediaProbe probe = probeMedia(testMedia(row.clip));
        ASSERT_TRUE(probe.ok) << row.clip << ": " << probe.error.toStdString();
        EXPECT_EQ(probe.container, row.kind) << row.clip;
        EXPECT_TRUE(probe.hasVideo && probe.hasAudio) << row.clip;
        EXPECT_EQ(probe.frameCount, row.frames) << row.clip;
        EXPECT_NEAR(probe.frameRate, row.fps, 1e-9) << row.clip;
        EXPECT_NEAR(probe.videoSeconds, row.seconds, 1e-6) << row.clip;
        if (row.firstFrame >= 0)
            EXPECT_NEAR(probe.firstFrameTime, row.firstFrame, 1e-9) << row.clip;
        else   // the program stream's video starts a little after its audio
            EXPECT_GT(probe.firstFrameTime, 0.0) << row.clip;
        EXPECT_NEAR(probe.displayAspect, 4.0 / 3, 1e-9) << row.clip;
    }
    EXPECT_FALSE(probeMedia(testMedia("garbage.avi")).ok);
    EXPECT_FALSE(probeMedia("/nonexistent/clip.avi").ok);
    const MediaProbe tone = probeMedia(testMedia("tone.wav"));
    EXPECT_TRUE(tone.ok && tone.hasAudio && !tone.hasVideo);
}

// ------------------------------------------------------------ frame exactness

class ExactFrames : public ::testing::TestWithParam<const char*> {};

TEST_P(ExactFrames, EveryPositionShowsAndReadsTheFrameAskedFor)
{
    auto player = loadedInFrames(GetParam());
    MpvPlayer& p = *player;
    ASSERT_EQ(p.length(), 250);
    p.setPositionUnits(MediaPlayer::Seconds);
    EXPECT_NEAR(p.length(), 10.0, 1e-6);
    p.setPositionUnits(MediaPlayer::Frames);
    EXPECT_EQ(p.streamFrameRate(), 25);

    // Loaded: standing on frame 0, and mpv's clock at frame 0 is the probe's t0.
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    EXPECT_TRUE(p.engineProperty("pause").toBool());
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));
    EXPECT_NEAR(p.engineProperty("time-pos").toDouble(), p.media().firstFrameTime, 1e-3);

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
}

TEST_P(ExactFrames, TheLastFrameIsNotTheEndButASeekToTheLengthIs)
{
    auto player = loadedInFrames(GetParam());
    MpvPlayer& p = *player;

    // mpv flags end-of-file while it stands on the last frame; the player
    // must still read N - 1 there.
    ASSERT_TRUE(seekTo(p, 249));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.engineProperty("eof-reached").toBool(); }, WaitMs));
    EXPECT_TRUE(showsFrame(p, 249));
    EXPECT_EQ(p.currentPosition(), 249);

    ASSERT_TRUE(seekTo(p, 250));
    EXPECT_TRUE(showsFrame(p, 249));
    EXPECT_EQ(p.currentPosition(), 250);
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    p.play();
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    EXPECT_EQ(p.currentPosition(), 250);

    // Beyond the length is the length; back inside is inside again.
    ASSERT_TRUE(seekTo(p, 400));
    EXPECT_EQ(p.currentPosition(), 250);
    ASSERT_TRUE(seekTo(p, 120));
    EXPECT_EQ(p.currentPosition(), 120);
    EXPECT_TRUE(showsFrame(p, 120));
    ASSERT_TRUE(seekTo(p, -5));
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));
}

TEST_P(ExactFrames, PlayingToTheEndReachesTheLengthExactlyOnce)
{
    auto player = loadedInFrames(GetParam());
    MpvPlayer& p = *player;
    p.setRate(2.0);
    ASSERT_TRUE(seekTo(p, 200));
    p.play();
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);

    int arrivals = 0;
    double previous = p.currentPosition();
    bool wentBack = false;
    auto poll = [&] {
        const double now = p.currentPosition();
        if (now == p.length() && previous != p.length())
            ++arrivals;
        wentBack = wentBack || now < previous;
        previous = now;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { poll(); return p.playState() != MediaPlayer::Playing; }, WaitMs));
    // mpv halts itself at the end; the position must stay there.
    ASSERT_TRUE(QTest::qWaitFor([&] { poll(); return p.engineProperty("pause").toBool(); }, WaitMs));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        poll();
    }
    EXPECT_EQ(arrivals, 1);
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
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(MpvPlayer, SeeksInQuickSuccessionEndOnTheLastOne)
{
    auto player = loadedInFrames("open-gop.avi");
    MpvPlayer& p = *player;
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    // A slider being dragged: no time for one seek to finish before the next.
    for (int frame : {10, 60, 110, 160, 210, 180, 133}) {
        p.setCurrentPosition(frame);
        EXPECT_EQ(p.currentPosition(), frame);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count() > 0; }, WaitMs));
    EXPECT_TRUE(showsFrame(p, 133));
    EXPECT_EQ(p.currentPosition(), 133);
    EXPECT_EQ(moved.count(), 1);
}

TEST(MpvPlayer, NtscClipCountsItsFramesFromTheIndex)
{
    auto player = loadedInFrames("ntsc.avi");
    MpvPlayer& p = *player;
    EXPECT_EQ(p.length(), 299);
    EXPECT_NEAR(p.streamFrameRate(), 29.97, 0.001);
    p.setPositionUnits(MediaPlayer::Seconds);
    EXPECT_NEAR(p.length(), 9.9766, 1e-4);
    p.setPositionUnits(MediaPlayer::Frames);
    // 29.97 fps is where flooring estimates go wrong: every frame of a stretch.
    for (int frame = 140; frame < 160; ++frame) {
        ASSERT_TRUE(seekTo(p, frame));
        EXPECT_TRUE(showsFrame(p, frame));
        EXPECT_EQ(p.currentPosition(), frame);
    }
    ASSERT_TRUE(seekTo(p, 298));
    EXPECT_EQ(p.currentPosition(), 298);
    ASSERT_TRUE(seekTo(p, 299));
    EXPECT_EQ(p.currentPosition(), 299);
    EXPECT_TRUE(showsFrame(p, 298));
}

TEST(MpvPlayer, SecondsAreTheVideoStreamsOwnTime)
{
    auto player = loadedInFrames("program.mpg");
    MpvPlayer& p = *player;
    p.setPositionUnits(MediaPlayer::Seconds);
    ASSERT_TRUE(seekTo(p, 4.0));
    EXPECT_NEAR(p.currentPosition(), 4.0, 1e-3);
    EXPECT_TRUE(showsFrame(p, 100));
    p.setPositionUnits(MediaPlayer::Frames);
    EXPECT_EQ(p.currentPosition(), 100);
}

// ------------------------------------------------------------ bad files

TEST(MpvPlayer, TruncatedClipEndsInsteadOfHanging)
{
    auto player = loadedInFrames("truncated.avi");
    MpvPlayer& p = *player;
    ASSERT_EQ(p.length(), 250);   // what the header claims

    // A frame the file lacks: the player stands at its end.
    ASSERT_TRUE(seekTo(p, 200));
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() == p.length(); }, WaitMs));
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
    const int last = shownFrame(p);
    EXPECT_GT(last, 50);
    EXPECT_LT(last, 200);

    // Playing into the missing part ends the same way.
    ASSERT_TRUE(seekTo(p, last - 20));
    EXPECT_TRUE(showsFrame(p, last - 20));
    p.setRate(4.0);
    p.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() == p.length(); }, WaitMs));
    EXPECT_NE(p.playState(), MediaPlayer::Playing);
}

TEST(MpvPlayer, FilesThatCannotBeOpenedAreReportedAndLeaveNothingLoaded)
{
    auto player = offscreenPlayer();
    MpvPlayer& p = *player;
    const QString missing = test::freshTempDir("mpv") + "/missing.avi";
    for (const QString& path : {testMedia("garbage.avi"), missing}) {
        ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
        EXPECT_FALSE(p.setFileName(path)) << path.toStdString();
        EXPECT_EQ(p.fileName(), "");
        EXPECT_FALSE(p.lastError().isEmpty());
        EXPECT_EQ(p.length(), 0);
        EXPECT_EQ(p.currentPosition(), 0);
        EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
    }
    // Still usable.
    ASSERT_TRUE(p.setFileName(testMedia("closed-gop.avi")));
    EXPECT_EQ(p.fileName(), testMedia("closed-gop.avi"));
    p.setPositionUnits(MediaPlayer::Frames);
    ASSERT_TRUE(seekTo(p, 77));
    EXPECT_TRUE(showsFrame(p, 77));
}

TEST(MpvPlayer, EmptyNameUnloads)
{
    auto player = loadedInFrames("open-gop.avi");
    MpvPlayer& p = *player;
    EXPECT_TRUE(p.setFileName(""));
    EXPECT_EQ(p.fileName(), "");
    EXPECT_EQ(p.length(), 0);
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_EQ(p.streamFrameRate(), 0);
    EXPECT_TRUE(p.grabCurrentFrame().isNull());
    // Loading the same file again starts over at frame 0.
    ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
    ASSERT_TRUE(seekTo(p, 10));
    ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
    EXPECT_EQ(p.currentPosition(), 0);
    EXPECT_TRUE(showsFrame(p, 0));
}

// ------------------------------------------------------------ controls

TEST(MpvPlayer, PlayStopAndPauseHaltWhereTheyAre)
{
    auto player = loadedInFrames("open-gop.avi");
    MpvPlayer& p = *player;
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
    EXPECT_GT(p.currentPosition(), stoppedAt);

    // A seek while playing goes on playing from the new frame.
    p.play();
    QSignalSpy moved(&p, &MediaPlayer::positionChanged);
    ASSERT_TRUE(seekTo(p, 150));
    EXPECT_EQ(p.playState(), MediaPlayer::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.currentPosition() > 152; }, WaitMs));
    // Normal playback raises no position events.
    EXPECT_EQ(moved.count(), 1);
}

TEST(MpvPlayer, VolumeMuteAndRateReachMpv)
{
    auto player = offscreenPlayer();
    MpvPlayer& p = *player;
    p.setVolume(-600);
    EXPECT_EQ(p.volume(), -600);
    EXPECT_NEAR(p.engineProperty("volume").toDouble(), 79.4328, 1e-3);
    for (int step = 0; step < 10; ++step)
        p.setVolume(p.volume() - 250);
    EXPECT_EQ(p.volume(), -3100);
    EXPECT_NEAR(p.engineProperty("volume").toDouble(), 30.4322, 1e-3);
    p.setVolume(100);
    EXPECT_EQ(p.volume(), 0);
    p.setVolume(-50000);
    EXPECT_EQ(p.volume(), -10000);

    EXPECT_FALSE(p.mute());
    p.setMute(true);
    EXPECT_TRUE(p.mute());
    EXPECT_TRUE(p.engineProperty("mute").toBool());
    p.setMute(false);
    EXPECT_FALSE(p.engineProperty("mute").toBool());

    p.setRate(2.5);
    EXPECT_EQ(p.rate(), 2.5);
    EXPECT_EQ(p.engineProperty("speed").toDouble(), 2.5);
}

TEST(MpvPlayer, FixedOptionsAndSeekPreparationPerContainer)
{
    auto player = offscreenPlayer();
    MpvPlayer& p = *player;
    p.applyFixedOptions();
    for (const char* off : {"input-default-bindings", "input-vo-keyboard", "osc", "osd-bar"})
        EXPECT_FALSE(p.engineProperty(off).toBool()) << off;
    EXPECT_EQ(p.engineProperty("osd-level").toLongLong(), 0);
    EXPECT_TRUE(p.engineProperty("keep-open").toBool());
    EXPECT_TRUE(p.engineProperty("hr-seek").toBool());
    EXPECT_EQ(p.engineProperty("hwdec").toString(), "no");

    ASSERT_TRUE(p.setFileName(testMedia("open-gop.avi")));
    EXPECT_NEAR(p.engineProperty("hr-seek-demuxer-offset").toDouble(), 0.2, 1e-6);
    EXPECT_TRUE(p.engineProperty("pause").toBool());
    p.play();
    ASSERT_TRUE(p.setFileName(testMedia("program.mpg")));
    EXPECT_NEAR(p.engineProperty("hr-seek-demuxer-offset").toDouble(), 1.0, 1e-6);
    // Nothing starts by itself, whatever played before.
    EXPECT_TRUE(p.engineProperty("pause").toBool());
    EXPECT_EQ(p.playState(), MediaPlayer::Stopped);
}

// ------------------------------------------------------------ audio only, two players

TEST(MpvPlayer, AudioOnlyPlayerCountsSecondsAndEndsExactlyOnce)
{
    auto player = audioOnlyPlayer();
    MpvPlayer& p = *player;
    EXPECT_EQ(p.widget(), nullptr);
    ASSERT_TRUE(p.setFileName(testMedia("tone.wav")));
    EXPECT_NEAR(p.length(), 3.0, 0.05);
    EXPECT_TRUE(p.grabCurrentFrame().isNull());
    p.setPositionUnits(MediaPlayer::Frames);
    EXPECT_EQ(p.length(), 0);
    p.setPositionUnits(MediaPlayer::Seconds);

    ASSERT_TRUE(seekTo(p, 2.0));
    EXPECT_NEAR(p.currentPosition(), 2.0, 0.05);
    p.setRate(4.0);
    p.play();
    int arrivals = 0;
    double previous = p.currentPosition();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const double now = p.currentPosition();
        arrivals += now == p.length() && previous != p.length();
        previous = now;
        return p.playState() != MediaPlayer::Playing;
    }, WaitMs));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        const double now = p.currentPosition();
        arrivals += now == p.length() && previous != p.length();
        previous = now;
    }
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(p.currentPosition(), p.length());
}

TEST(MpvPlayer, TwoPlayersWorkIndependently)
{
    auto video = loadedInFrames("open-gop.avi");
    auto music = audioOnlyPlayer();
    ASSERT_TRUE(music->setFileName(testMedia("tone.mp3")));
    EXPECT_NEAR(music->length(), 3.0, 0.1);

    music->setVolume(-2000);
    video->setVolume(-600);
    video->setMute(true);
    EXPECT_FALSE(music->engineProperty("mute").toBool());
    EXPECT_NEAR(music->engineProperty("volume").toDouble(), mpvVolumeFor(-2000), 1e-4);

    music->play();
    ASSERT_TRUE(seekTo(*video, 123));
    ASSERT_TRUE(QTest::qWaitFor([&] { return music->currentPosition() > 0.3; }, WaitMs));
    EXPECT_EQ(video->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(video->currentPosition(), 123);
    EXPECT_TRUE(showsFrame(*video, 123));
    EXPECT_EQ(music->playState(), MediaPlayer::Playing);
    video->play();
    music->pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->currentPosition() > 126; }, WaitMs));
    EXPECT_EQ(music->playState(), MediaPlayer::Paused);
}

// ------------------------------------------------------------ the software picture widget

class SoftwarePicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(320, 240);
        MpvPlayer::Config config;
        config.picture = MpvPlayer::Picture::Software;
        config.audio = false;
        player = std::make_unique<MpvPlayer>(&host, config);
        host.show();
        ASSERT_TRUE(player->setFileName(testMedia("open-gop.avi")));
        player->setPositionUnits(MediaPlayer::Frames);
        view = static_cast<MpvSoftwareWidget*>(player->widget());
    }

    QImage picture() const { return view->lastPicture(); }

    QWidget host;
    std::unique_ptr<MpvPlayer> player;
    MpvSoftwareWidget* view = nullptr;
};

TEST_F(SoftwarePicture, FillsTheHostAndPlacesTheVideoInItsRectangle)
{
    EXPECT_EQ(view->geometry(), host.rect());
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(picture()) == 0; }, WaitMs));

    // A quarter-size picture off the centre: the video there, black around it.
    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    ASSERT_TRUE(seekTo(*player, 42));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(picture().copy(40, 30, 160, 120)) == 42; }, WaitMs));
    const QImage shown = picture();
    for (QPoint outside : {QPoint(20, 20), QPoint(300, 220), QPoint(250, 100), QPoint(100, 200)})
        EXPECT_EQ(qGray(shown.pixel(outside)), 0) << outside.x() << "," << outside.y();

    // Twice the window, left and top edges on the window's: the top-left
    // quarter of the video, scaled up, fills the window.
    player->setPictureRect(QRectF(0, 0, tw(640), tw(480)));
    const QImage frame = player->grabCurrentFrame().scaled(640, 480).copy(0, 0, 320, 240);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QImage now = picture();
        if (now.size() != QSize(320, 240))
            return false;
        qint64 difference = 0;
        for (int y = 4; y < 236; y += 8)
            for (int x = 4; x < 316; x += 8)
                difference += std::abs(qGray(now.pixel(x, y)) - qGray(frame.pixel(x, y)));
        return difference / (39 * 29) < 12;
    }, WaitMs));

    // The host grows: the widget follows and still shows the whole video.
    player->setPictureRect(QRectF());
    host.resize(480, 360);
    EXPECT_EQ(view->geometry(), host.rect());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QImage now = picture();
        return now.width() == 480 && frameNumberOf(now) == 42;
    }, WaitMs));
}

TEST_F(SoftwarePicture, HiddenPictureIsBlack)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(picture()) == 0; }, WaitMs));
    player->setPictureVisible(false);
    EXPECT_FALSE(player->pictureVisible());
    const QImage black = view->grab().toImage();
    EXPECT_EQ(qGray(black.pixel(160, 120)), 0);
    EXPECT_EQ(frameNumberOf(black), -1);
    player->setPictureVisible(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(view->grab().toImage()) == 0; }, WaitMs));
}

TEST_F(SoftwarePicture, KeysAndClicksComeOutAsEvents)
{
    QSignalSpy keys(player.get(), &MediaPlayer::keyPressed);
    QSignalSpy clicks(player.get(), &MediaPlayer::clicked);
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);

    QTest::keyClick(view, Qt::Key_F);
    QTest::keyClick(view, Qt::Key_F, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_EQ(keys.count(), 3);
    EXPECT_EQ(keys[0][0].toInt(), vk::A + ('F' - 'A'));
    EXPECT_EQ(keys[1][0].toInt(), vk::A + ('F' - 'A'));
    EXPECT_EQ(keys[2][0].toInt(), vk::Right);

    player->setPictureRect(QRectF(tw(40), tw(30), tw(160), tw(120)));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(100, 100));
    player->setPictureVisible(false);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(clicks.count(), 3);
    EXPECT_TRUE(clicks[0][0].toBool());
    EXPECT_FALSE(clicks[1][0].toBool());
    EXPECT_FALSE(clicks[2][0].toBool());
}

TEST_F(SoftwarePicture, PlayerGoesBeforeItsHost)
{
    QPointer<QWidget> widget = player->widget();
    player.reset();
    EXPECT_TRUE(widget.isNull());
    EXPECT_TRUE(host.children().isEmpty());
}

} // namespace
} // namespace vv

namespace vv::test {
namespace {

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
    // Real time, not as fast as the decoder can go.
    EXPECT_GE(clock.elapsed(), 300);
}

} // namespace
} // namespace vv::test
