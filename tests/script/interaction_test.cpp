// Executing script entries and the INTERACT grid of interaction windows, on
// the scripted player.

#include <QTest>

#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "script/script_entries.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class InteractionTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        video = addVideo(QStringLiteral("clip.avi"), 250, 10.0, 25.0);
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

    QString video;
};

TEST_F(InteractionTest, FourDefaultEntriesAtTheStartFillTwoRows)
{
    SHOWinteraction(*app);
    EXPECT_EQ(app->st.ActiveMode, 6);
    EXPECT_EQ(infoText(), QStringLiteral("INTERACT"));
    EXPECT_EQ(app->st.InfoDisplayCountdown, -1);  // stays until hidden
    EXPECT_EQ(captions(), QStringList({"1. PREVIOUS VIDEO", "2. Start of video", "3. End of video", "4. NEXT VIDEO",
                                       "", "", "", "", ""}));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(window(k).Label1->toolTip(), QStringLiteral(" %1").arg(k));
    EXPECT_EQ(framed(), QList<int>({1}));

    // Three rows of three over the bottom of the video window; the third row,
    // not needed, lies below it.
    const int bottom = app->Player().height();
    for (int k = 0; k < 9; ++k)
        EXPECT_TRUE(window(k).isVisible()) << k;
    for (int r = 0; r < 3; ++r) {
        for (int c = 1; c < 3; ++c) {
            EXPECT_EQ(window(3 * r + c).y(), window(3 * r).y());
            EXPECT_GT(window(3 * r + c).x(), window(3 * r + c - 1).geometry().right());
        }
    }
    EXPECT_GT(window(3).y(), window(0).geometry().bottom());
    EXPECT_LE(window(3).geometry().bottom(), bottom);
    EXPECT_GE(window(6).y(), bottom);
    EXPECT_EQ(window(0).height(), 26);  // 390 twips, as designed
    EXPECT_EQ(window(0).Label1->geometry(), window(0).rect());
    EXPECT_EQ(window(0).Shape1->geometry(), window(0).rect());
}

TEST_F(InteractionTest, AnEmptyScriptShowsNothingAndLeavesTheOverlaysUp)
{
    app->menu().INITIALIZE();
    list().clearEntries();
    SHOWinteraction(*app);
    EXPECT_EQ(infoText(), QStringLiteral("NO SCRIPT FOUND!"));
    EXPECT_EQ(app->st.InfoDisplayCountdown, 3);
    EXPECT_EQ(app->st.ActiveMode, 1);
    EXPECT_TRUE(app->menu().isVisible());
}

TEST_F(InteractionTest, ManyEntriesNearTheEndShowTheLastNine)
{
    for (int f = 20; f <= 220; f += 20)
        list().addEntry(formatEntry(f, f, EntryAction::Jump, QStringLiteral("at %1").arg(f)));
    ASSERT_EQ(list().entries().count(), 15);
    player().setFramePosition(230);  // current: "at 220", index 12
    SHOWinteraction(*app);
    EXPECT_EQ(captions(), QStringList({"1. at 100", "2. at 120", "3. at 140", "4. at 160", "5. at 180", "6. at 200",
                                       "7. at 220", "8. End of video", "9. NEXT VIDEO"}));
    EXPECT_EQ(window(0).Label1->toolTip(), QStringLiteral(" 6"));
    EXPECT_EQ(window(8).Label1->toolTip(), QStringLiteral(" 14"));
    EXPECT_EQ(framed(), QList<int>({6}));
    // All three rows stand inside the video window.
    EXPECT_LE(window(6).geometry().bottom(), app->Player().height());

    // In the middle the current entry is in the middle window.
    player().setFramePosition(125);  // "at 120", index 7
    SHOWinteraction(*app);
    EXPECT_EQ(window(4).Label1->text(), QStringLiteral("5. at 120"));
    EXPECT_EQ(framed(), QList<int>({4}));
}

