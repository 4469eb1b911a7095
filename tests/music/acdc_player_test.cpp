// The ACDC simulator with the real players (sound off): a generated concert
// video whose frames carry their numbers and generated songs. Each cut is
// proved by the frame number in the picture the video player shows.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "music/music_window.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/mediamaker.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 20000;

TEST(AcdcPlayerTest, ASimulationRunsThroughTheSongsCuttingAndFadingTheConcertVideo)
{
    // (The folder's own name must not hold the word the simulator looks for
    // in a song's path.)
    const QTemporaryDir base;
    const QString musicDir = base.path() + QStringLiteral("/music/");
    ASSERT_TRUE(QDir().mkpath(musicDir));
    FakeServices services;
    App app(services, [](QWidget* host) { return makeTestPlayer(host); });
    app.st.ProgramDir = base.path() + QLatin1Char('/');
    app.st.SettingsFile = base.path() + QStringLiteral("/settings.ini");
    app.MDI().resize(768, 576);
    app.MDI().show();
    app.Player().setGeometry(0, 0, 768, 576);
    app.Player().show();
    MediaPlayer& music = app.music();
    MediaPlayer& video = app.video();
    const auto shownFrame = [&] { return frameNumberOf(static_cast<MpvPlayer&>(video).grabCurrentFrame()); };
    const auto showsFrameFrom = [&](int first, int last) {
        return QTest::qWaitFor([&] {
            const int f = shownFrame();
            return f >= first && f <= last;
        }, WaitMs);
    };
    // Puts the song at a position and waits until it plays from there.
    const auto songAt = [&](double seconds) {
        music.setCurrentPosition(seconds);
        return QTest::qWaitFor([&] { return music.currentPosition() >= seconds; }, WaitMs);
    };
    const auto song = [&](const char* name, double seconds) {
        EXPECT_TRUE(vvmaker::makeWav((musicDir + QLatin1String(name)).toStdString(), {.seconds = seconds}));
        return musicDir + QLatin1String(name);
    };
    ASSERT_TRUE(QFile::link(testMedia(QStringLiteral("concert.avi")), musicDir + QStringLiteral("acdc-nobulls2.avi")));
    const QString first = song("Live-ACDC.wav", 30), second = song("Live-acdc-2.wav", 20), last = song("tone.wav", 2);
    app.st.MP3Dir = musicDir;
    MusicWindow& mp3 = app.FormMP3();
    mp3.INITIALIZE(musicDir);

    // Start: the concert video is loaded at the very beginning (intro 14) and
    // the entry step cuts to intro scene 1.
    services.randoms = {0.99f, 0.0f};
    mp3.select(0);
    mp3.InitializeSound(mp3.selectedPath());
    ASSERT_TRUE(app.st.ACDCactive);
    EXPECT_TRUE(showsFrameFrom(2984, 3100)) << shownFrame();
    EXPECT_EQ((std::vector{video.playState(), music.playState()}), std::vector<int>(2, MediaPlayer::Playing));
    EXPECT_EQ(video.volume(), -600);
    EXPECT_EQ(music.fileName(), first);

    // Past five seconds the music window's own tick fades the concert sound
    // out over ten ticks and cuts to action scene 1.
    services.randoms = {0.0f};
    ASSERT_TRUE(songAt(5.5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return video.mute(); }, WaitMs));
    EXPECT_EQ(video.volume(), -3100);
    EXPECT_TRUE(showsFrameFrom(3200, 3300)) << shownFrame();

    // At the end of the song (closing scene 1, then) the next one follows
    // at intro scene 1 and restores the sound.
    services.randoms = {0.0f, 0.0f};
    music.setCurrentPosition(music.length());
    ASSERT_TRUE(QTest::qWaitFor([&] { return music.fileName() == second; }, WaitMs));
    EXPECT_TRUE(!video.mute() && video.volume() == -600);
    EXPECT_TRUE(showsFrameFrom(2984, 3100)) << shownFrame();

    // Near its end the song plays out by itself; the next file has no
    // "acdc" in its name and ends the simulation.
    ASSERT_TRUE(songAt(18.5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.st.ACDCactive; }, WaitMs));
    EXPECT_EQ(music.fileName(), last);
    EXPECT_EQ(music.playState(), MediaPlayer::Playing);
}

} // namespace
} // namespace vv::test
