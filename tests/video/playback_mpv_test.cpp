// Loading, stepping, the end of a video, the keys and a learned loop, with the
// real libmpv player and real clips (frame n shows n in its picture): every
// claim about a frame is read from the picture mpv shows.

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
#include "index/scene_window.h"
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
    QByteArray readScript(const QString& name)
    {
        QFile f(dir() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    FakeServices services;
    std::unique_ptr<App> app;

private:
    QTemporaryDir temp_;
};

// The end of each video loads the next playlist video exactly once; a song in the video window keeps
// playing in frames.
TEST_F(PlaybackWithMpv, EachEndLoadsTheNextVideoOnceAndStepsMarksAndLoopsLandOnTheirFrames)
{
    vvmaker::VideoSpec clip;
    clip.frames = 40;  // 1.6 s each
    clip.audio = false;
    const QStringList names = {dir() + QStringLiteral("a.avi"), dir() + QStringLiteral("b.avi"),
                               dir() + QStringLiteral("c.avi")};
    for (const QString& name : names)
        ASSERT_TRUE(vvmaker::makeVideo(name.toStdString(), clip));
    app->st.VideoDir = dir();
    app->DATEIMENU().SCANMEDIA(dir());
    QElapsedTimer clock;
    clock.start();
    INITIALIZEvideo(*app, names[0], 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->st.LoadedVideo == names[1]; }, WaitMs));
    const qint64 secondStarted = clock.elapsed();
    EXPECT_GE(secondStarted, 1400);  // the first video played to its end
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->st.LoadedVideo == names[2]; }, WaitMs));
    EXPECT_GE(clock.elapsed() - secondStarted, 1400);  // so did the second, not skipped

    // The last one ends: nothing more is loaded, it stands at its end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->video().currentPosition() == 40; }, WaitMs));
    QTest::qWait(1200);
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, app->DATEIMENU().lstFoundFiles2->currentRow(),
                         app->video().currentPosition(), caption()),
              std::tuple(names[2], 2, 40.0, QStringLiteral("STOP")));

    // A file that cannot be played, then N past the last entry: nothing is loaded, nothing is meant
    // to play, and the tick leaves the displays alone.
    INITIALIZEvideo(*app, copy(QStringLiteral("garbage.avi"), QStringLiteral("d.avi")), 0);
    LOADnextVIDEO(*app);
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, caption()), std::tuple(QString(), QStringLiteral("PLAY")));
    app->MessageDisplay().INITIALIZE(QStringLiteral("HELLO"), 5);
    QTest::qWait(1200);
    EXPECT_FALSE(app->MessageDisplay().isHidden());

    // The playback tick runs for a song too: it plays on past five of its seven seconds, not
    // replaced by the next video.
    const QString song = copy(QStringLiteral("long-tone.mp3"), QStringLiteral("song.mp3"));
    app->DATEIMENU().select(0);
    INITIALIZEvideo(*app, song, 0);
    EXPECT_NEAR(app->st.DurationFrames, 175, 1);  // at 25 frames a second
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->video().currentPosition() > 5 * 25; }, 9000));
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, playing()), std::tuple(song, true));

    // Loading measures the time base; steps, marks and loops land on the exact frame.
    // The playback tick runs every 500 ms: at 25 frames per second the position can pass the end mark
    // by up to 13 frames before the tick sees it; a little more for a busy machine.
    constexpr int TickFrames = 13, Slack = 10;
    for (int i = 0; i < 16; ++i)
        app->FormImage(i);  // created, as start-up creates them
    app->MDI().resize(800, 600);  // the marking group needs 783 pixels
    ControlPanel& menu = app->menu();
    ScriptListBox& list = *menu.ListSCRIPT;
    const auto shownFrame = [&] { return frameNumberOf(mpv().grabCurrentFrame()); };
    const auto itemCentre = [&](int row) { return list.visualItemRect(list.item(row)).center(); };
    QList<int> seekFrames;  // the frame shown when each seek is done
    QObject::connect(&mpv(), &MediaPlayer::positionChanged, &mpv(), [&] { seekFrames << shownFrame(); });
    app->st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(*app, copy(QStringLiteral("open-gop.avi"), QStringLiteral("clip.avi")), 100);
    EXPECT_EQ(std::tuple(app->st.DurationFrames, app->st.DurationSeconds, app->st.FrameRate), std::tuple(250, 10, 25));
    const int first = shown();
    EXPECT_TRUE(first >= 100 && first <= 100 + Latency) << first;
    GOnextFRAME(*app);  // a step while playing keeps playing
    const int after = shown();
    EXPECT_TRUE(after > first && QTest::qWaitFor([&] { return shownFrame() > after; }, WaitMs)) << after;

    // Halted, each step shows its exact frame and keeps the video halted.
    PLAYstop(*app);
    using Command = void (*)(App&);
    for (const auto& [from, command, expected] : std::initializer_list<std::tuple<int, Command, int>>{
             {100, GOnextFRAME, 101}, {100, GOpreviousFRAME, 99}, {100, GOforward, 125},
             {100, GOrewind, 75}, {49, GOnextFRAME, 50}, {50, GOpreviousFRAME, 49},
             {100, GOfastFORWARD, 249}, {200, GOfastREWIND, 0}, {0, GOrewind, 0}}) {
        GOTOposition(*app, from);
        ASSERT_EQ(shown(), from);
        command(*app);
        EXPECT_EQ(std::pair(shown(), playing()), std::pair(expected, false)) << "from " << from;
    }

    // A click into the video opens the panels. Mark the start on frame 50 while halted; play on and
    // mark the end while playing.
    QTest::mouseClick(mpv().widget(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_TRUE(menu.isVisible());
    GOTOposition(*app, 50);
    ASSERT_EQ(shown(), 50);
    QTest::mouseClick(menu.CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(app->st.MarkIn, 50);
    QTest::mouseClick(menu.CommandPLAY, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownFrame() >= 70; }, WaitMs));
    QTest::mouseClick(menu.CommandMarkOUT, Qt::LeftButton);
    const int end = app->st.MarkOut;
    EXPECT_NEAR(end, shownFrame(), 3);
    ASSERT_TRUE(end >= 70 && end < 100) << end;

    // LEARN: a LOOP entry, sorted in and on disk at once.
    QTest::mouseClick(menu.CommandLEARN, Qt::LeftButton);
    EXPECT_TRUE(readScript(QStringLiteral("clip.txt"))
                    .contains(QStringLiteral("Start of video\r\n000050-0000%1 LOOP \r\n000250").arg(end).toLatin1()));

    // Executed by a double click from elsewhere, the loop holds playback: it runs past the end mark
    // and is sent back to the start mark by the first tick after it, again and again. Each jump came
    // on the first tick past the end mark and landed on the start mark; so did the pictures shown
    // when the seeks were done (a few frames may have played since).
    GOTOposition(*app, 200);
    ASSERT_TRUE(settled());
    seekFrames.clear();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, itemCentre(2));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, itemCentre(2));
    ASSERT_TRUE(settled());
    int jumps = 0;
    double peak = mpv().currentPosition(), last = peak;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const double p = mpv().currentPosition();
            if (p < last - 3) {
                ++jumps;
                EXPECT_TRUE(peak >= end - Slack && peak <= end + TickFrames + Slack) << peak;
                EXPECT_TRUE(p >= 50 && p <= 50 + Latency) << p;
                peak = p;
            }
            peak = std::max(peak, p);
            last = p;
            return jumps >= 2;
        },
        3 * WaitMs));
    EXPECT_GE(seekFrames.size(), jumps);
    for (const int frame : seekFrames)
        EXPECT_TRUE(frame >= 50 && frame <= 50 + Latency) << frame;
}

} // namespace
} // namespace vv::test
