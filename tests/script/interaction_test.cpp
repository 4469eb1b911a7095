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
            texts << window(k).Label1->text();
        return texts;
    }
    // The windows whose red frame shows.
    QList<int> framed()
    {
        QList<int> windows;
        for (int k = 0; k < 9; ++k)
            if (!window(k).Shape1->isHidden())
                windows << k;
        return windows;
    }
    // Scene windows first to first + count - 1 are shown, `marked` framed
    // (-1: not looked at).
    void expectStrip(int first, int count, int marked)
    {
        QString shown, framedScene;
        for (int i = 0; i < 16; ++i) {
            shown += app->FormImage(i).isVisible() == (i >= first && i < first + count) ? "" : QString::number(i) + " ";
            if (!app->FormImage(i).Shape1->isHidden())
                framedScene += QString::number(i);
        }
        EXPECT_EQ(shown, QString()) << "scene windows shown or hidden wrongly";
        if (marked >= 0) {
            EXPECT_EQ(framedScene, QString::number(marked));
        }
    }

    QString video;
};

TEST_F(InteractionTest, ManyEntriesShowTheNineAroundTheCurrentOneAndEmptyWindowsDoNothing)
{
    for (int f = 20; f <= 220; f += 20)
        list().addEntry(formatEntry(f, f, EntryAction::Jump, QStringLiteral("at %1").arg(f)));
    player().setFramePosition(230);  // current: "at 220", index 12
    SHOWinteraction(*app);
    EXPECT_EQ(app->st.ActiveMode, 6);
    EXPECT_EQ(infoText(), QStringLiteral("INTERACT"));
    EXPECT_EQ(app->st.InfoDisplayCountdown, -1);  // stays until hidden
    EXPECT_EQ(captions(), QStringList({"1. at 100", "2. at 120", "3. at 140", "4. at 160", "5. at 180", "6. at 200",
                                       "7. at 220", "8. End of video", "9. NEXT VIDEO"}));
    EXPECT_EQ(framed(), QList<int>({6}));

    // A click performs the entry of its window; the grid is rebuilt around
    // the new position.
    QTest::mouseClick(window(1).Label1, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 120);
    EXPECT_EQ(window(4).Label1->text(), QStringLiteral("5. at 120"));
    EXPECT_EQ(framed(), QList<int>({4}));

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
    EXPECT_EQ(app->st.LoadedVideo, video);

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
    EXPECT_TRUE(app->menu().isVisible());
}

TEST_F(InteractionTest, LoadingAVideoWhileTheGridIsUpRebuildsItForTheNewScript)
{
    const QString other = addVideo(QStringLiteral("other.avi"), 500, 20.0, 25.0);
    writeFile(QStringLiteral("other.txt"), "!00000 PREVIOUS VIDEO\r\n000300-000400 LOOP Solo\r\n999999 NEXT VIDEO\r\n");
    SHOWinteraction(*app);
    INITIALIZEvideo(*app, other, 0);
    EXPECT_EQ(app->st.ActiveMode, 6);
    EXPECT_EQ(captions(), QStringList({"1. PREVIOUS VIDEO", "2. Solo", "3. NEXT VIDEO", "", "", "", "", "", ""}));
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
    // Only the exact texts are pseudo-entries; anything else reads its numbers.
    SCRIPTaction(*app, QStringLiteral("999999 next video"));
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("b.avi"));
    EXPECT_EQ(player().framePosition(), 250);  // clamped to the end
}

TEST_F(InteractionTest, SevenPicturesStandOnTheSliderFollowEverySeekAndTheirDigitsGoToTheirScenes)
{
    SHOWnavigation(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NAVIGATE"));
    EXPECT_EQ(app->st.ActiveMode, 1);
    expectStrip(0, 7, 0);
    // Side by side directly above the slider, which lies along the bottom
    // of the video window.
    SliderWindow& slider = app->FormSlider();
    EXPECT_NEAR(app->FormImage(6).geometry().bottom() + 1, slider.y(), 1);
    EXPECT_NEAR(app->FormImage(6).x(), 6 * app->Player().width() / 7.0, 1);
    EXPECT_EQ(slider.geometry().bottom() + 1, app->Player().height());
    EXPECT_EQ(app->st.TimeDisplayCountdown, -1);  // the time code stays up

    GOTOposition(*app, 16);  // scene 1
    expectStrip(0, 7, 1);
    // Pictures of the index grid left up do not stay among the strip's.
    for (int i = 0; i < 16; ++i)
        app->FormImage(i).show();
    SHOWnavigation(*app);
    expectStrip(0, 7, 1);

    // 0 is the scene before the strip, 8 and 9 lie past its seven pictures.
    for (const auto& [digit, window] : {std::pair{0, 4}, {1, 5}, {8, 12}, {9, 13}}) {
        SCOPED_TRACE(digit);
        GOTOposition(*app, 128);  // scene 8: the strip shows scenes 5 to 11
        expectStrip(5, 7, 8);
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
    QWidget* picture = player().widget();
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    ControlPanel& menu = app->menu();
    EXPECT_TRUE(menu.ListSCRIPT->isVisible());
    EXPECT_EQ(app->st.ActiveMode, 1);
    EXPECT_EQ(app->FormSlider().geometry().bottom() + 1, menu.y());  // the slider sits on the panel
    expectStrip(0, 9, 0);  // nine pictures from 1024 pixels
    EXPECT_TRUE(app->TimeDisplay().isVisible());

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(app->FormSlider().isVisible());
    expectStrip(0, 0, -1);
    EXPECT_FALSE(app->TimeDisplay().isVisible());
}

} // namespace
} // namespace vv::test
