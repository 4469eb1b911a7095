// The music window and the ACDC simulator on fake players with scripted
// random numbers: the scan of the music directory, starting a file, the
// playlist step; what the ticks do that the real-player run leaves out; the
// simulator's tables and draws.

#include <QFile>
#include <QTest>
#include <cmath>

#include "music/acdc.h"
#include "music/acdc_tables.h"
#include "music/music_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class MusicTest : public AppFixture {
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
    QString addConcert() { return concert = addVideo(QStringLiteral("Musik/acdc-nobulls2.avi"), 122500, 4900.0, 25.0); }
    // Starts the song in the row as a double click does.
    void start(int row, const std::deque<float>& draws = {})
    {
        services.randoms = draws;
        mp3().select(row);
        mp3().InitializeSound(mp3().selectedPath());
    }
    // Puts the song at a position, with the draws to come, and ticks.
    void tickAt(double seconds, const std::deque<float>& draws = {})
    {
        services.randoms = draws;
        music().setFramePosition(seconds * 10);
        ACDCtick(*app);
    }
    MusicWindow& mp3() { return app->FormMP3(); }
    FakePlayer& music() { return static_cast<FakePlayer&>(app->music()); }

    QString concert;
};

// The list is filled only while it is empty; the playlist's next entry
// wraps around after the last. Keys go to the key map; a double click plays
// the file beside the video, which goes on as it was; Enter plays it in the
// video window as a video.
TEST_F(MusicTest, ScanPlaylistDoubleClickAndEnter)
{
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), QString());  // an empty list
    const QString song = addSong(QStringLiteral("Rock/song.mp3"));
    const QString wav = addSong(QStringLiteral("a.wav"));
    const QString live = addSong(QStringLiteral("Live-ACDC.MP3"));
    INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0), 0);
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(mp3().found().names(), (QStringList{"a", "Live-ACDC", "Rock/song"}));
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("1 OF 3"));
    EXPECT_EQ((QStringList{mp3().getNEXTfromPLAYLIST(), mp3().getNEXTfromPLAYLIST(), mp3().getNEXTfromPLAYLIST()}),
              (QStringList{live, song, wav}));
    QListWidget* list = mp3().lstFoundFiles2;
    list->setCurrentRow(-1);  // nothing selected: the first
    EXPECT_EQ(mp3().getNEXTfromPLAYLIST(), wav);

    QTest::keyClick(list, Qt::Key_5);  // the middle of the video
    EXPECT_EQ(player().framePosition(), 500);
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT"), -1);
    // A double click is a click followed by the double-click event.
    list->setCurrentRow(2);
    list->doItemsLayout();
    const QPoint row = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    EXPECT_FALSE(mp3().isVisible() || app->InfoDisplay().isVisible());  // the overlays are closed too
    EXPECT_EQ(music().fileName(), song);
    EXPECT_EQ((std::vector{music().playState(), player().playState()}), std::vector<int>(2, MediaPlayer::Playing));

    music().setFileName(QString());
    app->Player().hide();
    addSong(QStringLiteral("b.wav"));
    app->st.MP3Dir = dir();
    mp3().INITIALIZE(app->st.MP3Dir);
    EXPECT_EQ(mp3().found().count(), 3);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(!mp3().isVisible() && app->Player().isVisible() && music().fileName().isEmpty());
    EXPECT_EQ(app->st.ActiveMode, 0);  // the next Esc opens the list again
    EXPECT_EQ(app->st.LoadedVideo, song);
}

// Ticks that come due while a song is entered (the concert video loading,
// every seek) wait. Then what the real-player run leaves out: at five seconds
// the fade has not begun; fifteen seconds before the end a closing scene
// comes, once; a single ACDC song is replayed from a new intro scene, the
// video not reloaded.
TEST_F(MusicTest, TicksWaitWhileASongIsEnteredTheClosingSceneComesOnceAndASingleSongIsReplayed)
{
    addConcert();
    const QString first = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    mp3().SCANMEDIA(app->st.MP3Dir);
    int ticks = 0;
    const QMetaObject::Connection ticking = QObject::connect(&player(), &MediaPlayer::positionChanged, [&] {
        ++ticks;
        ACDCtick(*app);
    });
    start(0, {0.0f, 0.5f});  // intro 1 for the load, intro 8 at the entry step
    QObject::disconnect(ticking);
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(player().seeks, (QList<double>{2984, 59567}));
    EXPECT_EQ(services.randomizeCalls, 2);  // reseeded for every draw

    const qsizetype loads = player().opened.size();
    player().seeks.clear();
    tickAt(5.0);
    EXPECT_EQ(player().volume(), -600);
    tickAt(25.0);
    tickAt(25.5, {0.0f});  // closing scene 1: ten seconds before 8876
    tickAt(30);
    tickAt(40, {0.3f});  // intro 5
    EXPECT_EQ(player().seeks, (QList<double>{8876 - 250, 28787}));
    EXPECT_EQ(music().opened, (QStringList{first, first}));
    EXPECT_EQ(player().opened.size(), loads);
}

