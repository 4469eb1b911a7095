// The main window's modes and its resize rule on a real X display.

#include <QGuiApplication>
#include <functional>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "app/main_window.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

class MainWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&mdi()));
        // A window manager has framed the window by the time it activates it.
        mdi().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mdi()));
        screen_ = mdi().screen()->geometry();
    }

    MainWindow& mdi() { return app->MDI(); }
    // The outer rectangle as the window system has it now.
    QRect outer() { return mdi().windowHandle()->frameGeometry(); }

    // Waits until the window stands at the given outer rectangle, which may
    // depend on the frame the window manager puts around it.
    ::testing::AssertionResult standsAt(const std::function<QRect()>& expected)
    {
        QTest::qWaitFor([&] { return outer() == expected(); }, 3000);
        const QRect r = outer();
        const QRect e = expected();
        if (r == e)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "window at " << r.x() << "," << r.y() << " " << r.width() << "x"
                                             << r.height() << ", expected " << e.x() << "," << e.y() << " "
                                             << e.width() << "x" << e.height();
    }
    ::testing::AssertionResult standsAt(const QRect& expected)
    {
        return standsAt([expected] { return expected; });
    }

    // Waits until the window has the given outer size (a window manager may
    // move a window to keep it on the screen).
    ::testing::AssertionResult measures(const QSize& expected)
    {
        QTest::qWaitFor([&] { return outer().size() == expected; }, 3000);
        const QSize s = outer().size();
        if (s == expected)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "window of " << s.width() << "x" << s.height() << ", expected "
                                             << expected.width() << "x" << expected.height();
    }

    // The outer rectangle the resize rule gives a window of that outer width.
    QRect ruled(const QPoint& at, int outerWidth)
    {
        const int frame = outer().height() - mdi().geometry().height();
        return {at, QSize(outerWidth, static_cast<int>(roundEven(outerWidth * 3.0 / 4.0)) + frame)};
    }

    QRect savedGeometry() const
    {
        const AppState& st = app->st;
        return {px(st.SavedWindowLeft), px(st.SavedWindowTop), px(st.SavedWindowWidth), px(st.SavedWindowHeight)};
    }

    // Whether the window has no frame; the native window must agree.
    bool frameless()
    {
        const bool widget = mdi().windowFlags().testFlag(Qt::FramelessWindowHint);
        EXPECT_EQ(mdi().windowHandle()->flags().testFlag(Qt::FramelessWindowHint), widget);
        return widget;
    }
    bool onTop()
    {
        const bool widget = mdi().isOnTop();
        EXPECT_EQ(mdi().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), widget);
        return widget;
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

    QRect screen_;
};

