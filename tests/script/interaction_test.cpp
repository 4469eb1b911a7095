// Executing script entries, the INTERACT grid of interaction windows and the
// NAVIGATE strip over the position slider, on the scripted player.

#include <QTest>

#include "app/main_window.h"
#include "app/numbers.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "script/script_entries.h"
#include "script/slider_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class InteractionTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
        for (int i = 0; i < 16; ++i)
            app->FormImage(i);  // created, as start-up creates them
        INITIALIZEvideo(*app, video, 0);
    }
    ScriptListBox& list() { return *app->menu().ListSCRIPT; }
    CommandWindow& window(int k) { return app->FormCommand(k); }
    QStringList captions()
    {
        QStringList texts;
        for (int k = 0; k < 9; ++k)
            texts << window(k).Label1->text() + (window(k).Shape1->isHidden() ? "" : " [red]");
        return texts;
    }
    // The scene windows shown, and the one framed in red after a '|'.
    QString strip()
    {
        QString shown, framed;
        for (int i = 0; i < 16; ++i) {
            shown += app->FormImage(i).isVisible() ? QString::number(i) + " " : QString();
            framed += app->FormImage(i).Shape1->isHidden() ? QString() : QString::number(i);
        }
        return shown + "| " + framed;
    }

    QString video;
};

TEST_F(InteractionTest, TheGridShowsTheNineAroundTheCurrentEntryAndItsWindowsExecuteThem)
{
    for (int f = 20; f <= 220; f += 20)
        list().addEntry(formatEntry(f, f, EntryAction::Jump, QStringLiteral("at %1").arg(f)));
    player().setFramePosition(230);  // current: "at 220", index 12
    SHOWinteraction(*app);
    EXPECT_EQ(app->st.ActiveMode, 6);
    EXPECT_EQ(infoText(), QStringLiteral("INTERACT"));
    EXPECT_EQ(app->st.InfoDisplayCountdown, -1);  // stays until hidden
    EXPECT_EQ(captions(), QStringList({"1. at 100", "2. at 120", "3. at 140", "4. at 160", "5. at 180", "6. at 200",
                                       "7. at 220 [red]", "8. End of video", "9. NEXT VIDEO"}));

    // A click performs the entry of its window; the grid is rebuilt around
    // the new position.
    QTest::mouseClick(window(1).Label1, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 120);
    EXPECT_EQ(captions().at(4), QStringLiteral("5. at 120 [red]"));

    // A window whose entry is gone since the grid was built performs
    // nothing; the grid is rebuilt for the list as it is now. Windows
    // without an entry and the digit 0 do nothing either.
    for (int i = 0; i < 12; ++i)
        list().removeEntry(1);
    const auto seeks = player().seeks.size();
    window(5).DOcommandACTION();
    EXPECT_EQ(window(5).Label1->text(), QString());
    KEYcommand(*app, vk::Digit0 + 7);
    KEYcommand(*app, vk::Digit0);
    QTest::mouseClick(window(7).Label1, Qt::LeftButton);
    EXPECT_EQ(player().seeks.size(), seeks);

    // A video loaded while the grid is up gets a grid of its own script.
    const QString other = addVideo(QStringLiteral("other.avi"), 500, 20.0, 25.0);
    writeFile(QStringLiteral("other.txt"), "!00000 PREVIOUS VIDEO\r\n000300-000400 LOOP Solo\r\n999999 NEXT VIDEO\r\n");
    INITIALIZEvideo(*app, other, 0);
    EXPECT_EQ(captions(), QStringList({"1. PREVIOUS VIDEO [red]", "2. Solo", "3. NEXT VIDEO", "", "", "", "", "", ""}));

    // Other keys pressed on a window go to the key map: E closes the grid.
    QTest::keyClick(&window(0), Qt::Key_E);
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(window(0).isVisible());

    // An empty script shows nothing and leaves the overlays up.
    app->menu().INITIALIZE();
    list().clearEntries();
    SHOWinteraction(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NO SCRIPT FOUND!"));
    EXPECT_EQ(app->st.ActiveMode, 1);
}

TEST_F(InteractionTest, PreviousAndNextEntriesLoadFromThePlaylistAndCloseTheOverlays)
{
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("b.avi"));
    scanVideos();
    app->DATEIMENU().select(1);  // b.avi
    app->menu().INITIALIZE();
    SCRIPTaction(*app, NextVideoEntry);
    EXPECT_EQ(app->st.LoadedVideo, video);
    EXPECT_FALSE(app->menu().isVisible());
    SCRIPTaction(*app, PreviousVideoEntry);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("b.avi"));
}

TEST_F(InteractionTest, SevenPicturesStandOnTheSliderFollowEverySeekAndTheirDigitsGoToTheirScenes)
{
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NAVIGATE"));
    EXPECT_EQ(app->st.ActiveMode, 1);
    EXPECT_EQ(app->st.TimeDisplayCountdown, -1);  // the time code stays up
    EXPECT_EQ(strip(), QStringLiteral("0 1 2 3 4 5 6 | 0"));
    EXPECT_NEAR(app->FormImage(6).geometry().bottom() + 1, app->FormSlider().y(), 1);  // standing on the slider

    // Pictures of the index grid left up do not stay among the strip's.
    GOTOposition(*app, 16);  // scene 1
    for (int i = 0; i < 16; ++i)
        app->FormImage(i).show();
    SHOWnavigation(*app);
    EXPECT_EQ(strip(), QStringLiteral("0 1 2 3 4 5 6 | 1"));

    // 0 is the scene before the strip, 8 and 9 lie past its seven pictures.
    for (const auto& [digit, window] : {std::pair{0, 4}, {1, 5}, {8, 12}, {9, 13}}) {
        SCOPED_TRACE(digit);
        GOTOposition(*app, 128);  // scene 8: the strip shows scenes 5 to 11
        EXPECT_EQ(strip(), QStringLiteral("5 6 7 8 9 10 11 | 8"));
        KEYcommand(*app, vk::Digit0 + digit);
        EXPECT_NE(player().framePosition(), 128);
        EXPECT_EQ(player().framePosition(), leadingNumber(app->FormImage(window).Image1->toolTip()));
    }

    // Nothing to navigate without a video.
    HIDEall(*app);
    INITIALIZEvideo(*app, writeFile(QStringLiteral("bad.avi"), "x"), 0);  // unloads, then fails
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("LOAD VIDEO FIRST!"));
    EXPECT_EQ(app->st.ActiveMode, 0);
}

TEST_F(InteractionTest, AClickIntoTheVideoOpensThePanelsTheNextClosesThem)
{
    app->MDI().resize(1024, 768);
    player().setPictureRect(QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()));
    for (const bool open : {true, false}) {
        QTest::mouseClick(player().widget(), Qt::LeftButton, {}, QPoint(100, 100));
        EXPECT_EQ(app->st.ActiveMode, open ? 1 : 0);
        EXPECT_EQ(app->menu().ListSCRIPT->isVisible(), open);
        EXPECT_EQ(app->TimeDisplay().isVisible(), open);
        EXPECT_EQ(strip(), QString::fromLatin1(open ? "0 1 2 3 4 5 6 7 8 | 0" : "| 0"));  // nine from 1024 pixels
    }
}

} // namespace
} // namespace vv::test
