// Crazy vision on the fake player: the switch, the motion loop step by step,
// and the loop living together with playback, the timers and the keys.

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>

#include "app/main_window.h"
#include "app/program_services.h"
#include "control/control_panel.h"
#include "control/crazy_vision.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"
#include "video/timecode.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

class CrazyVisionTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        // A video window of 768 x 576 pixels, 11520 x 8640 twips, whatever
        // frame the platform puts around the main window.
        app->Player().setGeometry(0, 0, 768, 576);
        std::int16_t hundred = 100;
        SIZEvideo(*app, hundred, 1);
    }

    // Switches crazy vision on with the given draws; after step number
    // offAtStep (counting from 1) it is switched off again from inside the
    // loop, as a second press of C would. Returns the zoom after every
    // step; the switch's first call has returned by then.
    std::vector<std::int16_t> run(std::vector<float> draws, int offAtStep,
                            const std::function<void(int)>& atStep = {})
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
            const int step = static_cast<int>(samples.size());
            if (atStep)
                atStep(step);
            if (step == offAtStep)
                CRAZYvisionSWITCH(*app);
            if (step > 500) {
                ADD_FAILURE() << "the loop does not end";
                app->st.motionstop = true;
                app->st.crazyvision = 0;
            }
        });
        watcher.start(0);
        CRAZYvisionSWITCH(*app);
        EXPECT_EQ(static_cast<long long>(samples.size()) * CrazyStepMilliseconds, services.eventTimeMs - startMs)
            << "a step went unseen";
        return samples;
    }

    // Runs of zoom values: count values from `from` on by `step`.
    static std::vector<std::int16_t> counted(std::initializer_list<std::array<int, 3>> runs)
    {
        std::vector<std::int16_t> z;
        for (const auto& [from, step, count] : runs)
            for (int i = 0; i < count; ++i)
                z.push_back(static_cast<std::int16_t>(from + i * step));
        return z;
    }

    void expectReset()
    {
        EXPECT_EQ(app->st.ZoomPercent, 100);
        EXPECT_EQ(player().pictureRect(), QRectF(0, 0, 11520, 8640));
        EXPECT_EQ(app->SETUP().LabelZoomFaktor->text(), QStringLiteral("100 %"));
    }
};

TEST_F(CrazyVisionTest, AMotionSwitchedOffHalfwayRunsToItsEndAndDriftsStayAtOrAboveHundred)
{
    // Drift in from 150 by 15 up to 300 (11 steps), then a drift that would
    // go further in but is turned outwards above 200: 300 down to 150 by 6
    // (26 steps). Switched off at step 16, inside the second motion.
    app->menu().INITIALIZE();
    QString shownAtFirstStep;
    const std::vector<std::int16_t> samples = run({0.0f, 0.95f, 0.0f, 0.0f, 0.0f, 0.0f}, 16, [&](int step) {
        if (step == 1 && !app->menu().isVisible() && app->InfoDisplay().isVisible())
            shownAtFirstStep = infoText();  // the announcement outlives the closing of the overlays
    });
    EXPECT_EQ(shownAtFirstStep, QStringLiteral("CRAZY VISION ON"));
    EXPECT_EQ(samples, counted({{150, 15, 11}, {300, -6, 26}}));
    // No third motion was drawn: the flag is looked at between motions only.
    EXPECT_EQ(services.randomDraws, 6);
    EXPECT_EQ(services.randomizeCalls, 1);

    EXPECT_EQ(app->st.crazyvision, 0);
    EXPECT_TRUE(app->st.motionstop);
    expectReset();
    // "CRAZY VISION OFF" stands on the reset picture's corner, inside the window.
    EXPECT_EQ(infoText(), QStringLiteral("CRAZY VISION OFF"));
    EXPECT_EQ(app->InfoDisplay().pos(), QPoint(0, 0));

    // 150 down by 15 towards 4: the steps below 100 are held at 100. Each
    // switching on seeds the generator again.
    const std::vector<std::int16_t> down = run({0.3f, 0.95f, 0.99f}, 1);
    EXPECT_EQ(down, (std::vector<std::int16_t>{150, 135, 120, 105, 100, 100, 100, 100, 100, 100}));
    expectReset();
    EXPECT_EQ(services.randomizeCalls, 2);
}