TEST_F(InteractionTest, DigitKeysPerformTheEntryOfTheirWindowAndRebuildTheGrid)
{
    list().addEntry(QStringLiteral("000100-000200 LOOP Refrain"));
    player().setFramePosition(10);
    SHOWinteraction(*app);
    ASSERT_EQ(window(2).Label1->text(), QStringLiteral("3. Refrain"));
    EXPECT_EQ(framed(), QList<int>({1}));

    KEYcommand(*app, vk::Digit0 + 3);
    EXPECT_EQ(app->st.MarkIn, 100);
    EXPECT_EQ(app->st.MarkOut, 200);
    EXPECT_EQ(player().framePosition(), 100);
    EXPECT_EQ(list().ListIndex(), 2);
    // Rebuilt for the new position: the loop is now the current entry.
    EXPECT_EQ(app->st.ActiveMode, 6);
    EXPECT_EQ(framed(), QList<int>({2}));

    // A digit typed into an interaction window: "Start of video" ends the loop.
    window(0).setFocus();
    QTest::keyClick(&window(0), Qt::Key_2);
    EXPECT_EQ(app->st.MarkIn, -1);
    EXPECT_EQ(player().framePosition(), 0);
    EXPECT_EQ(framed(), QList<int>({1}));

    // Windows without an entry and the digit 0 do nothing.
    const auto seeks = player().seeks.size();
    KEYcommand(*app, vk::Digit0 + 7);
    KEYcommand(*app, vk::Digit0);
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_EQ(app->st.ActiveMode, 6);
}

TEST_F(InteractionTest, AClickOnAWindowPerformsItsEntryAnEmptyOneNothing)
{
    list().addEntry(QStringLiteral("000150-000150 JUMP Chorus"));
    SHOWinteraction(*app);
    ASSERT_EQ(window(2).Label1->text(), QStringLiteral("3. Chorus"));
    QTest::mouseClick(window(2).Label1, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 150);
    EXPECT_EQ(infoText(), QStringLiteral("INTERACT"));  // rebuilt after "JUMPING"
    EXPECT_EQ(framed(), QList<int>({2}));

    const auto seeks = player().seeks.size();
    QTest::mouseClick(window(7).Label1, Qt::LeftButton);
    EXPECT_EQ(player().seeks.size(), seeks);

    // Keys pressed on a window go to the key map: E closes the grid.
    QTest::keyClick(&window(2), Qt::Key_E);
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(window(2).isVisible());
}

TEST_F(InteractionTest, AWindowWhoseEntryIsGoneSinceTheGridWasBuiltPerformsNothing)
{
    SHOWinteraction(*app);
    ASSERT_EQ(window(3).Label1->text(), QStringLiteral("4. NEXT VIDEO"));
    list().removeEntry(3);
    list().removeEntry(2);
    const auto seeks = player().seeks.size();
    const QString loaded = app->st.LoadedVideo;
    window(3).DOcommandACTION();
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_EQ(app->st.LoadedVideo, loaded);
    // The grid is rebuilt for the list as it is now.
    EXPECT_EQ(window(3).Label1->text(), QString());
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
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("clip.avi"));
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_FALSE(app->menu().isVisible());
    SCRIPTaction(*app, PreviousVideoEntry);
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("b.avi"));
    // Only the exact texts are pseudo-entries; anything else reads its numbers.
    SCRIPTaction(*app, QStringLiteral("999999 next video"));
    EXPECT_EQ(app->st.LoadedVideo, dir() + QStringLiteral("b.avi"));
    EXPECT_EQ(player().framePosition(), 250);  // clamped to the end
}

TEST_F(InteractionTest, ALoopBehindThePositionJumpsToItsStartAndHoldsThere)
{
    player().setFramePosition(220);
    SCRIPTaction(*app, QStringLiteral("000100-000150 LOOP Verse"));
    EXPECT_EQ(player().framePosition(), 100);
    EXPECT_EQ(infoText(), QStringLiteral("LOOPING"));
    player().advance(50);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 150);  // on the end mark: not yet
    player().advance(1);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 100);

    // A JUMP ends the loop: "JUMPING", then "RESET".
    SCRIPTaction(*app, QStringLiteral("000200-000200 JUMP "));
    EXPECT_EQ(infoText(), QStringLiteral("RESET"));
    EXPECT_EQ(app->st.MarkIn, -1);
    player().advance(30);
    playbackTick(*app);
    EXPECT_EQ(player().framePosition(), 230);
}

} // namespace
} // namespace vv::test