TEST_F(MainWindowTest, AModeSwitchedOnAndOffReturnsTheWindowWithItsFrame)
{
    struct Case {
        const char* name;
        void (MainWindow::*enable)();
        std::function<QRect(const QRect& screen)> placed;
    };
    const Case cases[] = {
        {"full screen", &MainWindow::FULLSCREENenable, [](const QRect& s) { return s; }},
        {"picture in picture", &MainWindow::PictureINpictureENABLE,
         [](const QRect& s) { return QRect(s.x() + s.width() / 2, s.y(), s.width() / 2, s.height() / 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint at = screen_.topLeft() + QPoint(100, 80);
        mdi().move(at);
        ASSERT_TRUE(standsAt([&] { return ruled(at, outer().width()); }));
        const QRect before = outer();

        (mdi().*c.enable)();
        EXPECT_EQ(app->st.FullScreenMode, -1);
        EXPECT_EQ(savedGeometry(), before);
        EXPECT_TRUE(frameless());
        EXPECT_EQ(mdi().windowStyle(), 0u);
        EXPECT_TRUE(mdi().isVisible());
        EXPECT_TRUE(standsAt(c.placed(screen_)));
        // No frame is left: the client area is the whole window.
        EXPECT_EQ(QRect(mdi().client()->mapToGlobal(QPoint(0, 0)), mdi().client()->size()), c.placed(screen_));
        expectFittedPicture();

        mdi().FULLSCREENdisable();
        EXPECT_EQ(app->st.FullScreenMode, 0);
        EXPECT_FALSE(frameless());
        EXPECT_EQ(mdi().windowStyle(), MainWindow::WindowBorder | MainWindow::WindowSizingFrame);
        EXPECT_TRUE(mdi().isVisible());
        EXPECT_TRUE(standsAt(before));
        expectFittedPicture();
    }
}

TEST_F(MainWindowTest, PictureInPictureFromFullScreenKeepsTheFullScreenGeometry)
{
    mdi().FULLSCREENenable();
    ASSERT_TRUE(standsAt(screen_));
    mdi().PictureINpictureENABLE();
    EXPECT_EQ(savedGeometry(), screen_);
    EXPECT_TRUE(standsAt(QRect(screen_.x() + screen_.width() / 2, screen_.y(), screen_.width() / 2,
                               screen_.height() / 2)));

    // Back at the full-screen place and width, with a frame, under the
    // normal window's rule.
    mdi().FULLSCREENdisable();
    EXPECT_FALSE(frameless());
    EXPECT_TRUE(standsAt([&] { return ruled(screen_.topLeft(), screen_.width()); }));
    EXPECT_EQ(app->st.FullScreenMode, 0);
}

TEST_F(MainWindowTest, TheResizeRuleKeepsFourToThreeAndTheControlStripWidth)
{
    const int strip = app->menu().PictureControls1->width();
    const int frameX = outer().width() - mdi().width();
    struct Case {
        const char* name;
        QSize asked;  // client size
        int outerWidth;
    };
    const Case cases[] = {
        {"narrower than the strip", QSize(strip / 2, 100), strip},
        {"wide and flat", QSize(1000, 300), 1000 + frameX},
        {"narrow and tall", QSize(strip + 10, 900), strip + 10 + frameX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Overlays up and the picture zoomed and moved.
        app->menu().INITIALIZE();
        ZOOMvideo(*app, 300, 200, 300);
        ASSERT_EQ(app->st.ActiveMode, 1);

        mdi().resize(c.asked);
        EXPECT_TRUE(measures(ruled(QPoint(), c.outerWidth).size()));
        expectFittedPicture();
        EXPECT_FALSE(app->menu().isVisible());
        EXPECT_EQ(app->st.ActiveMode, 0);
    }
}

TEST_F(MainWindowTest, AlwaysOnTopNeitherMovesNorSizesTheWindow)
{
    mdi().move(screen_.topLeft() + QPoint(60, 50));
    const QRect before = outer();
    ASSERT_TRUE(standsAt(before));

    mdi().ENABLEontop();
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(mdi().isVisible());
    EXPECT_TRUE(standsAt(before));

    // On top is independent of full screen.
    mdi().FULLSCREENenable();
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(standsAt(screen_));
    mdi().DISABLEontop();
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(frameless());
    EXPECT_TRUE(standsAt(screen_));
    mdi().FULLSCREENdisable();
    EXPECT_TRUE(standsAt(before));
    EXPECT_FALSE(onTop());
}

TEST_F(MainWindowTest, TheButtonsAndTheSetupBoxesSwitchTheModes)
{
    const QRect before = outer();
    ControlPanel& menu = app->menu();
    menu.CommandFULLSCREEN->click();
    EXPECT_TRUE(standsAt(screen_));
    menu.CommandFULLSCREEN->click();
    EXPECT_TRUE(standsAt(before));

    SetupDialog& setup = app->SETUP();
    setup.CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, -1);
    EXPECT_TRUE(standsAt(QRect(screen_.x() + screen_.width() / 2, screen_.y(), screen_.width() / 2,
                               screen_.height() / 2)));
    setup.CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, 0);
    EXPECT_TRUE(standsAt(before));

    setup.CheckAlwaysOnTop->click();
    EXPECT_TRUE(onTop());
    setup.CheckAlwaysOnTop->click();
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(standsAt(before));
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgram)
{
    const QString video = addVideo(QStringLiteral("clip.avi"));
    player().setFileName(video);
    player().play();
    mdi().close();
    EXPECT_EQ(services.endRequests, 1);
    EXPECT_EQ(player().fileName(), QString());
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
}

} // namespace
} // namespace vv::test