TEST_F(CrazyVisionTest, ReleasingAZoomButtonEndsTheLoopAndTheNextSwitchTurnsTheModeOff)
{
    // Three single-step drifts; the setup dialog's "+" is released during
    // the second.
    const std::vector<std::int16_t> samples =
        run({0.0f, 0.0f, 0.504f, 0.0f, 0.0f, 0.504f, 0.0f, 0.0f, 0.504f}, -1, [&](int step) {
            if (step == 2)
                emit app->SETUP().CommandBigger->released();
        });
    EXPECT_EQ(samples.size(), 2u);
    EXPECT_EQ(app->st.crazyvision, 1);
    EXPECT_EQ(app->st.ZoomPercent, 150);  // the picture stays as it is

    // The next use (here the panel's button) takes the off path at once:
    // no loop, no draws.
    const int draws = services.randomDraws;
    app->menu().CommandCRAZY->setEnabled(true);  // enabled once a video is loaded
    app->menu().CommandCRAZY->click();
    EXPECT_EQ(services.randomDraws, draws);
    EXPECT_EQ(app->st.crazyvision, 0);
    EXPECT_EQ(infoText(), QStringLiteral("CRAZY VISION OFF"));
    expectReset();
}

// The program's own pacing and timers; a dialog would block the test, so any
// attempt to show one fails it instead.
class PacedServices : public ProgramServices {
public:
    void messageBox(const QString& text, Icon, const QString&) override
    {
        ADD_FAILURE() << "message box: " << text.toStdString();
    }
    QString selectDirectory(const QString&, const QString&) override
    {
        ADD_FAILURE() << "directory chooser";
        return QString();
    }
};

// The loop must leave room for the playback tick and for keys.
TEST(CrazyVisionProgramTest, PlaybackTicksGoOnWhileTheLoopRunsAndCEndsIt)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString dir = temp.path() + QLatin1Char('/');
    const QString video = dir + QStringLiteral("clip.avi");
    ASSERT_TRUE(QFile(video).open(QIODevice::WriteOnly));
    FakeCatalogue catalogue;
    catalogue[video] = FakeMedia{100000, 4000.0, 25.0};
    PacedServices services;
    App app(services, [&catalogue](QWidget* host) {
        return std::unique_ptr<MediaPlayer>(new FakePlayer(host, &catalogue));
    });
    services.attach(&app);
    app.st.ProgramDir = dir;
    app.st.SettingsFile = dir + QStringLiteral("settings.ini");
    app.MDI().resize(768, 576);
    app.MDI().show();
    app.Player().show();
    INITIALIZEvideo(app, video, 0);
    auto& player = static_cast<FakePlayer&>(app.video());
    ASSERT_EQ(player.playState(), MediaPlayer::Playing);
    ASSERT_TRUE(app.Player().Timer1.isActive());

    // Every playback tick shows the position it found; "playback" moves on
    // by a frame every 10 ms.
    QStringList shownAtTicks;
    QObject::connect(&app.Player().Timer1, &QTimer::timeout, &app.Player(), [&] {
        if (app.st.crazyvision == 1)
            shownAtTicks << app.TimeDisplay().caption();
    });
    bool pressed = false;
    QTimer playing;
    QObject::connect(&playing, &QTimer::timeout, [&] {
        player.advance(1);
        if (shownAtTicks.size() >= 2 && !pressed) {
            pressed = true;
            QTest::keyClick(player.widget(), Qt::Key_C);
        }
    });
    playing.start(10);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "crazy vision kept the playback tick or the key from running";
        app.st.motionstop = true;
        app.st.crazyvision = 0;
    });
    guard.start(20000);

    CRAZYvisionSWITCH(app);
    playing.stop();

    EXPECT_EQ(app.st.crazyvision, 0);
    ASSERT_GE(shownAtTicks.size(), 2);
    EXPECT_NE(shownAtTicks.at(0), shownAtTicks.at(1)) << "the time code did not advance";
    EXPECT_NE(shownAtTicks.at(1), FORMATtimecode(0, 25));
    EXPECT_EQ(app.st.ZoomPercent, 100);
    EXPECT_EQ(player.pictureRect(), QRectF(0, 0, app.Player().widthTw(), app.Player().heightTw()));
}

} // namespace
} // namespace vv::test
