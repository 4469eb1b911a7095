// The transport commands and the keys that drive them, on the fake player.

#include <QTest>

#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/key_help.h"
#include "control/transport.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class TransportTest : public AppFixture {
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
    ControlPanel& menu() { return app->menu(); }
    QString video_;
};

TEST_F(TransportTest, CommandsAndKeysMoveByTheirStepAndShowTheirText)
{
    struct Row {
        void (*command)(App&);  // nullptr: the key is typed into the picture
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;       // "-": nothing shown
        int timeSeconds;        // the time code's countdown; 0: not looked at
        double from, to;
    } const rows[] = {
        {GOnextFRAME, {}, {}, "NEXT FRAME", 5, 500, 501},
        {GOpreviousFRAME, {}, {}, "PREVIOUS FRAME", 3, 500, 499},
        {GOforward, {}, {}, "FORWARD", 3, 500, 525},
        {GOrewind, {}, {}, "REWIND", 3, 500, 475},
        {GOfastFORWARD, {}, {}, "FAST FORWARD", 3, 500, 1000},  // clamped at the end
        {GOfastREWIND, {}, {}, "FAST REWIND", 3, 500, 0},
        // Shift and Control are ignored.
        {nullptr, Qt::Key_F, Qt::ShiftModifier, "FAST FORWARD", 3, 100, 850},
        {nullptr, Qt::Key_B, Qt::ControlModifier, "FAST REWIND", 3, 850, 100},
        {nullptr, Qt::Key_9, {}, "JUMP INDEX 9", 0, 0, 900},
        {nullptr, Qt::Key_0, {}, "JUMP START", 0, 321, 0},
        {nullptr, Qt::Key_Plus, Qt::KeypadModifier, "SPEED 1.1 x", 0, 7, 7},
        {nullptr, Qt::Key_Minus, Qt::KeypadModifier, "SPEED 1.0 x", 0, 7, 7},
        // One O takes back one I, then the zoom is held at 100; the pad's
        // 5 (Clear without NumLock) zooms without a text.
        {nullptr, Qt::Key_I, {}, "ZOOM 105%", 0, 7, 7},
        {nullptr, Qt::Key_O, {}, "ZOOM 100%", 0, 7, 7},
        {nullptr, Qt::Key_Clear, Qt::KeypadModifier, "-", 0, 7, 7},
        // Keys outside the map do nothing.
        {nullptr, Qt::Key_M, {}, "-", 0, 7, 7},
        {nullptr, Qt::Key_Plus, {}, "-", 0, 7, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " from " << row.from);
        player().setFramePosition(row.from);
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        app->st.TimeDisplayCountdown = 0;
        row.command ? row.command(*app) : type(row.key, row.modifiers);
        EXPECT_EQ(player().framePosition(), row.to);
        EXPECT_EQ(infoText(), QString::fromLatin1(row.text));
        if (row.timeSeconds) {
            EXPECT_EQ(app->st.TimeDisplayCountdown, row.timeSeconds);
            EXPECT_TRUE(app->TimeDisplay().isVisible());
        }
        EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    }
    EXPECT_EQ(app->st.ZoomPercent, 101);

    // The clamped speed reaches the player and the caller.
    float rate = 0.01f;
    SETspeed(*app, rate);
    EXPECT_FLOAT_EQ(rate, 0.1f);
    EXPECT_NEAR(player().rate(), 0.1, 1e-6);

    // Thirty seconds are computed wide at high frame rates.
    INITIALIZEvideo(*app, addVideo(QStringLiteral("fast.avi"), 400000, 200.0, 2000.0), 0);
    player().setFramePosition(1000);
    GOfastFORWARD(*app);
    EXPECT_EQ(player().framePosition(), 61000);
}

TEST_F(TransportTest, RStartsOnlyAHaltedVideoSHaltsOnlyAPlayingOneAndStepsKeepItHalted)
{
    struct Row {
        Qt::Key key;
        const char* caption;  // of the PLAY button
        const char* info;     // "-": nothing shown
        bool playing;
    } const rows[] = {
        {Qt::Key_R, "STOP", "-", true}, {Qt::Key_S, "PLAY", "STOP", false},
        {Qt::Key_S, "PLAY", "-", false}, {Qt::Key_R, "STOP", "PLAY", true},
    };
    for (const Row& row : rows) {
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        type(row.key);
        EXPECT_EQ(menu().CommandPLAY->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(infoText(), QString::fromLatin1(row.info));
        EXPECT_EQ(player().playState() == MediaPlayer::Playing, row.playing);
        EXPECT_EQ(app->Player().Timer1.isActive(), row.playing);
    }
    PLAYstop(*app);
    GOnextFRAME(*app);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
}

TEST_F(TransportTest, PlaylistKeysPlayWithNothingLoadedAndJumpIndexNeedAVideo)
{
    // Jump index takes the odd scene pictures.
    for (int k = 0; k < 16; ++k)
        app->FormImage(k).INITIALIZEquick(k * 62);
    JUMPindex(*app, 3);
    EXPECT_EQ(player().framePosition(), 5 * 62);
    EXPECT_FALSE(app->FormImage(5).Shape1->isHidden());
    addVideo(QStringLiteral("other.avi"));
    scanVideos();  // clip, other; the first entry is selected
    type(Qt::Key_N);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    type(Qt::Key_P);
    EXPECT_EQ(app->st.LoadedVideo, video_);
    player().setFileName(QString());  // PLAY with nothing loaded loads the next video
    menu().CommandPLAY->setText(QStringLiteral("PLAY"));
    CommandPLAY_Click(*app);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("other.avi"));
    EXPECT_EQ(menu().CommandPLAY->text(), QStringLiteral("STOP"));

    INITIALIZEvideo(*app, writeFile(QStringLiteral("missing.avi"), QByteArray("x")), 0);  // unloads, then fails
    for (void (*command)(App&) : {+[](App& a) { JUMPindex(a, 1); }, +[](App& a) { SELECTindex(a); }}) {
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        command(*app);
        EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    }
}

TEST_F(TransportTest, TheVideoListThePanelsButtonsAndTheHelpPassKeysOn)
{
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
    EXPECT_EQ(player().framePosition(), 850);
    QTest::keyClick(menu().CommandSETUP, Qt::Key_B);  // not one of them
    EXPECT_EQ(player().framePosition(), 850);

    // The key help: a plain message box from the button and from F1, its
    // lines ending in a carriage return alone.
    menu().CommandHELP->click();
    type(Qt::Key_F1);
    ASSERT_EQ(services.boxes.size(), 2u);
    for (const FakeServices::Box& box : services.boxes)
        EXPECT_EQ(std::pair(box.text, box.icon), std::pair(keyboardHelpText(), Services::Icon::None));
    EXPECT_TRUE(keyboardHelpText().startsWith(QStringLiteral("TASTATURBELEGUNG\r\rESC = Videoauswahlliste ein/aus\r")));
    EXPECT_FALSE(keyboardHelpText().contains(QLatin1Char('\n')));
}

} // namespace
} // namespace vv::test
