// Marking, learning and executing entries on the real windows with the real
// libmpv player and a real clip (frame n shows n in its picture): every claim
// about a frame is read from the picture mpv shows.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "index/scene_window.h"
#include "script/slider_window.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 10000;
// The playback tick runs every 500 ms: at 25 frames per second the position
// can pass the end mark by up to 13 frames before the tick sees it; a little
// more for a busy machine.
constexpr int TickFrames = 13;
constexpr int Slack = 10;
// Frames that may play between a seek being done and a test looking.
constexpr int Latency = 12;

QByteArray lines(const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& e : entries)
        bytes += e.toLatin1() + "\r\n";
    return bytes;
}

TEST(InteractionFlow, MarkLearnLoopAndJumpFromTheGrid)
{
    QTemporaryDir temp;
    const QString video = temp.filePath(QStringLiteral("clip.avi"));
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("open-gop.avi")), video));
    FakeServices services;
    App app(services, [](QWidget* host) { return makeTestPlayer(host); });
    app.st.ProgramDir = temp.path() + QLatin1Char('/');
    app.st.SettingsFile = app.st.ProgramDir + QStringLiteral("settings.ini");
    for (int i = 0; i < 16; ++i)
        app.FormImage(i);  // created, as start-up creates them
    app.MDI().resize(800, 600);  // the marking group needs 783 pixels
    app.MDI().show();
    app.Player().show();
    app.video().applyFixedOptions();
    auto& mpv = static_cast<MpvPlayer&>(app.video());
    ControlPanel& menu = app.menu();
    ScriptListBox& list = *menu.ListSCRIPT;
    const auto shownFrame = [&] { return frameNumberOf(mpv.grabCurrentFrame()); };
    const auto settled = [&] { return QTest::qWaitFor([&] { return !mpv.seeking(); }, WaitMs); };
    const auto scriptBytes = [&] {
        QFile f(temp.filePath(QStringLiteral("clip.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto itemCentre = [&](int row) { return list.visualItemRect(list.item(row)).center(); };
    // The frame shown when each seek is done.
    QList<int> seekFrames;
    QObject::connect(&mpv, &MediaPlayer::positionChanged, &mpv, [&] { seekFrames << shownFrame(); });

    app.st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(app, video, 0);
    ASSERT_EQ(app.st.DurationFrames, 250);
    QStringList entries = {"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                           "000250-000250 JUMP End of video", "999999 NEXT VIDEO"};
    EXPECT_EQ(scriptBytes(), lines(entries));

    // A click into the video opens the panels. Halt on frame 50 and mark the
    // start there; play on and mark the end while playing.
    QTest::mouseClick(mpv.widget(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_TRUE(menu.isVisible());
    QTest::mouseClick(menu.CommandPLAY, Qt::LeftButton);
    GOTOposition(app, 50);
    ASSERT_TRUE(settled());
    ASSERT_EQ(shownFrame(), 50);
    QTest::mouseClick(menu.CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(app.st.MarkIn, 50);
    QTest::mouseClick(menu.CommandPLAY, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownFrame() >= 70; }, WaitMs));
    QTest::mouseClick(menu.CommandMarkOUT, Qt::LeftButton);
    const int end = app.st.MarkOut;
    EXPECT_NEAR(end, shownFrame(), 3);
    EXPECT_GE(end, 70);
    ASSERT_LT(end, 100);

    // LEARN: a LOOP entry, sorted in and selected, and on disk at once.
    QTest::mouseClick(menu.CommandLEARN, Qt::LeftButton);
    EXPECT_EQ(list.ListIndex(), 2);
    entries.insert(2, QStringLiteral("000050-0000%1 LOOP ").arg(end));
    EXPECT_EQ(scriptBytes(), lines(entries));

    // Executed by a double click from elsewhere, the loop holds playback:
    // it runs past the end mark and is sent back to the start mark by the
    // first tick after it, again and again. Each jump came on the first tick
    // past the end mark and landed on the start mark; so did the pictures
    // shown when the seeks were done (a few frames may have played since).
    GOTOposition(app, 200);
    ASSERT_TRUE(settled());
    seekFrames.clear();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, itemCentre(2));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, itemCentre(2));
    ASSERT_TRUE(settled());
    int jumps = 0;
    double peak = mpv.currentPosition(), last = peak;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const double p = mpv.currentPosition();
            if (p < last - 3) {
                ++jumps;
                EXPECT_GE(peak, end - Slack);
                EXPECT_LE(peak, end + TickFrames + Slack);
                EXPECT_GE(p, 50);
                EXPECT_LE(p, 50 + Latency);
                peak = p;
            }
            peak = std::max(peak, p);
            last = p;
            return jumps >= 2;
        },
        3 * WaitMs));
    EXPECT_GE(seekFrames.size(), jumps);
    for (const int frame : seekFrames) {
        EXPECT_GE(frame, 50);
        EXPECT_LE(frame, 50 + Latency);
    }
    // Halted, the picture stands inside the loop.
    QTest::mouseClick(menu.CommandPLAY, Qt::LeftButton);
    ASSERT_TRUE(settled());
    EXPECT_GE(shownFrame(), 50);
    EXPECT_LE(shownFrame(), end + TickFrames + Slack);

    // In the INTERACT grid (E) the digit 2 executes "Start of video": the
    // loop ends, playback jumps and nothing holds it any more.
    QTest::mouseClick(menu.CommandPLAY, Qt::LeftButton);
    QTest::keyClick(mpv.widget(), Qt::Key_E);
    ASSERT_EQ(app.st.ActiveMode, 6);
    seekFrames.clear();
    QTest::keyClick(&app.FormCommand(0), Qt::Key_2);
    EXPECT_EQ(app.st.MarkOut, -1);
    ASSERT_TRUE(settled());
    ASSERT_FALSE(seekFrames.isEmpty());
    EXPECT_LE(seekFrames.last(), Latency);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownFrame() >= end + TickFrames + Slack + 5; }, WaitMs));
}

} // namespace
} // namespace vv::test
