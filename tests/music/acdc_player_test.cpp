// The ACDC simulator with the real players (sound off): a generated concert
// video whose frames carry their numbers and generated songs. Each cut is
// proved by the frame number in the picture the video player shows.

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "music/acdc.h"
#include "music/music_window.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/mediamaker.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 20000;

class AcdcPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // (The folder's own name must not hold the word the simulator looks
        // for in a song's path.)
        base = freshTempDir(QStringLiteral("jukebox"));
        ASSERT_FALSE(base.isEmpty());
        musicDir = base + QStringLiteral("/music/");
        QDir().mkpath(musicDir);
        app = std::make_unique<App>(services, [](QWidget* host) { return makeTestPlayer(host); });
        app->st.ProgramDir = base + QLatin1Char('/');
        app->st.SettingsFile = base + QStringLiteral("/settings.ini");
        app->st.MP3Dir = musicDir;
        app->MDI().resize(768, 576);
        app->MDI().show();
        app->Player().setGeometry(0, 0, 768, 576);
        app->Player().show();
    }
    void TearDown() override
    {
        app.reset();
        QDir(base).removeRecursively();
    }

    QString song(const QString& name, double seconds)
    {
        const QString path = musicDir + name;
        EXPECT_TRUE(vvmaker::makeWav(path.toStdString(), {.seconds = seconds}));
        return path;
    }

    MusicWindow& mp3() { return app->FormMP3(); }
    MediaPlayer& music() { return app->music(); }
    MediaPlayer& video() { return app->video(); }
    int shownFrame() { return frameNumberOf(static_cast<MpvPlayer&>(video()).grabCurrentFrame()); }
    bool showsFrameFrom(int first, int last)
    {
        return QTest::qWaitFor([&] {
            const int f = shownFrame();
            return f >= first && f <= last;
        }, WaitMs);
    }
    // Puts the song at a position and waits until it plays from there.
    bool songAt(double seconds)
    {
        music().setCurrentPosition(seconds);
        return QTest::qWaitFor([&] { return music().currentPosition() >= seconds; }, WaitMs);
    }

    FakeServices services;
    std::unique_ptr<App> app;
    QString base;
    QString musicDir;
};

TEST_F(AcdcPlayerTest, ASimulationRunsThroughTheSongsCuttingAndFadingTheConcertVideo)
{
    ASSERT_TRUE(QFile::link(testMedia(QStringLiteral("concert.avi")), musicDir + QStringLiteral("acdc-nobulls2.avi")));
    const QString first = song(QStringLiteral("Live-ACDC.wav"), 30);
    const QString second = song(QStringLiteral("Live-acdc-2.wav"), 20);
    const QString last = song(QStringLiteral("tone.wav"), 2);
    mp3().INITIALIZE(musicDir);
    ASSERT_EQ(mp3().found().pathAt(1), second);

    // Start: the concert video is loaded at the very beginning (intro 14) and
    // the entry step cuts to intro scene 1.
    services.randoms = {0.99f, 0.0f};
    mp3().select(0);
    mp3().InitializeSound(mp3().selectedPath());
    ASSERT_TRUE(app->st.ACDCactive);
    EXPECT_EQ(app->st.LoadedVideo, musicDir + QStringLiteral("acdc-nobulls2.avi"));
    EXPECT_TRUE(showsFrameFrom(2984, 3100)) << shownFrame();
    EXPECT_EQ(video().playState(), MediaPlayer::Playing);
    EXPECT_EQ(video().volume(), -600);
    EXPECT_EQ(music().fileName(), first);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);

    // Past five seconds the music window's own tick fades the concert sound
    // out over ten ticks and cuts to action scene 1.
    services.randoms = {0.0f};
    ASSERT_TRUE(songAt(5.5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return video().mute(); }, WaitMs));
    EXPECT_EQ(video().volume(), -3100);
    EXPECT_TRUE(showsFrameFrom(3200, 3300)) << shownFrame();

    // At the end of the song (closing scene 1, then) the next one follows
    // at intro scene 1 and restores the sound.
    services.randoms = {0.0f, 0.0f};
    music().setCurrentPosition(music().length());
    ASSERT_TRUE(QTest::qWaitFor([&] { return music().fileName() == second; }, WaitMs));
    EXPECT_FALSE(video().mute());
    EXPECT_EQ(video().volume(), -600);
    EXPECT_TRUE(showsFrameFrom(2984, 3100)) << shownFrame();

    // Near its end the song plays out by itself; the next file has no
    // "acdc" in its name and ends the simulation.
    ASSERT_TRUE(songAt(18.5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->st.ACDCactive; }, WaitMs));
    EXPECT_EQ(music().fileName(), last);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
}

} // namespace
} // namespace vv::test
