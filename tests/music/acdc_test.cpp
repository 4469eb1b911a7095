// The ACDC simulator on fake players with scripted random numbers: entering
// a file (start, continue, end), the tick's fade, cuts and song changes.

#include "tests/music/print_qstring.h"
#include "music/acdc.h"
#include "music/acdc_tables.h"
#include "music/music_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"

namespace vv::test {
namespace {

class AcdcTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        app->st.MP3Dir = dir() + QStringLiteral("Musik/");
        concert = addVideo(QStringLiteral("Musik/acdc-nobulls2.avi"), 122500, 4900.0, 25.0);
    }

    // A song the fake plays at 10 steps a second.
    QString addSong(const QString& name, double seconds)
    {
        return addVideo(QStringLiteral("Musik/") + name, static_cast<int>(seconds * 10), seconds, 10.0);
    }
    // Scans the music directory (the window stays hidden) and starts the
    // first song as a double click does.
    void scanAndStart(const std::deque<float>& draws = {})
    {
        mp3().SCANMEDIA(app->st.MP3Dir);
        services.randoms = draws;
        start(0);
    }
    void start(int row)
    {
        mp3().select(row);
        mp3().InitializeSound(mp3().selectedPath());
    }
    void at(double seconds) { music().setFramePosition(seconds * 10); }
    void tick() { ACDCtick(*app); }
    // The video's seeks since the last mark().
    void mark() { seeksBefore = player().seeks.size(); }
    QList<double> seeks() { return player().seeks.mid(seeksBefore); }

    MusicWindow& mp3() { return app->FormMP3(); }
    FakePlayer& music() { return static_cast<FakePlayer&>(app->music()); }

    QString concert;
    qsizetype seeksBefore = 0;
};

TEST_F(AcdcTest, AnAcdcSongLoadsTheConcertVideoAtAnIntroSceneAndTheNextContinuesIt)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    scanAndStart({0.0f, 0.5f});  // intro 1 for the load, intro 8 at the entry step
    EXPECT_TRUE(app->st.ACDCactive);
    EXPECT_EQ(app->st.LoadedVideo, concert);
    EXPECT_EQ(player().seeks, (QList<double>{2984, 59567}));
    EXPECT_EQ(services.randomizeCalls, 2);  // reseeded for every draw

    // A second ACDC song: no second load, a new intro, the sound restored.
    player().setMute(true);
    player().setVolume(-3100);
    app->st.ACDCstate = AcdcEnding;
    const qsizetype opened = player().opened.size();
    mark();
    services.randoms = {0.2f};  // intro 3
    start(1);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(seeks(), QList<double>{14319});
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(player().volume(), -600);
}

TEST_F(AcdcTest, AnyOtherSongEndsTheSimulationAndSimplyPlays)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    const QString tone = addSong(QStringLiteral("tone.wav"), 10);
    scanAndStart();
    mark();
    const int draws = services.randomDraws;
    start(1);
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(infoText(), QStringLiteral("ACDC SIMULATION OFF"));
    EXPECT_EQ(app->MessageDisplay().caption(), QStringLiteral("EXITING ACDC SIMULATOR - BASTARD!"));
    EXPECT_EQ(app->st.LoadedVideo, concert);  // the video stays
    EXPECT_EQ(music().fileName(), tone);

    // The tick then leaves everything alone; so does the end of the song.
    at(10);
    tick();
    EXPECT_EQ(seeks(), QList<double>{});
    EXPECT_EQ(music().opened.size(), 2);
    EXPECT_EQ(services.randomDraws, draws);
}

TEST_F(AcdcTest, WithoutAPlayableConcertVideoTheMusicPlaysAndNoSimulationStarts)
{
    QFile::remove(concert);
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanAndStart();
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(infoText(), ConcertVideoMissingText);
    EXPECT_TRUE(player().opened.isEmpty());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
    at(40);
    tick();  // nothing runs at the ticks either
    EXPECT_EQ(music().fileName(), song);

    // A concert video the player cannot open starts no simulation either.
    concert = addVideo(QStringLiteral("Musik/acdc-nobulls2.avi"), 122500, 4900.0, 25.0);
    catalogue.remove(concert);
    start(0);
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
}

// Five seconds into the song the sound fades over ten ticks, then cuts to
// an action scene; fifteen seconds before its end, once, a closing scene.
TEST_F(AcdcTest, AcrossASongTheSoundFadesThenActionAndClosingScenesComeOnce)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanAndStart();
    mark();
    at(5.0);  // not yet past five seconds
    tick();
    EXPECT_EQ(player().volume(), -600);
    at(5.5);
    for (int i = 0; i < 9; ++i)
        tick();
    EXPECT_EQ(player().volume(), -2850);
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(seeks(), QList<double>{});
    services.randoms = {0.65f};  // action scene 7
    tick();
    EXPECT_TRUE(player().mute());
    tick();  // muted for the rest of the song: no more fading, no more cuts
    EXPECT_EQ(player().volume(), -3100);
    EXPECT_EQ(seeks(), QList<double>{60320});

    at(25.0);
    tick();
    services.randoms = {0.0f};  // closing scene 1: ten seconds before 8876
    at(25.5);
    tick();
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("ending"));
    at(30);
    tick();
    EXPECT_EQ(seeks(), (QList<double>{60320, 8876 - 250}));
}

TEST_F(AcdcTest, OneTickFadesClosesAndStartsTheNextSongInThisOrder)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 10);
    const QString second = addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    scanAndStart();
    player().setVolume(-2850);
    const qsizetype opened = player().opened.size();
    mark();
    services.randoms = {0.0f, 0.0f, 0.0f};  // action 1, closing 1, intro 1
    at(10);  // the song has reached its end
    tick();
    EXPECT_EQ(seeks(), (QList<double>{3200, 8876 - 250, 2984}));
    EXPECT_EQ(music().fileName(), second);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("2 OF 2"));
    EXPECT_EQ(player().opened.size(), opened);  // the new song starts with the concert's sound
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(player().volume(), -600);
}

TEST_F(AcdcTest, ASingleAcdcSongIsReplayedWithANewIntroScene)
{
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 20);
    scanAndStart();
    player().setMute(true);
    app->st.ACDCstate = AcdcEnding;
    mark();
    services.randoms = {0.3f};  // intro 5
    at(20);
    tick();
    EXPECT_EQ(seeks(), QList<double>{28787});
    EXPECT_EQ(music().opened, (QStringList{song, song}));
}

TEST_F(AcdcTest, TicksWhileASongIsBeingEnteredWait)
{
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    // Window events run during the load and every seek; here a tick comes
    // due at each seek, before the song itself has been opened.
    int ticks = 0;
    QObject::connect(&player(), &MediaPlayer::positionChanged, [&] {
        ++ticks;
        tick();
    });
    scanAndStart();
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(player().seeks.size(), 2);  // the load and the intro, nothing else
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("starting"));
    EXPECT_EQ(music().opened, QStringList{song});
    EXPECT_EQ(mp3().lstFoundFiles2->currentRow(), 0);
}

} // namespace
} // namespace vv::test
