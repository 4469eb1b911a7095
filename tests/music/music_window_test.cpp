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

    mp3().INITIALIZE(app->st.MP3Dir);

    EXPECT_EQ(listed(), (QStringList{"a", "Live-ACDC", "Rock/song"}));
    // Subdirectories first, a directory's own files after them.
    EXPECT_EQ(mp3().lstFoundFiles(), (QStringList{song, wav, dir() + "Musik/Live-ACDC.MP3"}));
    EXPECT_EQ(mp3().lstFoundFiles2->currentRow(), 0);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("1 OF 3"));
    EXPECT_TRUE(mp3().isVisible());
    EXPECT_EQ(app->st.ActiveMode, 3);
    EXPECT_FALSE(app->MessageDisplay().isVisible());  // the scan notice is gone again
}

TEST_F(MusicWindowTest, OpeningHidesThePanelSliderAndScenesAndCentresOverTheVideo)
{
    addSong(QStringLiteral("a.wav"));
    app->menu().INITIALIZE();
    app->FormSlider().INITIALIZE();
    mp3().INITIALIZE(app->st.MP3Dir);

    EXPECT_FALSE(app->menu().isVisible());
    EXPECT_FALSE(app->FormSlider().isVisible());
    const PlayerWindow& player = app->Player();
    EXPECT_EQ(mp3().x(), (player.width() - mp3().width()) / 2);
    EXPECT_EQ(mp3().y(), (player.height() - mp3().height()) / 2);
    EXPECT_EQ(mp3().focusWidget(), mp3().lstFoundFiles2);
}

TEST_F(MusicWindowTest, TheListIsScannedOnceAndKeptWhileItHoldsEntries)
{
    addSong(QStringLiteral("a.wav"));
    mp3().INITIALIZE(app->st.MP3Dir);
    ASSERT_EQ(mp3().found().count(), 1);
    mp3().hide();

    // A new file and a changed music directory do not rescan a filled list.
    addSong(QStringLiteral("b.wav"));
    app->st.MP3Dir = dir();
    app->MessageDisplay().INITIALIZE(QStringLiteral("BEFORE"), 3);
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(listed(), QStringList{"a"});
    EXPECT_EQ(app->MessageDisplay().caption(), QStringLiteral("BEFORE"));   // no scan notice
}

TEST_F(MusicWindowTest, AnEmptyListIsScannedAgainAtTheNextOpening)
{
    writeFile(QStringLiteral("Musik/readme.txt"), "x");
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_TRUE(mp3().found().isEmpty());
    EXPECT_EQ(mp3().lstFoundFiles2->count(), 0);

    addSong(QStringLiteral("c.wav"));
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(listed(), QStringList{"c"});
}

TEST_F(MusicWindowTest, AMissingMusicDirectoryIsReportedAndLeavesAnEmptyList)
{
    app->st.MP3Dir = dir() + QStringLiteral("nowhere/");
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(mp3().lstFoundFiles2->count(), 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.front().text.startsWith(QStringLiteral("Cannot read the directory:")));
    EXPECT_EQ(services.endRequests, 0);
}

TEST_F(MusicWindowTest, PositionLabelFollowsTheSelection)
{
    for (int i = 1; i <= 12; ++i)
        addSong(QStringLiteral("s%1.wav").arg(i, 2, 10, QLatin1Char('0')));
    mp3().INITIALIZE(app->st.MP3Dir);
    mp3().lstFoundFiles2->setCurrentRow(4);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("5 OF 12"));
    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_Down);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("6 OF 12"));
    EXPECT_EQ(musicPositionText(11, 12), QStringLiteral("12 OF 12"));
}

TEST_F(MusicWindowTest, NextFromThePlaylistWrapsAroundAfterTheLastEntry)
{
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), QString());   // an empty list
    const QString a = addSong(QStringLiteral("a.wav"));
    const QString b = addSong(QStringLiteral("b.mp3"));
    const QString c = addSong(QStringLiteral("c.wav"));
    mp3().INITIALIZE(app->st.MP3Dir);

    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), b);
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), c);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("3 OF 3"));
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), a);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("1 OF 3"));

    mp3().lstFoundFiles2->setCurrentRow(-1);   // nothing selected: the first
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), a);
}

TEST_F(MusicWindowTest, DoubleClickHidesTheWindowAndPlaysTheFileIndependentOfTheVideo)
{
    addSong(QStringLiteral("a.wav"));
    const QString b = addSong(QStringLiteral("b.wav"));
    const QString video = addVideo(QStringLiteral("clip.avi"));
    INITIALIZEvideo(*app, video, 0);
    mp3().INITIALIZE(app->st.MP3Dir);
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT"), -1);

    doubleClickRow(1);

    EXPECT_FALSE(mp3().isVisible());
    EXPECT_FALSE(app->InfoDisplay().isVisible());   // the overlays are closed
    EXPECT_EQ(app->st.ActiveMode, 0);
    EXPECT_EQ(music().fileName(), b);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
    EXPECT_EQ(music().positionUnits(), MediaPlayer::Seconds);
    // The video goes on as it was.
    EXPECT_EQ(player().fileName(), video);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    EXPECT_FALSE(app->st.ACDCactive);

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
    EXPECT_EQ(app->st.CurrentVideo, song);
    EXPECT_EQ(app->st.LoadedVideo, song);
    EXPECT_EQ(player().fileName(), song);
    EXPECT_TRUE(music().fileName().isEmpty());
    // A script is made for it like for any video.
    EXPECT_FALSE(readFile(dir() + QStringLiteral("Musik/Rock/song.txt")).isEmpty());
}

TEST_F(MusicWindowTest, DoubleClickAndEnterOnAnEmptyListAreIgnored)
{
    writeFile(QStringLiteral("Musik/readme.txt"), "x");
    mp3().INITIALIZE(app->st.MP3Dir);
    ASSERT_EQ(mp3().lstFoundFiles2->count(), 0);

    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_Return);
    QTest::mouseDClick(mp3().lstFoundFiles2->viewport(), Qt::LeftButton);

    EXPECT_TRUE(mp3().isVisible());
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());
    EXPECT_TRUE(music().opened.isEmpty());
}

TEST_F(MusicWindowTest, KeysOfTheListGoToTheKeyDispatcher)
{
    addSong(QStringLiteral("a.wav"));
    const QString video = addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0);
    INITIALIZEvideo(*app, video, 0);
    mp3().INITIALIZE(app->st.MP3Dir);

    QTest::keyClick(mp3().lstFoundFiles2, Qt::Key_5);   // the middle of the video
    EXPECT_EQ(player().framePosition(), 500);
    EXPECT_EQ(infoText(), QStringLiteral("JUMP INDEX 5"));
}

TEST_F(MusicWindowTest, AnUnplayableFileIsReportedOnTheInformationDisplay)
{
    const QString broken = writeFile(QStringLiteral("Musik/broken.mp3"), "no music");  // unknown to the player
    mp3().INITIALIZE(app->st.MP3Dir);
    mp3().InitializeSound(broken);
    EXPECT_TRUE(music().fileName().isEmpty());
    EXPECT_EQ(infoText(), QStringLiteral("MUSIC FILE CANNOT BE PLAYED!"));
}

} // namespace
} // namespace vv::test