// A missing directory and a file the player cannot play are reported. Without
// a concert video the player can open, or with any other song, the music
// plays alone: no simulation, no seeks, no draws, at the ticks neither.
TEST_F(MusicTest, AMissingDirectoryAndAnUnplayableFileAreReportedAndWithoutAConcertVideoTheMusicPlaysAlone)
{
    app->st.MP3Dir = dir() + QStringLiteral("nowhere/");
    mp3().INITIALIZE(app->st.MP3Dir);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.front().text.startsWith(QStringLiteral("Cannot read the directory:")));
    const QString broken = writeFile(QStringLiteral("Musik/broken.mp3"), "no music");  // unknown to the player
    mp3().InitializeSound(broken);
    EXPECT_TRUE(music().fileName().isEmpty());
    EXPECT_EQ(infoText(), QStringLiteral("MUSIC FILE CANNOT BE PLAYED!"));
    QFile::remove(broken);

    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    const QString tone = addSong(QStringLiteral("tone.wav"), 10);
    app->st.MP3Dir = dir() + QStringLiteral("Musik/");
    mp3().SCANMEDIA(app->st.MP3Dir);
    start(0);
    EXPECT_EQ(infoText(), ConcertVideoMissingText);
    catalogue.remove(addConcert());
    start(0);
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);

    catalogue.insert(concert, FakeMedia{122500, 4900.0, 25.0});
    start(0);
    ASSERT_TRUE(app->st.ACDCactive);
    player().seeks.clear();
    const int draws = services.randomDraws;
    start(1);
    EXPECT_EQ(infoText(), QStringLiteral("ACDC SIMULATION OFF"));
    EXPECT_EQ(app->st.LoadedVideo, concert);  // the video stays
    tickAt(10);  // the tick then leaves everything alone; so does the end of the song
    EXPECT_TRUE(player().seeks.isEmpty());  // not == {}: empty QLists compare with memcmp(nullptr)
    EXPECT_EQ(music().opened.back(), tone);
    EXPECT_EQ(services.randomDraws, draws);
}

// The tables and draws themselves.
TEST(AcdcTables, DrawsAndScenesStayInsideTheirTables)
{
    struct Case {
        float r;
        int count;
        int k;
    } const draws[] = {
        {0.0f, 14, 1},  {0.0714f, 14, 1} /* just below 1/14 */, {1.0f / 14.0f, 14, 2} /* exactly 1/14 in floats */,
        {0.35f, 10, 4}, {0.9999999f, 14, 14} /* the largest value below 1 */,
        // A generator that misbehaves, or an empty table, never reaches outside.
        {1.0f, 14, 14}, {-0.25f, 10, 1},  {std::nanf(""), 12, 1}, {0.5f, 0, 1},
    };
    for (const Case& c : draws)
        EXPECT_EQ(acdcDraw(c.r, c.count), c.k) << "r=" << c.r << " count=" << c.count;

    EXPECT_EQ(acdcIntroScene(13), 122308);
    // A closing scene starts ten seconds before the start of intro scene
    // k + 1, whatever the frame rate.
    for (const std::int16_t rate : {std::int16_t(25), std::int16_t(30), std::int16_t(0)})
        for (int k = 1; k <= 12; ++k)
            EXPECT_EQ(acdcClosingScene(k, rate), acdcIntroScene(k + 1) - 10 * rate) << "k " << k << " rate " << rate;
    // Entries outside a table are held to its ends.
    EXPECT_EQ(acdcIntroScene(0), 2984);
    EXPECT_EQ(acdcIntroScene(15), 0);  // 14, the very start of the video
    EXPECT_EQ(acdcActionScene(11), 109770);
}

TEST(AcdcTables, FilesTakePartByAcdcInTheirPathAndTheConcertVideoLiesBesideThem)
{
    const std::pair<const char*, bool> cases[] = {
        {"/m/Live-ACDC.mp3", true}, {"/music/AcDc/Back in Black.wav", true} /* the folder counts too */,
        {"/m/ac-dc.mp3", false},    {"", false},
    };
    for (const auto& [path, takesPart] : cases)
        EXPECT_EQ(acdcTakesPart(QString::fromUtf8(path)), takesPart) << path;

    EXPECT_EQ(concertVideoPath(QStringLiteral("/home/a/Musik//")), QStringLiteral("/home/a/Musik/acdc-nobulls2.avi"));
    EXPECT_EQ(concertVideoPath(QStringLiteral("/")), QStringLiteral("/acdc-nobulls2.avi"));
}

} // namespace
} // namespace vv::test
