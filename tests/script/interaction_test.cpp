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
    EXPECT_EQ(window(8).Label1->toolTip(), QStringLiteral(" 14"));
    EXPECT_EQ(framed(), QList<int>({6}));
    EXPECT_LE(window(6).geometry().bottom(), app->Player().height());  // all three rows inside

    // A click performs the entry of its window; the grid is rebuilt around
    // the new position.
    QTest::mouseClick(window(1).Label1, Qt::LeftButton);
    EXPECT_EQ(player().framePosition(), 120);
    EXPECT_EQ(window(4).Label1->text(), QStringLiteral("5. at 120"));
    EXPECT_EQ(framed(), QList<int>({4}));

    // Windows without an entry and the digit 0 do nothing.
    list().clearEntries();
    list().addEntry(PreviousVideoEntry);
    SHOWinteraction(*app);
    const auto seeks = player().seeks.size();
    KEYcommand(*app, vk::Digit0 + 7);
    KEYcommand(*app, vk::Digit0);
    QTest::mouseClick(window(7).Label1, Qt::LeftButton);
    EXPECT_EQ(player().seeks.size(), seeks);

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

TEST_F(InteractionTest, AWindowWhoseEntryIsGoneSinceTheGridWasBuiltPerformsNothing)
{
    SHOWinteraction(*app);
    ASSERT_EQ(window(3).Label1->text(), QStringLiteral("4. NEXT VIDEO"));
    list().removeEntry(3);
    list().removeEntry(2);
    const auto seeks = player().seeks.size();
    window(3).DOcommandACTION();
    EXPECT_EQ(player().seeks.size(), seeks);
    EXPECT_EQ(app->st.LoadedVideo, video);
    EXPECT_EQ(window(3).Label1->text(), QString());  // rebuilt for the list as it is now

    // An empty caption whose tool tip still holds an index does nothing either.
    window(1).Label1->setText(QString());
    window(1).DOcommandACTION();
    EXPECT_EQ(player().seeks.size(), seeks);
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

} // namespace
} // namespace vv::test
