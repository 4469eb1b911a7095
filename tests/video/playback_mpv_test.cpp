// Loading, stepping, the end of a video and the keys, with the real libmpv
// player: every claim about a frame is read from the picture mpv shows.

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "library/video_selection_window.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/mediamaker.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 10000;
// Frames that may play between a seek being done and a test looking at it.
constexpr int Latency = 12;

class PlaybackWithMpv : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp_.isValid());
        app = std::make_unique<App>(services, [](QWidget* host) { return makeTestPlayer(host); });
        app->st.ProgramDir = dir();
        app->MDI().resize(768, 576);
        app->MDI().show();
        app->Player().show();
        app->video().applyFixedOptions();
    }
    void TearDown() override { app.reset(); }

    QString dir() const { return temp_.path() + QLatin1Char('/'); }
    QString copy(const QString& clip, const QString& name)
    {
        const QString path = dir() + name;
        EXPECT_TRUE(QFile::copy(testMedia(clip), path));
        return path;
    }
    MpvPlayer& mpv() { return static_cast<MpvPlayer&>(app->video()); }
    QString caption() { return app->menu().CommandPLAY->text(); }
    bool settled() { return QTest::qWaitFor([&] { return !mpv().seeking(); }, WaitMs); }
    int shown()
    {
        EXPECT_TRUE(settled());
        return frameNumberOf(mpv().grabCurrentFrame());
    }
    bool playing() { return mpv().playState() == MediaPlayer::Playing; }

    FakeServices services;
    std::unique_ptr<App> app;

private:
    QTemporaryDir temp_;
};

TEST_F(PlaybackWithMpv, LoadingMeasuresTheTimeBaseAndStepsLandOnTheExactFrame)
{
    const QString pal = copy(QStringLiteral("open-gop.avi"), QStringLiteral("pal.avi"));
    INITIALIZEvideo(*app, pal, 100);
    EXPECT_EQ(std::tuple(app->st.DurationFrames, app->st.DurationSeconds, app->st.FrameRate), std::tuple(250, 10, 25));
    QFile script(dir() + QStringLiteral("pal.txt"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().contains("\r\n000250-000250 JUMP End of video\r\n"));
    const int first = shown();
    EXPECT_GE(first, 100);
    EXPECT_LE(first, 100 + Latency);
    EXPECT_TRUE(playing());

    // A step while playing keeps playing.
    GOnextFRAME(*app);
    const int after = shown();
    EXPECT_GT(after, first);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(mpv().grabCurrentFrame()) > after; }, WaitMs));
    EXPECT_EQ(caption(), QStringLiteral("STOP"));

    // Halted, each step shows its exact frame and keeps the video halted.
    PLAYstop(*app);
    struct Step {
        int from;
        void (*command)(App&);
        int expected;  // the frame the picture shows
    } const steps[] = {
        {100, GOnextFRAME, 101},     {100, GOpreviousFRAME, 99}, {100, GOforward, 125},
        {100, GOrewind, 75},         {49, GOnextFRAME, 50},      {50, GOpreviousFRAME, 49},
        {100, GOfastFORWARD, 249},   {200, GOfastREWIND, 0},     {0, GOrewind, 0},
    };
    for (const Step& s : steps) {
        GOTOposition(*app, s.from);
        ASSERT_EQ(shown(), s.from);
        s.command(*app);
        EXPECT_EQ(shown(), s.expected) << "from " << s.from;
        EXPECT_FALSE(playing());
    }
    // Thirty seconds forward within thirty seconds of the end: the end.
    GOfastFORWARD(*app);
    EXPECT_TRUE(settled());
    EXPECT_EQ(app->video().currentPosition(), 250);

    INITIALIZEvideo(*app, copy(QStringLiteral("ntsc.avi"), QStringLiteral("ntsc.avi")), 0);
    EXPECT_EQ(std::tuple(app->st.DurationFrames, app->st.FrameRate), std::tuple(299, 30));
}

