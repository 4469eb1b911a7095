// Crazy vision on the fake player: the switch, the motion loop step by step,
// and the loop living together with playback, the timers and the keys.

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

    // Switches crazy vision on with the given draws and calls atStep(n)
    // after step n (counting from 1) of the motion loop. Returns the zoom
    // after every step; the switch's first call has returned by then.
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
            if (samples.size() > 500) {
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
    void expectReset()
    {
        EXPECT_EQ(app->st.crazyvision, 0);
        EXPECT_EQ(infoText(), QStringLiteral("CRAZY VISION OFF"));
        EXPECT_EQ(app->st.ZoomPercent, 100);
        EXPECT_EQ(player().pictureRect(), QRectF(0, 0, 11520, 8640));
        EXPECT_EQ(app->SETUP().LabelZoomFaktor->text(), QStringLiteral("100 %"));
    }
};

TEST_F(CrazyVisionTest, AMotionSwitchedOffHalfwayRunsToItsEndAndTheZoomButtonsEndTheLoop)
{
    // Drift in from 150 by 15 up to 300 (11 steps), then a drift that would
    // go further in but is turned outwards above 200: 300 down to 150 by 6
    // (26 steps). Switched off at step 16, inside the second motion, as a
    // second press of C would.
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
    EXPECT_EQ(samples.at(10), 300);
    EXPECT_EQ(samples.back(), 150);
    // No third motion was drawn: the flag is looked at between motions only.
    EXPECT_EQ(services.randomDraws, 6);
    EXPECT_EQ(services.randomizeCalls, 1);
    EXPECT_TRUE(app->st.motionstop);
    expectReset();
    // "CRAZY VISION OFF" stands on the reset picture's corner, inside the window.
    EXPECT_EQ(app->InfoDisplay().pos(), QPoint(0, 0));

    // Three single-step drifts; the setup dialog's "+" is released during
    // the second: the loop ends, the picture stays as it is, and the next
    // use (here the panel's button) takes the off path at once.
    const auto release = [&](int step) {
        if (step == 2)
            emit app->SETUP().CommandBigger->released();
    };
    EXPECT_EQ(run({0, 0, 0.504f, 0, 0, 0.504f, 0, 0, 0.504f}, release).size(), 2u);
    EXPECT_EQ(services.randomizeCalls, 2);  // each switching on seeds the generator again
    EXPECT_EQ(app->st.crazyvision, 1);
    EXPECT_EQ(app->st.ZoomPercent, 150);
    const int draws = services.randomDraws;
    app->menu().CommandCRAZY->setEnabled(true);  // enabled once a video is loaded
    app->menu().CommandCRAZY->click();
    EXPECT_EQ(services.randomDraws, draws);
    expectReset();
}

// The program's own pacing and timers; a dialog would block the test, so any
// attempt to show one fails it instead.
class PacedServices : public ProgramServices {
public:
    void messageBox(const QString& text, Icon, const QString&) override { ADD_FAILURE() << text.toStdString(); }
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
    const QString video = temp.filePath(QStringLiteral("clip.avi"));
    ASSERT_TRUE(QFile(video).open(QIODevice::WriteOnly));
    FakeCatalogue catalogue;
    catalogue[video] = FakeMedia{100000, 4000.0, 25.0};
    PacedServices services;
    App app(services, [&catalogue](QWidget* host) { return std::make_unique<FakePlayer>(host, &catalogue); });
    services.attach(&app);
    app.st.ProgramDir = temp.path() + QLatin1Char('/');
    app.st.SettingsFile = app.st.ProgramDir + QStringLiteral("settings.ini");
    app.MDI().resize(768, 576);
    app.MDI().show();
    app.Player().show();
    INITIALIZEvideo(app, video, 0);
    auto& player = static_cast<FakePlayer&>(app.video());
    ASSERT_TRUE(app.Player().Timer1.isActive());

    // Every playback tick shows the position it found; "playback" moves on
    // by a frame every 10 ms, and C is pressed after two ticks.
    QStringList shownAtTicks;
    QObject::connect(&app.Player().Timer1, &QTimer::timeout, &app.Player(), [&] {
        if (app.st.crazyvision == 1)
            shownAtTicks << app.TimeDisplay().caption();
    });
    bool pressed = false;
    QTimer playing, guard;
    QObject::connect(&playing, &QTimer::timeout, [&] {
        player.advance(1);
        if (shownAtTicks.size() >= 2 && !std::exchange(pressed, true))
            QTest::keyClick(player.widget(), Qt::Key_C);
    });
    playing.start(10);
    guard.setSingleShot(true);
    guard.start(20000);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "crazy vision kept the playback tick or the key from running";
        app.st.motionstop = true;
        app.st.crazyvision = 0;
    });
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
