// The transport commands and the keys that drive them, and crazy vision, on the fake player.
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "control/control_panel.h"
#include "control/crazy_vision.h"
#include "control/key_dispatcher.h"
#include "control/key_help.h"
#include "control/transport.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

class TransportTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0), 0);
    }
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(player().widget(), key, modifiers);
    }
    ControlPanel& menu() { return app->menu(); }
};

TEST_F(TransportTest, CommandsAndKeysOfThePictureTheVideoListThePanelAndTheHelp)
{
    // text "-": nothing shown; timeSeconds: the time code's countdown, 0 when not looked at; playing:
    // after the row, with the PLAY button's caption and the tick to match.
    struct Row {
        void (*command)(App&);  // nullptr: the key is typed into the picture
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        int timeSeconds;
        double from, to;
        bool playing;
    } const rows[] = {
        {GOnextFRAME, {}, {}, "NEXT FRAME", 5, 500, 501, true},
        {GOpreviousFRAME, {}, {}, "PREVIOUS FRAME", 3, 500, 499, true},
        {GOforward, {}, {}, "FORWARD", 3, 500, 525, true}, {GOrewind, {}, {}, "REWIND", 3, 500, 475, true},
        {GOfastFORWARD, {}, {}, "FAST FORWARD", 3, 500, 1000, true},  // clamped at the end
        {GOfastREWIND, {}, {}, "FAST REWIND", 3, 500, 0, true},
        // Shift and Control are ignored.
        {nullptr, Qt::Key_F, Qt::ShiftModifier, "FAST FORWARD", 3, 100, 850, true},
        {nullptr, Qt::Key_9, {}, "JUMP INDEX 9", 0, 0, 900, true},
        {nullptr, Qt::Key_0, {}, "JUMP START", 0, 321, 0, true},
        {nullptr, Qt::Key_Plus, Qt::KeypadModifier, "SPEED 1.1 x", 0, 7, 7, true},
        {nullptr, Qt::Key_Minus, Qt::KeypadModifier, "SPEED 1.0 x", 0, 7, 7, true},
        // One O takes back one I, then the zoom is held at 100; the pad's 5 (Clear without NumLock)
        // zooms without a text.
        {nullptr, Qt::Key_I, {}, "ZOOM 105%", 0, 7, 7, true},
        {nullptr, Qt::Key_O, {}, "ZOOM 100%", 0, 7, 7, true},
        {nullptr, Qt::Key_Clear, Qt::KeypadModifier, "-", 0, 7, 7, true},
        // R starts only a halted video, S halts only a playing one; steps keep it halted.
        {nullptr, Qt::Key_R, {}, "-", 0, 7, 7, true}, {nullptr, Qt::Key_S, {}, "STOP", 0, 7, 7, false},
        {nullptr, Qt::Key_S, {}, "-", 0, 7, 7, false}, {GOnextFRAME, {}, {}, "NEXT FRAME", 5, 10, 11, false},
        {nullptr, Qt::Key_R, {}, "PLAY", 0, 7, 7, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " from " << row.from);
        player().setFramePosition(row.from);
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        app->st.TimeDisplayCountdown = 0;
        row.command ? row.command(*app) : type(row.key, row.modifiers);
        EXPECT_EQ(std::tuple(player().framePosition(), infoText(), app->st.TimeDisplayCountdown,
                             player().playState() == MediaPlayer::Playing, app->Player().Timer1.isActive(),
                             menu().CommandPLAY->text()),
                  std::tuple(row.to, QString::fromLatin1(row.text), row.timeSeconds, row.playing, row.playing,
                             QString::fromLatin1(row.playing ? "STOP" : "PLAY")));
    }
    EXPECT_EQ(std::tuple(app->st.ZoomPercent, player().rate()), std::tuple(101, 1.0));

    // Jump index takes the odd scene pictures.
    for (int k = 0; k < 16; ++k)
        app->FormImage(k).INITIALIZEquick(k * 62);
    JUMPindex(*app, 3);
    EXPECT_EQ(player().framePosition(), 5 * 62);
    EXPECT_FALSE(app->FormImage(5).Shape1->isHidden());

    // The video list, the panel's buttons and the help pass keys on.
    type(Qt::Key_Escape);
    QListWidget* list = app->DATEIMENU().lstFoundFiles2;
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_9);
    EXPECT_EQ(player().framePosition(), 900);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(app->DATEIMENU().isVisible());
    menu().INITIALIZE();
    player().setFramePosition(100);
    QTest::keyClick(menu().CommandPLAY, Qt::Key_F);
    QTest::keyClick(menu().CommandSETUP, Qt::Key_B);  // not one of them
    EXPECT_EQ(player().framePosition(), 850);
    type(Qt::Key_F1);  // the key help: a plain message box
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(std::pair(services.boxes[0].text, services.boxes[0].icon),
              std::pair(keyboardHelpText(), Services::Icon::None));

    addVideo(QStringLiteral("other.avi"));
    scanVideos();  // clip, other; the first entry is selected
    type(Qt::Key_N);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    type(Qt::Key_P);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("clip.avi"));
    player().setFileName(QString());  // PLAY with nothing loaded loads the next video
    menu().CommandPLAY->setText(QStringLiteral("PLAY"));
    CommandPLAY_Click(*app);
    EXPECT_EQ(std::tuple(app->st.LoadedVideo, menu().CommandPLAY->text()),
              std::tuple(dir() + QStringLiteral("other.avi"), QStringLiteral("STOP")));

    INITIALIZEvideo(*app, writeFile(QStringLiteral("missing.avi"), QByteArray("x")), 0);  // unloads, then fails
    // Nothing to jump to, select or navigate without a video.
    for (void (*command)(App&) : {+[](App& a) { JUMPindex(a, 1); }, &SELECTindex, &SHOWnavigation}) {
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        command(*app);
        EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    }

    // Thirty seconds are computed wide at high frame rates.
    INITIALIZEvideo(*app, addVideo(QStringLiteral("fast.avi"), 400000, 200.0, 2000.0), 0);
    player().setFramePosition(1000);
    GOfastFORWARD(*app);
    EXPECT_EQ(player().framePosition(), 61000);
}

