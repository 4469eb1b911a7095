// Loading a video and the one seek, on the fake player.

#include <QDir>

#include "control/control_panel.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class LoadingTest : public AppFixture {
protected:
    void SetUp() override { showMainWindow(); }
    ControlPanel& menu() { return app->menu(); }
    QString playCaption() { return menu().CommandPLAY->text(); }
};

TEST_F(LoadingTest, MeasuresTheTimeBaseWritesANewScriptAndPlaysFromTheStart)
{
    const QString video = addVideo(QStringLiteral("Sport/run.avi"), 250, 10.0, 25.0);
    app->st.CurrentVideo = QStringLiteral("Sport/run");
    menu().ListSCRIPT->setFocus();
    INITIALIZEvideo(*app, video, 0);
    EXPECT_EQ(player().widget()->window()->focusWidget(), player().widget());  // keys reach the video

    EXPECT_EQ(app->st.LoadedVideo, video);
    EXPECT_EQ(app->st.DurationFrames, 250);
    EXPECT_EQ(app->st.FrameRate, 25);
    EXPECT_EQ(infoText(), QStringLiteral("LOADING \rSport/run..."));

    EXPECT_EQ(app->st.ScriptFile, dir() + QStringLiteral("Sport/run.txt"));
    EXPECT_EQ(readFile(app->st.ScriptFile),
              QByteArray("!00000 PREVIOUS VIDEO\r\n000000-000000 JUMP Start of video\r\n"
                         "000250-000250 JUMP End of video\r\n999999 NEXT VIDEO\r\n"));

    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
    EXPECT_EQ(playCaption(), QStringLiteral("STOP"));
    EXPECT_TRUE(app->Player().Timer1.isActive());
    EXPECT_TRUE(menu().CommandMarkIN->isEnabled());
    EXPECT_EQ(player().opened, (QStringList{QString(), video}));  // unloaded first, then opened
}

TEST_F(LoadingTest, FrameRateIsFramesPerRoundedSecondOrTheStreamRateForVeryShortVideos)
{
    struct Case {
        int frames;
        double seconds, fps;
        int expectedSeconds, expectedRate;
    } const cases[] = {
        {250, 10.0, 25.0, 10, 25},
        {299, 9.977, 29.97, 10, 30},
        {12, 0.48, 25.0, 0, 25},  // half a second: no division by zero
    };
    for (const Case& c : cases) {
        const QString video = addVideo(QStringLiteral("v%1.avi").arg(c.frames), c.frames, c.seconds, c.fps);
        INITIALIZEvideo(*app, video, 0);
        EXPECT_EQ(app->st.DurationSeconds, c.expectedSeconds) << c.frames;
        EXPECT_EQ(app->st.FrameRate, c.expectedRate) << c.frames;
    }
}

TEST_F(LoadingTest, AnExistingScriptIsKeptByteForByteTheStartFrameClampedAndASheetMeansQuickLoading)
{
    const QString video = addVideo(QStringLiteral("clip.avi"), 250);
    const QByteArray script("!00000 PREVIOUS VIDEO\r\n000100-000300 LOOP Caf\xe9\r\n999999 NEXT VIDEO\r\n");
    const QString file = writeFile(QStringLiteral("clip.txt"), script);
    writeFile(QStringLiteral("clip.bmp"), QByteArray("BM"));
    app->st.CurrentVideo = QStringLiteral("clip");
    INITIALIZEvideo(*app, video, 100000);
    EXPECT_EQ(menu().ListSCRIPT->count(), 3);
    EXPECT_EQ(readFile(file), script);
    EXPECT_EQ(player().seeks.last(), 250.0);
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING \r")));
    // Loading the loaded video again reopens it at the given frame.
    INITIALIZEvideo(*app, video, 120);
    EXPECT_EQ(player().opened, (QStringList{QString(), video, QString(), video}));
    EXPECT_EQ(player().framePosition(), 120);
}

TEST_F(LoadingTest, AFileThePlayerCannotOpenIsReportedAndNothingIsWrittenForIt)
{
    const QString good = addVideo(QStringLiteral("good.avi"));
    INITIALIZEvideo(*app, good, 0);
    const QString bad = writeFile(QStringLiteral("bad.avi"), QByteArray("garbage"));

    INITIALIZEvideo(*app, bad, 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes.back().text.contains(bad));
    EXPECT_TRUE(app->st.LoadedVideo.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir() + QStringLiteral("bad.txt")));
    EXPECT_EQ(playCaption(), QStringLiteral("PLAY"));
    EXPECT_FALSE(app->Player().Timer1.isActive());
    EXPECT_FALSE(player().pictureVisible());  // the good video's last picture is gone

    // Empty and too short paths load nothing, and do not unload.
    INITIALIZEvideo(*app, good, 0);
    const auto opened = player().opened.size();
    INITIALIZEvideo(*app, QString(), 0);
    INITIALIZEvideo(*app, QStringLiteral("ab"), 0);
    EXPECT_EQ(player().opened.size(), opened);
    EXPECT_EQ(app->st.LoadedVideo, good);
}

TEST_F(LoadingTest, TheSeekClampsUpdatesTheTimeAndResumesOnlyWhenMeantToPlay)
{
    const QString video = addVideo(QStringLiteral("clip.avi"), 250);
    INITIALIZEvideo(*app, video, 0);

    GOTOposition(*app, -5);
    EXPECT_EQ(player().framePosition(), 0);
    GOTOposition(*app, 350);
    EXPECT_EQ(player().framePosition(), 250);
    GOTOposition(*app, 234);
    EXPECT_EQ(app->TimeDisplay().caption(), QStringLiteral("00:00:09-09"));
    EXPECT_EQ(app->TimeDisplay().Label->toolTip(), QStringLiteral(" 234Frame"));

    // Halted, a seek does not start playback.
    player().stop();
    menu().CommandPLAY->setText(QStringLiteral("PLAY"));
    GOTOposition(*app, 10);
    EXPECT_NE(player().playState(), MediaPlayer::Playing);
    menu().CommandPLAY->setText(QStringLiteral("STOP"));
    GOTOposition(*app, 20);
    EXPECT_EQ(player().playState(), MediaPlayer::Playing);
}

TEST(BesideTheVideo, ClipsOfOneNameShareOneScript)
{
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.webm")), QStringLiteral("/v/clip.txt"));
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.mpg")), QStringLiteral("/v/clip.txt"));
    EXPECT_EQ(scriptFileName(QStringLiteral("/v/clip.MP4")), QStringLiteral("/v/clip.txt"));
}

} // namespace
} // namespace vv::test
