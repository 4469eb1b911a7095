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
#include "script/text_entry_dialog.h"
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

class InteractionFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString clip = testMedia(QStringLiteral("open-gop.avi"));
        ASSERT_FALSE(clip.isEmpty());
        ASSERT_TRUE(temp_.isValid());
        video = temp_.path() + QStringLiteral("/clip.avi");
        ASSERT_TRUE(QFile::copy(clip, video));
        scriptPath = temp_.path() + QStringLiteral("/clip.txt");

        app = std::make_unique<App>(services, [](QWidget* host) { return makeTestPlayer(host); });
        app->st.ProgramDir = temp_.path() + QLatin1Char('/');
        app->st.SettingsFile = app->st.ProgramDir + QStringLiteral("settings.ini");
        for (int i = 0; i < 16; ++i)
            app->FormImage(i);  // created, as start-up creates them
        MainWindow& mdi = app->MDI();
        mdi.resize(800, 600);  // the marking group needs 783 pixels
        mdi.show();
        app->Player().show();
        app->video().applyFixedOptions();
    }
    void TearDown() override { app.reset(); }

    void load()
    {
        app->st.CurrentVideo = QStringLiteral("clip");
        INITIALIZEvideo(*app, video, 0);
        ASSERT_EQ(app->st.LoadedVideo, video);
        ASSERT_EQ(app->st.DurationFrames, 250);
        ASSERT_TRUE(app->Player().Timer1.isActive());
    }

    MpvPlayer& mpv() { return static_cast<MpvPlayer&>(app->video()); }
    ControlPanel& menu() { return app->menu(); }
    ScriptListBox& list() { return *menu().ListSCRIPT; }
    int shownFrame() { return frameNumberOf(mpv().grabCurrentFrame()); }
    double position() { return app->video().currentPosition(); }
    bool settled() { return QTest::qWaitFor([&] { return !mpv().seeking(); }, WaitMs); }
    QByteArray scriptBytes()
    {
        QFile f(scriptPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray lines(const QStringList& entries)
    {
        QByteArray bytes;
        for (const QString& e : entries)
            bytes += e.toLatin1() + "\r\n";
        return bytes;
    }
    // The new script with one more entry at 2.
    QStringList freshWith(const QString& entry) const
    {
        QStringList entries = fresh;
        entries.insert(2, entry);
        return entries;
    }
    QPoint itemCentre(int row) { return list().visualItemRect(list().item(row)).center(); }

    // Follows the position (sampled: grabbing the picture each time would be
    // too slow) until playback has jumped back `jumps` times. Each jump came
    // on the first tick past the end mark and landed on the start mark; so
    // did the pictures shown when the seeks were done (taken a moment later:
    // a few frames may have played on since).
    void expectLoopHolds(int jumps, int in, int out)
    {
        int seen = 0;
        double peak = position();
        double last = peak;
        const bool done = QTest::qWaitFor(
            [&] {
                const double p = position();
                if (p < last - 3) {
                    ++seen;
                    EXPECT_GE(peak, out - Slack);
                    EXPECT_LE(peak, out + TickFrames + Slack);
                    EXPECT_GE(p, in);
                    EXPECT_LE(p, in + Latency);
                    peak = p;
                }
                peak = std::max(peak, p);
                last = p;
                return seen >= jumps;
            },
            3 * WaitMs);
        EXPECT_TRUE(done) << "saw " << seen << " jumps back";
        EXPECT_GE(seekFrames.size(), seen);
        for (const int frame : seekFrames) {
            EXPECT_GE(frame, in);
            EXPECT_LE(frame, in + Latency);
        }
    }
    // Records the frame shown when each seek is done.
    void recordSeekFrames()
    {
        QObject::connect(&mpv(), &MediaPlayer::positionChanged, &mpv(), [this] { seekFrames << shownFrame(); });
    }

    FakeServices services;
    std::unique_ptr<App> app;
    QString video;
    QString scriptPath;
    QList<int> seekFrames;
    const QStringList fresh = {"!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
                               "000250-000250 JUMP End of video", "999999 NEXT VIDEO"};

private:
    QTemporaryDir temp_;
};

TEST_F(InteractionFlow, MarkPlayMarkLearnDescribeAndDelete)
{
    load();
    EXPECT_EQ(scriptBytes(), lines(fresh));

    // A click into the video opens the panels.
    QTest::mouseClick(mpv().widget(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_TRUE(menu().isVisible());

    // Halt on frame 50 and mark the start there.
    QTest::mouseClick(menu().CommandPLAY, Qt::LeftButton);
    GOTOposition(*app, 50);
    ASSERT_TRUE(settled());
    ASSERT_EQ(shownFrame(), 50);
    QTest::mouseClick(menu().CommandMarkIN, Qt::LeftButton);
    EXPECT_EQ(app->st.MarkIn, 50);

    // Play on and mark the end while playing.
    QTest::mouseClick(menu().CommandPLAY, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownFrame() >= 70; }, WaitMs));
    QTest::mouseClick(menu().CommandMarkOUT, Qt::LeftButton);
    const int end = app->st.MarkOut;
    EXPECT_NEAR(end, shownFrame(), 3);
    EXPECT_GE(end, 70);
    ASSERT_LT(end, 100);

    // LEARN: a LOOP entry, sorted in and selected, and on disk at once.
    QTest::mouseClick(menu().CommandLEARN, Qt::LeftButton);
    const QString learned = QStringLiteral("000050-0000%1 LOOP ").arg(end);
    EXPECT_EQ(list().ListIndex(), 2);
    EXPECT_TRUE(list().item(2)->isSelected());
    EXPECT_EQ(scriptBytes(), lines(freshWith(learned)));

    // The right button edits its description.
    QTest::mousePress(list().viewport(), Qt::RightButton, {}, itemCentre(2));
    TextEntryDialog& dialog = app->FormTexteingabe();
    ASSERT_TRUE(dialog.isVisible());
    QTest::keyClicks(dialog.Text1, QStringLiteral("Refrain"));
    QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(scriptBytes(), lines(freshWith(learned + QStringLiteral("Refrain"))));

    // DEL removes it again.
    QTest::mouseClick(menu().CommandDELETE, Qt::LeftButton);
    EXPECT_EQ(scriptBytes(), lines(fresh));
}

TEST_F(InteractionFlow, LoopsExecutedByDoubleClickOrDigitKeyHoldPlaybackBetweenTheirMarks)
{
    QStringList entries = freshWith(QStringLiteral("000100-000130 LOOP Refrain"));
    entries.insert(3, QStringLiteral("000150-000175 LOOP Solo"));
    QFile script(scriptPath);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(lines(entries));
    script.close();
    load();
    menu().INITIALIZE();
    GOTOposition(*app, 200);
    ASSERT_TRUE(settled());

    recordSeekFrames();
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, itemCentre(2));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, itemCentre(2));
    EXPECT_EQ(app->st.MarkIn, 100);
    EXPECT_EQ(app->st.MarkOut, 130);
    ASSERT_TRUE(settled());
    ASSERT_EQ(seekFrames.size(), 1);

    // Playback runs past the end mark and is sent back to the start mark by
    // the first tick after it, again and again.
    expectLoopHolds(2, 100, 130);

    // Halted, the picture stands inside the loop.
    QTest::mouseClick(menu().CommandPLAY, Qt::LeftButton);
    ASSERT_TRUE(settled());
    const int halted = shownFrame();
    EXPECT_GE(halted, 100);
    EXPECT_LE(halted, 130 + TickFrames + Slack);
    QTest::mouseClick(menu().CommandPLAY, Qt::LeftButton);

    // E opens the INTERACT grid; the digit of a window executes its loop.
    QTest::keyClick(mpv().widget(), Qt::Key_E);
    ASSERT_EQ(app->st.ActiveMode, 6);
    ASSERT_EQ(app->FormCommand(3).Label1->text(), QStringLiteral("4. Solo"));
    seekFrames.clear();
    QTest::keyClick(&app->FormCommand(0), Qt::Key_4);
    EXPECT_EQ(app->st.MarkIn, 150);
    EXPECT_EQ(app->st.MarkOut, 175);
    EXPECT_EQ(app->st.ActiveMode, 6);  // rebuilt
    EXPECT_FALSE(app->FormCommand(3).Shape1->isHidden());
    expectLoopHolds(1, 150, 175);

    // A click on "Start of video" ends the loop and jumps.
    seekFrames.clear();
    QTest::mouseClick(app->FormCommand(1).Label1, Qt::LeftButton);
    EXPECT_EQ(app->st.MarkOut, -1);
    ASSERT_TRUE(settled());
    ASSERT_FALSE(seekFrames.isEmpty());
    EXPECT_LE(seekFrames.last(), Latency);
    // Nothing holds playback any more.
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownFrame() >= 20; }, WaitMs));
}

} // namespace
} // namespace vv::test