// Crazy vision on the fake player: the switch, the motion loop step by step, and the loop living
// together with playback, the timers and the keys.
class CrazyVisionTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        // A video window of 768 x 576 pixels, 11520 x 8640 twips, whatever frame the platform puts
        // around the main window.
        app->Player().setGeometry(0, 0, 768, 576);
        std::int16_t hundred = 100;
        SIZEvideo(*app, hundred, 1);
    }

    // Switches crazy vision on with the given draws and calls atStep(n) after step n (counting from 1)
    // of the motion loop. Returns the zoom after every step; the switch's first call has returned by then.
    std::vector<std::int16_t> run(std::vector<float> draws, const std::function<void(int)>& atStep)
    {
        services.randoms.assign(draws.begin(), draws.end());
        std::vector<std::int16_t> samples;
        const long long startMs = services.eventTimeMs;
        long long seenMs = startMs;
        QTimer watcher;  // a zero-time timer: once per pass of the event loop
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (services.eventTimeMs == seenMs)
                return;  // no step since the last pass
            seenMs = services.eventTimeMs;
            samples.push_back(app->st.ZoomPercent);
            atStep(static_cast<int>(samples.size()));
            if (samples.size() > 500)
                app->st.motionstop = true;  // a loop that does not end: stopped, and the sizes fail
        });
        watcher.start(0);
        CRAZYvisionSWITCH(*app);
        EXPECT_EQ(static_cast<long long>(samples.size()) * CrazyStepMilliseconds, services.eventTimeMs - startMs)
            << "a step went unseen";
        return samples;
    }
    void expectReset()
    {
        EXPECT_EQ(std::tuple(app->st.crazyvision, infoText(), app->st.ZoomPercent, player().pictureRect(),
                             app->SETUP().LabelZoomFaktor->text()),
                  std::tuple(0, QStringLiteral("CRAZY VISION OFF"), 100, QRectF(0, 0, 11520, 8640),
                             QStringLiteral("100 %")));
    }
};

