// The music window on fake players: the scan of the music directory, the
// position label, starting a file, the playlist step.

#include <QTest>

#include "tests/music/print_qstring.h"
#include "control/control_panel.h"
#include "music/music_window.h"
#include "script/slider_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class MusicWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        app->st.MP3Dir = dir() + QStringLiteral("Musik/");
    }

    // A music file of the given length (the fake plays it at 10 steps a second).
    QString addSong(const QString& relativePath, double seconds = 20.0)
    {
        return addVideo(QStringLiteral("Musik/") + relativePath, static_cast<int>(seconds * 10), seconds, 10.0);
    }

    MusicWindow& mp3() { return app->FormMP3(); }
    FakePlayer& music() { return static_cast<FakePlayer&>(app->music()); }
    QStringList listed()
    {
        QStringList names;
        for (int i = 0; i < mp3().lstFoundFiles2->count(); ++i)
            names << mp3().lstFoundFiles2->item(i)->text();
        return names;
    }
    void doubleClickRow(int row)
    {
        QListWidget* list = mp3().lstFoundFiles2;
        list->setCurrentRow(row);
        list->doItemsLayout();
        const QRect r = list->visualItemRect(list->item(row));
        // A double click is a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
};

TEST_F(MusicWindowTest, ScanListsMusicFilesByTheirPathBelowTheMusicDirectory)
{
    const QString song = addSong(QStringLiteral("Rock/song.mp3"));
    const QString wav = addSong(QStringLiteral("a.wav"));
    addSong(QStringLiteral("Live-ACDC.MP3"));
    addVideo(QStringLiteral("Musik/acdc-nobulls2.avi"));   // videos are no music
    writeFile(QStringLiteral("Musik/notes.txt"), "x");
    app->menu().INITIALIZE();
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_FALSE(app->menu().isVisible());  // the panels make room

    EXPECT_EQ(listed(), (QStringList{"a", "Live-ACDC", "Rock/song"}));
    // Subdirectories first, a directory's own files after them.
    EXPECT_EQ(mp3().lstFoundFiles(), (QStringList{song, wav, dir() + "Musik/Live-ACDC.MP3"}));
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("1 OF 3"));
    EXPECT_EQ(mp3().focusWidget(), mp3().lstFoundFiles2);
    EXPECT_FALSE(app->MessageDisplay().isVisible());  // the scan notice is gone again
}

TEST_F(MusicWindowTest, TheListIsScannedAgainOnlyWhileItIsEmpty)
{
    writeFile(QStringLiteral("Musik/readme.txt"), "x");
    mp3().INITIALIZE(app->st.MP3Dir);
    ASSERT_EQ(mp3().lstFoundFiles2->count(), 0);
    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_Return);  // on an empty list: ignored
    QTest::mouseDClick(mp3().lstFoundFiles2->viewport(), Qt::LeftButton);
    EXPECT_TRUE(music().opened.isEmpty());
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());

    addSong(QStringLiteral("a.wav"));
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(listed(), QStringList{"a"});

    // A new file and a changed music directory do not rescan a filled list.
    addSong(QStringLiteral("b.wav"));
    app->st.MP3Dir = dir();
    app->MessageDisplay().INITIALIZE(QStringLiteral("BEFORE"), 3);
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(listed(), QStringList{"a"});
    EXPECT_EQ(app->MessageDisplay().caption(), QStringLiteral("BEFORE"));  // no scan notice
}

TEST_F(MusicWindowTest, NextFromThePlaylistWrapsAroundAfterTheLastEntry)
{
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), QString());   // an empty list
    const QString a = addSong(QStringLiteral("a.wav"));
    const QString b = addSong(QStringLiteral("b.mp3"));
    const QString c = addSong(QStringLiteral("c.wav"));
    mp3().INITIALIZE(app->st.MP3Dir);

    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), b);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("2 OF 3"));
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), c);
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), a);

    mp3().lstFoundFiles2->setCurrentRow(-1);   // nothing selected: the first
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), a);
}

TEST_F(MusicWindowTest, DoubleClickHidesTheWindowAndPlaysTheFileIndependentOfTheVideo)
{
    addSong(QStringLiteral("a.wav"));
    const QString b = addSong(QStringLiteral("b.wav"));
    const QString video = addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0);
    INITIALIZEvideo(*app, video, 0);
    mp3().INITIALIZE(app->st.MP3Dir);
    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_5);  // keys go to the key map: the middle of the video
    EXPECT_EQ(player().framePosition(), 500);
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT"), -1);

    doubleClickRow(1);

    EXPECT_FALSE(mp3().isVisible());
    EXPECT_FALSE(app->InfoDisplay().isVisible());   // the overlays are closed
    EXPECT_EQ(music().fileName(), b);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
    EXPECT_EQ(music().positionUnits(), MediaPlayer::Seconds);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);  // the video goes on as it was

    // The music keeps playing while the window is hidden, and a second
    // opening shows the same list.
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(music().fileName(), b);
    EXPECT_EQ(mp3().lstFoundFiles2->currentRow(), 1);
}

TEST_F(MusicWindowTest, EnterPlaysTheFileInTheVideoWindowAsAVideo)
{
    const QString song = addSong(QStringLiteral("Rock/song.mp3"));
    mp3().INITIALIZE(app->st.MP3Dir);
    app->Player().hide();

    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_Return);

    EXPECT_FALSE(mp3().isVisible());
    EXPECT_TRUE(app->Player().isVisible());
    EXPECT_EQ(app->st.ActiveMode, 0);  // the next Esc opens the list again
    EXPECT_EQ(app->st.LoadedVideo, song);
    EXPECT_TRUE(music().fileName().isEmpty());
    // A script is made for it like for any video.
    EXPECT_FALSE(readFile(dir() + QStringLiteral("Musik/Rock/song.txt")).isEmpty());
}

TEST_F(MusicWindowTest, AMissingDirectoryAndAnUnplayableFileAreReported)
{
    const QString broken = writeFile(QStringLiteral("Musik/broken.mp3"), "no music");  // unknown to the player
    mp3().InitializeSound(broken);
    EXPECT_TRUE(music().fileName().isEmpty());
    EXPECT_EQ(infoText(), QStringLiteral("MUSIC FILE CANNOT BE PLAYED!"));

    app->st.MP3Dir = dir() + QStringLiteral("nowhere/");
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(mp3().lstFoundFiles2->count(), 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.front().text.startsWith(QStringLiteral("Cannot read the directory:")));
}

} // namespace
} // namespace vv::test
