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

    QString addSong(const QString& name, double seconds)
    {
        return addVideo(QStringLiteral("Musik/") + name, static_cast<int>(seconds * 10), seconds, 10.0);
    }
    // Scans the music directory (the window stays hidden).
    void scanMusic()
    {
        mp3().SCANMEDIA(app->st.MP3Dir);
    }
    // Starts display entry row as a double click does.
    void start(int row)
    {
        mp3().select(row);
        mp3().InitializeSound(mp3().selectedPath());
    }
    void at(double seconds) { music().setFramePosition(seconds * 10); }
    void tick() { ACDCtick(*app); }
    QList<double> seeksSince(qsizetype n) { return player().seeks.mid(n); }

    MusicWindow& mp3() { return app->FormMP3(); }
    FakePlayer& music() { return static_cast<FakePlayer&>(app->music()); }

    QString concert;
};

TEST_F(AcdcTest, AnAcdcSongLoadsTheConcertVideoAtARandomIntroSceneWithItsSound)
{
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    addSong(QStringLiteral("Rock/live.mp3"), 20);
    scanMusic();
    services.randoms = {0.0f, 0.5f};   // intro 1 for the load, intro 8 at the entry step

    start(0);

    EXPECT_TRUE(app->st.ACDCactive);
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("starting"));
    EXPECT_EQ(app->st.LoadedVideo, concert);
    EXPECT_EQ(app->st.CurrentVideo, concert);   // named in the loading notice
    ASSERT_FALSE(player().seeks.isEmpty());
    EXPECT_EQ(player().seeks.first(), 2984);
    EXPECT_EQ(player().seeks.last(), 59567);
    EXPECT_EQ(services.randomizeCalls, 2);   // reseeded for every draw
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(player().volume(), -600);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    // The notice of the start is gone once the video is loaded.
    EXPECT_EQ(app->MessageDisplay().caption(), QStringLiteral("INITALIZING ACDC SIMULATOR"));
    EXPECT_FALSE(app->MessageDisplay().isVisible());
    EXPECT_EQ(music().fileName(), song);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
}

TEST_F(AcdcTest, AnIntroDrawOfFourteenStartsTheVideoAtFrameZero)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();
    services.randoms = {0.99f, 0.999f};
    start(0);
    ASSERT_FALSE(player().seeks.isEmpty());
    EXPECT_EQ(player().seeks.first(), 0);
    EXPECT_EQ(player().framePosition(), 0);
}

TEST_F(AcdcTest, ASecondAcdcSongContinuesWithoutReloadingAndRestoresTheSound)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    scanMusic();
    start(0);
    player().setMute(true);
    player().setVolume(-3100);
    app->st.ACDCstate = AcdcEnding;
    const qsizetype opened = player().opened.size();
    const qsizetype seeks = player().seeks.size();
    services.randoms = {0.2f};   // intro 3

    start(1);

    EXPECT_EQ(player().opened.size(), opened);   // no second load
    EXPECT_EQ(seeksSince(seeks), QList<double>{14319});
    EXPECT_TRUE(app->st.ACDCactive);
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("starting"));
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(player().volume(), -600);
}

TEST_F(AcdcTest, AnyOtherSongEndsTheSimulationAndSimplyPlays)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    const QString tone = addSong(QStringLiteral("tone.wav"), 10);
    scanMusic();
    start(0);
    const qsizetype seeks = player().seeks.size();

    start(1);

    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(infoText(), QStringLiteral("ACDC SIMULATION OFF"));
    EXPECT_EQ(app->MessageDisplay().caption(), QStringLiteral("EXITING ACDC SIMULATOR - BASTARD!"));
    EXPECT_TRUE(app->MessageDisplay().isVisible());
    EXPECT_EQ(seeksSince(seeks), QList<double>{});
    EXPECT_EQ(app->st.LoadedVideo, concert);     // the video stays
    EXPECT_EQ(music().fileName(), tone);

    // The tick then leaves everything alone.
    at(12);
    tick();
    EXPECT_EQ(seeksSince(seeks), QList<double>{});
    EXPECT_EQ(music().fileName(), tone);
}

TEST_F(AcdcTest, OtherSongsWithoutASimulationChangeNothingInTheVideo)
{
    addSong(QStringLiteral("live.mp3"), 20);
    scanMusic();
    start(0);
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_TRUE(player().opened.isEmpty());
    EXPECT_NE(infoText(), QStringLiteral("ACDC SIMULATION OFF"));

    // Its end starts nothing: the list advances only in a simulation.
    at(20);
    tick();
    EXPECT_EQ(music().opened.size(), 1);
    EXPECT_EQ(services.randomDraws, 0);
}

TEST_F(AcdcTest, ALoadedConcertVideoWithoutASimulationStaysAsItIs)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();
    INITIALIZEvideo(*app, concert, 100);
    const qsizetype opened = player().opened.size();
    const qsizetype seeks = player().seeks.size();

    start(0);

    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(seeksSince(seeks), QList<double>{});
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
}

TEST_F(AcdcTest, WithoutTheConcertVideoTheMusicPlaysAndNoSimulationStarts)
{
    QFile::remove(concert);
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();

    start(0);

    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(infoText(), ConcertVideoMissingText);
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());
    EXPECT_TRUE(player().opened.isEmpty());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(music().fileName(), song);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);

    // Nothing runs at the ticks either.
    at(40);
    tick();
    EXPECT_EQ(music().fileName(), song);
}