TEST_F(CrazyVisionTest, MotionsRunToTheirEndTheZoomButtonsAndCEndTheLoopAndPlaybackTicksGoOn)
{
    // Drift in from 150 by 15 up to 300 (11 steps), then a drift that would go further in but is turned
    // outwards above 200: 300 down to 150 by 6 (26 steps). Switched off at step 16, inside the second
    // motion, as a second press of C would.
    app->menu().INITIALIZE();
    QString shownAtFirstStep;
    const std::vector<std::int16_t> samples = run({0.0f, 0.95f, 0.0f, 0.0f, 0.0f, 0.0f}, [&](int step) {
        if (step == 1 && !app->menu().isVisible() && app->InfoDisplay().isVisible())
            shownAtFirstStep = infoText();  // the announcement outlives the closing of the overlays
        if (step == 16)
            CRAZYvisionSWITCH(*app);
    });
    EXPECT_EQ(shownAtFirstStep, QStringLiteral("CRAZY VISION ON"));
    ASSERT_EQ(samples.size(), 37u);
    EXPECT_EQ(std::tuple(samples.at(10), samples.back()), std::tuple(300, 150));
    // No third motion was drawn: the flag is looked at between motions only.
    EXPECT_EQ(std::tuple(services.randomDraws, services.randomizeCalls, app->st.motionstop), std::tuple(6, 1, true));
    expectReset();
    // "CRAZY VISION OFF" stands on the reset picture's corner, inside the window.
    EXPECT_EQ(app->InfoDisplay().pos(), QPoint(0, 0));

    // Three single-step drifts; the setup dialog's "+" is released during the second: the loop ends,
    // the picture stays as it is, and the next use (here the panel's button) takes the off path at once.
    const auto release = [&](int step) {
        if (step == 2)
            emit app->SETUP().CommandBigger->released();
    };
    EXPECT_EQ(run({0, 0, 0.504f, 0, 0, 0.504f, 0, 0, 0.504f}, release).size(), 2u);
    // Each switching on seeds the generator again.
    EXPECT_EQ(std::tuple(services.randomizeCalls, app->st.crazyvision, app->st.ZoomPercent), std::tuple(2, 1, 150));
    const int draws = services.randomDraws;
    app->menu().CommandCRAZY->setEnabled(true);  // enabled once a video is loaded
    app->menu().CommandCRAZY->click();
    EXPECT_EQ(services.randomDraws, draws);
    expectReset();

    // The loop leaves room for the playback tick and for keys: each tick shows the position it found,
    // and C ends the loop.
    INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 100000, 4000.0, 25.0), 0);
    app->Player().Timer1.start(0);  // a tick at every pass of the event loop
    QStringList shownAtTicks;
    QObject::connect(&app->Player().Timer1, &QTimer::timeout, &app->Player(), [&] {
        if (app->st.crazyvision == 1)
            shownAtTicks << app->TimeDisplay().caption();
    });
    run({}, [&](int step) {
        player().advance(1);  // "playback" moves on by a frame a step
        if (step == 3)
            QTest::keyClick(player().widget(), Qt::Key_C);
    });
    ASSERT_GE(shownAtTicks.size(), 2);
    EXPECT_NE(shownAtTicks.at(0), shownAtTicks.at(1)) << "the time code did not advance";
    EXPECT_EQ(std::tuple(app->st.crazyvision, app->st.ZoomPercent), std::tuple(0, 100));
}

} // namespace
} // namespace vv::test