TEST_F(PlaybackWithMpv, TheEndOfEachVideoLoadsTheNextPlaylistVideoExactlyOnce)
{
    vvmaker::VideoSpec clip;
    clip.frames = 40;  // 1.6 s each
    clip.audio = false;
    const QStringList names = {QStringLiteral("a.avi"), QStringLiteral("b.avi"), QStringLiteral("c.avi")};
    for (const QString& name : names)
        ASSERT_TRUE(vvmaker::makeVideo((dir() + name).toStdString(), clip));
    app->st.VideoDir = dir();
    app->DATEIMENU().SCANMEDIA(dir());
    ASSERT_EQ(app->DATEIMENU().found().count(), 3);

    QElapsedTimer clock;
    clock.start();
    INITIALIZEvideo(*app, dir() + names[0], 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->st.LoadedVideo == dir() + names[1]; }, WaitMs));
    const qint64 secondStarted = clock.elapsed();
    EXPECT_GE(secondStarted, 1400);  // the first video played to its end
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->st.LoadedVideo == dir() + names[2]; }, WaitMs));
    EXPECT_GE(clock.elapsed() - secondStarted, 1400);  // so did the second, not skipped

    // The last one ends: nothing more is loaded, it stands at its end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->video().currentPosition() == 40; }, WaitMs));
    QTest::qWait(1200);
    EXPECT_EQ(app->st.LoadedVideo, dir() + names[2]);
    EXPECT_EQ(app->DATEIMENU().lstFoundFiles2->currentRow(), 2);
    EXPECT_EQ(app->video().currentPosition(), 40);
    EXPECT_EQ(caption(), QStringLiteral("STOP"));

    // A file that cannot be played, then N past the last entry: nothing is
    // loaded, nothing is meant to play, and the tick leaves the displays alone.
    INITIALIZEvideo(*app, copy(QStringLiteral("garbage.avi"), QStringLiteral("d.avi")), 0);
    LOADnextVIDEO(*app);
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());
    EXPECT_EQ(caption(), QStringLiteral("PLAY"));
    app->MessageDisplay().INITIALIZE(QStringLiteral("HELLO"), 5);
    QTest::qWait(1200);
    EXPECT_FALSE(app->MessageDisplay().isHidden());
}

TEST_F(PlaybackWithMpv, ASongInTheVideoWindowKeepsPlayingInFrames)
{
    const QString song = copy(QStringLiteral("long-tone.mp3"), QStringLiteral("song.mp3"));
    copy(QStringLiteral("closed-gop.avi"), QStringLiteral("next.avi"));
    app->st.VideoDir = dir();
    app->DATEIMENU().SCANMEDIA(dir());
    INITIALIZEvideo(*app, song, 0);
    EXPECT_NEAR(app->st.DurationFrames, 175, 1);  // seven seconds at 25 frames a second
    // The playback tick runs: the song keeps playing past five seconds.
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->video().currentPosition() > 5 * 25; }, 9000));
    EXPECT_EQ(app->st.LoadedVideo, song);
    EXPECT_TRUE(playing());
}

TEST_F(PlaybackWithMpv, KeysTypedIntoTheVideoDriveTheSameCommands)
{
    INITIALIZEvideo(*app, copy(QStringLiteral("program.mpg"), QStringLiteral("clip.mpg")), 0);
    QWidget* picture = app->video().widget();
    QTest::keyClick(picture, Qt::Key_S);
    EXPECT_EQ(caption(), QStringLiteral("PLAY"));
    for (const auto& [key, frame] : {std::pair{Qt::Key_5, 125}, {Qt::Key_F, 249}, {Qt::Key_B, 0}}) {
        QTest::keyClick(picture, key);
        EXPECT_EQ(shown(), frame) << key;
    }
    EXPECT_FALSE(playing());
    QTest::keyClick(picture, Qt::Key_R);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameNumberOf(mpv().grabCurrentFrame()) > 0; }, WaitMs));
}

} // namespace
} // namespace vv::test