TEST_F(AcdcTest, AConcertVideoThePlayerCannotOpenStartsNoSimulation)
{
    catalogue.remove(concert);   // the file is there, the player refuses it
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();
    start(0);
    EXPECT_FALSE(app->st.ACDCactive);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
}

TEST_F(AcdcTest, FiveSecondsIntoTheSongTheSoundFadesOverTenTicksThenCutsToAnActionScene)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();
    start(0);
    const qsizetype seeks = player().seeks.size();

    at(5.0);   // not yet past five seconds
    tick();
    EXPECT_EQ(player().volume(), -600);

    at(5.5);
    QList<int> volumes;
    for (int i = 0; i < 9; ++i) {
        tick();
        volumes << player().volume();
    }
    EXPECT_EQ(volumes, (QList<int>{-850, -1100, -1350, -1600, -1850, -2100, -2350, -2600, -2850}));
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(seeksSince(seeks), QList<double>{});

    services.randoms = {0.65f};   // action scene 7
    tick();
    EXPECT_EQ(player().volume(), -3100);
    EXPECT_TRUE(player().mute());
    EXPECT_EQ(seeksSince(seeks), QList<double>{60320});

    // Muted for the rest of the song: no more fading, no more cuts.
    tick();
    tick();
    EXPECT_EQ(player().volume(), -3100);
    EXPECT_EQ(seeksSince(seeks), QList<double>{60320});
}

TEST_F(AcdcTest, TheClosingSceneComesOncePerSongFifteenSecondsBeforeItsEnd)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    scanMusic();
    start(0);
    player().setMute(true);   // past the fade
    const qsizetype seeks = player().seeks.size();

    at(25.0);
    tick();
    EXPECT_EQ(seeksSince(seeks), QList<double>{});

    services.randoms = {0.0f};   // closing scene 1: ten seconds before 8876
    at(25.5);
    tick();
    EXPECT_EQ(seeksSince(seeks), QList<double>{8876 - 250});
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("ending"));

    at(30);
    tick();
    EXPECT_EQ(seeksSince(seeks), QList<double>{8876 - 250});
}

TEST_F(AcdcTest, AShortSongClosesAtTheFirstTickAndStillFadesAfterFiveSeconds)
{
    addSong(QStringLiteral("acdc-short.wav"), 8);
    scanMusic();
    start(0);
    const qsizetype seeks = player().seeks.size();

    at(0.5);
    services.randoms = {0.5f};   // closing scene 7
    tick();
    EXPECT_EQ(seeksSince(seeks), QList<double>{59567 - 250});
    EXPECT_EQ(player().volume(), -600);

    at(6);
    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_TRUE(player().mute());
    EXPECT_EQ(seeksSince(seeks).size(), 2);   // and the action scene
}

TEST_F(AcdcTest, OneTickFadesClosesAndStartsTheNextSongInThisOrder)
{
    addSong(QStringLiteral("Live-ACDC.mp3"), 10);
    const QString second = addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    scanMusic();
    start(0);
    player().setVolume(-2850);
    const qsizetype seeks = player().seeks.size();
    const qsizetype opened = player().opened.size();

    services.randoms = {0.0f, 0.0f, 0.0f};   // action 1, closing 1, intro 1
    at(10);   // the song has reached its end
    tick();

    EXPECT_EQ(seeksSince(seeks), (QList<double>{3200, 8876 - 250, 2984}));
    EXPECT_EQ(music().fileName(), second);
    EXPECT_EQ(music().playState(), MediaPlayer::Playing);
    EXPECT_EQ(mp3().lstFoundFiles2->currentRow(), 1);
    EXPECT_EQ(mp3().LabelFile1Count->text(), QStringLiteral("2 OF 2"));
    EXPECT_EQ(player().opened.size(), opened);
    // The new song starts with the concert's sound and a new phase.
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("starting"));
    EXPECT_FALSE(player().mute());
    EXPECT_EQ(player().volume(), -600);
}

TEST_F(AcdcTest, ASingleAcdcSongIsReplayedWithANewIntroScene)
{
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 20);
    scanMusic();
    start(0);
    player().setMute(true);
    app->st.ACDCstate = AcdcEnding;
    const qsizetype seeks = player().seeks.size();

    services.randoms = {0.3f};   // intro 5
    at(20);
    tick();

    EXPECT_EQ(seeksSince(seeks), QList<double>{28787});
    EXPECT_EQ(music().fileName(), song);
    EXPECT_EQ(music().framePosition(), 0);
    EXPECT_EQ(music().opened.size(), 2);
    EXPECT_TRUE(app->st.ACDCactive);
}

TEST_F(AcdcTest, TicksWhileASongIsBeingEnteredWait)
{
    const QString song = addSong(QStringLiteral("Live-ACDC.mp3"), 40);
    addSong(QStringLiteral("Live-acdc-2.mp3"), 30);
    scanMusic();
    // Window events run during the load and every seek; here a tick comes
    // due at each seek, before the song itself has been opened.
    int ticks = 0;
    QObject::connect(&player(), &MediaPlayer::positionChanged, [&] {
        ++ticks;
        tick();
    });
    start(0);
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(player().seeks.size(), 2);   // the load and the intro, nothing else
    EXPECT_EQ(app->st.ACDCstate, QStringLiteral("starting"));
    EXPECT_EQ(music().opened, QStringList{song});
    EXPECT_EQ(mp3().lstFoundFiles2->currentRow(), 0);
}

} // namespace
} // namespace vv::test
