// The main window's modes and its resize rule on a real X display.

#include <QAbstractButton>
#include <QDebug>
#include <QProcess>
#include <functional>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "app/main_window.h"
#include "app/startup.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "library/video_selection_window.h"
#include "video/displays.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

// Started as the program starts, with a picture placed by the settings and
// two videos in the video folder.
class MainWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        addVideo(QStringLiteral("intro.avi"));
        addVideo(QStringLiteral("Sport/run.avi"));
        writeFile(QStringLiteral("settings.ini"), Settings);
        app->executableDir = dir();
        ASSERT_TRUE(Main(*app));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&mdi()));
        // A window manager has framed the window by the time it activates it.
        mdi().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mdi()));
    }

    MainWindow& mdi() { return app->MDI(); }
    // The outer rectangle as the window system has it now.
    QRect outer() { return mdi().windowHandle()->frameGeometry(); }

    // Waits until the window stands at the given outer rectangle, which may
    // depend on the frame the window manager puts around it.
    ::testing::AssertionResult standsAt(const std::function<QRect()>& expected)
    {
        if (QTest::qWaitFor([&] { return outer() == expected(); }, 3000))
            return ::testing::AssertionSuccess();
        QString text;
        QDebug(&text) << "window at" << outer() << "expected" << expected();
        return ::testing::AssertionFailure() << text.toStdString();
    }

    // The outer rectangle the resize rule gives a window of that outer width.
    QRect ruled(const QPoint& at, int outerWidth)
    {
        const int frame = outer().height() - mdi().geometry().height();
        return {at, QSize(outerWidth, static_cast<int>(roundEven(outerWidth * 3.0 / 4.0)) + frame)};
    }

    // Whether the window has no frame and whether it stays on top; the
    // native window must agree, and a window manager keeps the window above
    // the others and says so in the window's state.
    std::pair<bool, bool> framelessOnTop()
    {
        const auto flags = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        EXPECT_EQ(mdi().windowHandle()->flags() & flags, mdi().windowFlags() & flags);
        const auto statedAbove = [&] {
            QProcess xprop;
            xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(mdi().winId()),
                                                  QStringLiteral("_NET_WM_STATE")});
            xprop.waitForFinished(3000);
            return xprop.readAllStandardOutput().contains("_NET_WM_STATE_ABOVE");
        };
        if (qEnvironmentVariableIsSet("VV_WINDOW_MANAGER"))
            EXPECT_TRUE(QTest::qWaitFor([&] { return statedAbove() == mdi().isOnTop(); }, 3000));
        return {mdi().windowFlags().testFlag(Qt::FramelessWindowHint), mdi().isOnTop()};
    }

    // The video window fills the client area and shows the picture at 100
    // percent, centred.
    void expectFittedPicture()
    {
        const PlayerWindow& player = app->Player();
        EXPECT_EQ(player.geometry(), mdi().client()->rect());
        EXPECT_EQ(app->st.ZoomPercent, 100);
        EXPECT_EQ(this->player().pictureRect(), QRectF(0, 0, player.widthTw(), player.heightTw()));
    }

    const QByteArray Settings = " 1500 \r\n 750 \r\n 3000 \r\n 2250 \r\n" + dir().toUtf8() + "\r\n\r\n\r\n";
};

// Start-up with its directories set: the notice, the video buttons, the scan,
// the player's options set once, the keys going to the picture, and the
// picture placed from the settings before a window manager frames the window.
TEST_F(MainWindowTest, StartUpScansAndTheStoredPictureGeometrySurvivesTheFrameAndIsStoredBackUnchanged)
{
    QTest::qWait(300);  // late configure events
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(app->MessageDisplay().caption(), startupMessage());
    EXPECT_TRUE(app->menu().CommandPLAY->isEnabled() && app->menu().CommandNextVideo->isEnabled());
    EXPECT_EQ(app->DATEIMENU().found().names(), (QStringList{QStringLiteral("intro"), QStringLiteral("Sport/run")}));
    EXPECT_EQ(player().fixedOptionCalls, 1);
    EXPECT_TRUE(player().widget()->hasFocus());
    EXPECT_EQ(player().pictureRect(), QRectF(1500, 750, 3000, 2250));
    // The width set at start-up is the outer one, frame included.
    EXPECT_EQ(outer().width(), 768);
    app->SETUP().INITIALIZE();
    app->SETUP().CommandSAVESETTINGS->click();
    EXPECT_EQ(readFile(dir() + QStringLiteral("settings.ini")), Settings);
}

// Full screen and picture in picture switched on and off from a framed
// window, then with always-on-top, and picture in picture from full screen:
// switched off, the window is back at the full-screen place and width, with
// a frame, under the normal window's rule (four to three, at least the
// control strip wide). Closing the window ends the program.
TEST_F(MainWindowTest, ModesAndTheResizeRulePlaceTheWindowAndClosingEndsTheProgram)
{
    const QRect screen_ = mdi().screen()->geometry();
    const QPoint at = screen_.topLeft() + QPoint(100, 80);
    mdi().move(at);
    ASSERT_TRUE(standsAt([&] { return ruled(at, outer().width()); }));
    const QRect before = outer();
    QAbstractButton* onTop = app->SETUP().CheckAlwaysOnTop;
    QAbstractButton* fullScreen = app->menu().CommandFULLSCREEN;
    QAbstractButton* pip = app->SETUP().CheckPIP;
    const QRect half(screen_.x() + screen_.width() / 2, screen_.y(), screen_.width() / 2, screen_.height() / 2);
    const struct Step {
        QAbstractButton* click;
        bool frameless, onTop;
        QRect at;
    } steps[] = {
        {pip, true, false, half},           {pip, false, false, before},
        {onTop, false, true, before},       {fullScreen, true, true, screen_},
        {onTop, true, false, screen_},      {fullScreen, false, false, before},
        {fullScreen, true, false, screen_}, {pip, true, false, half},
        {pip, false, false, ruled(screen_.topLeft(), screen_.width())},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.click->click();
        EXPECT_EQ(framelessOnTop(), std::pair(step.frameless, step.onTop));
        EXPECT_EQ(app->st.FullScreenMode, step.frameless ? -1 : 0);
        EXPECT_TRUE(mdi().isVisible());
        EXPECT_TRUE(standsAt([&] { return step.at; }));
        // Without a frame the client area is the whole window.
        if (step.frameless)
            EXPECT_EQ(QRect(mdi().client()->mapToGlobal(QPoint(0, 0)), mdi().client()->size()), step.at);
        expectFittedPicture();
    }

    // Asked narrower than the control strip, the window gets the strip's
    // width; a resize takes the overlays down and fits the picture again.
    const int strip = app->menu().PictureControls1->width();
    app->menu().INITIALIZE();
    ZOOMvideo(*app, 300, 200, 300);
    mdi().resize(strip / 2, 100);
    // (A window manager may move a window to keep it on the screen.)
    EXPECT_TRUE(standsAt([&] { return ruled(outer().topLeft(), strip); }));
    expectFittedPicture();
    EXPECT_FALSE(app->menu().isVisible());
    EXPECT_EQ(app->st.ActiveMode, 0);

    const QString video = addVideo(QStringLiteral("clip.avi"));
    player().setFileName(video);
    player().play();
    mdi().close();
    EXPECT_EQ(services.endRequests, 1);
    // At once, without unloading the video first (which blocks).
    EXPECT_EQ(player().fileName(), video);
}

} // namespace
} // namespace vv::test
