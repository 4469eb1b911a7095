// The key map at work: keys typed into the real windows (fake player).

#include <QTest>
#include <tuple>

#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/virtual_keys.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class KeyTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video_ = addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0);
        INITIALIZEvideo(*app, video_, 0);
    }
    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(player().widget(), key, modifiers);
    }
    QString caption() { return app->menu().CommandPLAY->text(); }
    QString video_;
};

TEST_F(KeyTest, KeysTypedIntoThePictureDriveTheirCommands)
{
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double from, to;
        const char* info;  // "-": nothing shown
    } const rows[] = {
        {Qt::Key_F, Qt::ShiftModifier, 100, 850, "FAST FORWARD"},  // Shift and Control are ignored
        {Qt::Key_B, Qt::ControlModifier, 850, 100, "FAST REWIND"},
        {Qt::Key_9, {}, 0, 900, "JUMP INDEX 9"},
        {Qt::Key_5, {}, 0, 500, "JUMP INDEX 5"},
        {Qt::Key_0, {}, 321, 0, "JUMP START"},
        {Qt::Key_Plus, Qt::KeypadModifier, 7, 7, "SPEED 1.1 x"},
        {Qt::Key_Minus, Qt::KeypadModifier, 7, 7, "SPEED 1.0 x"},
        // Keys outside the map do nothing.
        {Qt::Key_M, {}, 7, 7, "-"},
        {Qt::Key_Left, {}, 7, 7, "-"},
        {Qt::Key_Plus, {}, 7, 7, "-"},
        {Qt::Key_Space, {}, 7, 7, "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.info);
        player().setFramePosition(row.from);
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        type(row.key, row.modifiers);
        EXPECT_EQ(player().framePosition(), row.to);
        EXPECT_EQ(infoText(), QString::fromLatin1(row.info));
    }
    // The video list up (ActiveMode 3): digits still jump the video.
    app->st.ActiveMode = 3;
    KEYcommand(*app, vk::Digit0 + 5);
    EXPECT_EQ(player().framePosition(), 500);

    // N and P load the neighbours in the playlist.
    addVideo(QStringLiteral("other.avi"));
    scanVideos();
    type(Qt::Key_N);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    type(Qt::Key_P);
    EXPECT_EQ(app->st.LoadedVideo, video_);
}

TEST_F(KeyTest, RStartsOnlyAHaltedVideoAndSHaltsOnlyAPlayingOne)
{
    // Key, then the PLAY button's caption and the text shown ("-": none).
    using Row = std::tuple<Qt::Key, const char*, const char*>;
    for (const auto& [key, button, info] :
         {Row{Qt::Key_R, "STOP", "-"}, Row{Qt::Key_S, "PLAY", "STOP"}, Row{Qt::Key_S, "PLAY", "-"},
          Row{Qt::Key_R, "STOP", "PLAY"}}) {
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        type(key);
        EXPECT_EQ(caption(), QString::fromLatin1(button));
        EXPECT_EQ(infoText(), QString::fromLatin1(info));
    }
}

TEST_F(KeyTest, ZoomKeysStayWithinTheLimitsAndConfirmTheZoom)
{
    type(Qt::Key_I);
    EXPECT_EQ(infoText(), QStringLiteral("ZOOM 105%"));
    for (int i = 0; i < 2; ++i) {
        type(Qt::Key_O);  // back by the same step, then held at 100
        EXPECT_EQ(infoText(), QStringLiteral("ZOOM 100%"));
    }
    // The numeric pad's zoom keys show no text.
    app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
    KEYcommand(*app, vk::Clear);
    EXPECT_EQ(app->st.ZoomPercent, 101);
    KEYcommand(*app, vk::Numpad0 + 5);
    EXPECT_EQ(app->st.ZoomPercent, 100);
    EXPECT_EQ(infoText(), QStringLiteral("-"));
}

TEST_F(KeyTest, TheVideoListAndThePanelsListedButtonsPassKeysOn)
{
    type(Qt::Key_Escape);
    ASSERT_EQ(app->st.ActiveMode, 3);
    QListWidget* list = app->DATEIMENU().lstFoundFiles2;
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_9);
    EXPECT_EQ(player().framePosition(), 900);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(app->DATEIMENU().isVisible());

    app->menu().INITIALIZE();
    player().setFramePosition(100);
    QTest::keyClick(app->menu().CommandPLAY, Qt::Key_F);
    EXPECT_EQ(player().framePosition(), 850);
    QTest::keyClick(app->menu().CommandSETUP, Qt::Key_B);  // not one of them
    EXPECT_EQ(player().framePosition(), 850);
}

} // namespace
} // namespace vv::test
