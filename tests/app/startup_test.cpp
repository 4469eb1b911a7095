// Start-up and the settings file, on fakes; the command line.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "control/control_panel.h"
#include "library/video_selection_window.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class StartupTest : public AppFixture {
protected:
    void SetUp() override { app->executableDir = dir(); }
    QString settingsPath() { return dir() + QStringLiteral("settings.ini"); }
};

TEST_F(StartupTest, FirstRunWritesTheDefaultSettingsWarnsAndOpensTheSetup)
{
    ASSERT_TRUE(Main(*app));
    EXPECT_EQ(readFile(settingsPath()), QByteArray(" 330 \r\n 150 \r\n 6045 \r\n 5355 \r\n\r\n\r\n\r\n"));
    ASSERT_GE(services.boxes.size(), 2u);
    EXPECT_TRUE(services.boxes[0].text.startsWith(QStringLiteral("VARDELLVISION 2001\r")));
    EXPECT_TRUE(services.boxes[1].text.startsWith(QStringLiteral("ACHTUNG: Es wurde noch kein Verzeichnis")));
    EXPECT_TRUE(app->SETUP().isVisible());
    EXPECT_FALSE(app->menu().CommandPLAY->isEnabled() || app->menu().CommandNextVideo->isEnabled());
    // Three quarters of the outer width.
    EXPECT_EQ(std::pair(app->MDI().widthPx(), app->Player().height()), std::pair(768, 576));
}

TEST_F(StartupTest, AFileOnTheCommandLinePlaysAtOnceWithItsFolderAsThePlaylistForThisRunOnly)
{
    addVideo(QStringLiteral("Videos/intro.avi"));
    addVideo(QStringLiteral("Other/a.avi"));
    const QString file = addVideo(QStringLiteral("Other/b.avi"));
    const QByteArray settings = " 0 \r\n 15 \r\n 9000 \r\n 6000 \r\n" + (dir() + "Videos/").toUtf8() + "\r\n\r\n\r\n";
    writeFile(QStringLiteral("settings.ini"), settings);

    ASSERT_TRUE(Main(*app, file));
    EXPECT_TRUE(services.boxes.empty() && !app->MessageDisplay().isVisible());  // no notice
    EXPECT_EQ(player().fileName(), file);
    EXPECT_EQ(app->st.VideoDir, dir() + QStringLiteral("Other/"));
    EXPECT_EQ(app->DATEIMENU().found().names(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(app->DATEIMENU().selectedPath(), file);  // the next video is the one after it
    EXPECT_TRUE(SAVEsettings(*app) && readFile(settingsPath()).contains((dir() + "Videos/").toUtf8()));
}

TEST_F(StartupTest, AMalformedSettingsFileFallsBackFieldByFieldAndIsLeftAsItIs)
{
    const QByteArray broken(" abc \r\n 150 \r\n");
    writeFile(QStringLiteral("settings.ini"), broken);
    ASSERT_TRUE(Main(*app));
    EXPECT_EQ(std::tuple(app->st.VideoLeft, app->st.VideoTop, app->st.VideoWidth), std::tuple(330, 150, 6045));
    EXPECT_EQ(readFile(settingsPath()), broken);
}

TEST(StartupRules, TheScreenMustBeAtLeast767By576)
{
    EXPECT_TRUE(screenLargeEnough(QSize(767, 576)));
    EXPECT_FALSE(screenLargeEnough(QSize(766, 576)) || screenLargeEnough(QSize(800, 575)));
}

TEST(StartupRules, TheProgramDirectoryEndsInOneSlashAndFallsBackToTheConfigHome)
{
    QTemporaryDir temp;
    for (const QString& given : {temp.path(), temp.path() + QStringLiteral("/")})
        EXPECT_EQ(programDirectory(given), temp.path() + QStringLiteral("/"));

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString fallback = programDirectory(temp.path() + QStringLiteral("/does-not-exist"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(fallback, config.path() + QStringLiteral("/vardellvision/"));
    EXPECT_TRUE(QDir(fallback).exists());
}

TEST(CommandLineTest, ReadsOptionsAndOnePath)
{
    QTemporaryDir temp;
    const QString root = temp.path();
    QDir(root).mkpath(QStringLiteral("Videos"));
    QFile(root + QStringLiteral("/clip.avi")).open(QIODevice::WriteOnly);
    QFile(root + QStringLiteral("/-dash.avi")).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    QDir::setCurrent(root);

    using A = CommandLine::Action;
    struct Row {
        QStringList args;
        A action;
        QString file, directory, error;
    };
    const Row rows[] = {
        {{}, A::Run, {}, {}, {}},
        {{"./Videos/../clip.avi"}, A::Run, root + "/clip.avi", {}, {}},
        {{root + "/Videos"}, A::Run, {}, root + "/Videos/", {}},
        {{"--", "-dash.avi"}, A::Run, root + "/-dash.avi", {}, {}},
        {{"--help", "nothing"}, A::Help, {}, {}, {}},
        {{"--version"}, A::Version, {}, {}, {}},
        {{"-dash.avi"}, A::Fail, {}, {}, "unknown option '-dash.avi'"},
        {{"missing.avi"}, A::Fail, {}, {}, "'missing.avi': no such file or folder"},
        {{"clip.avi", "Videos"}, A::Fail, {}, {}, "one FILE or DIR only, not 2"},
    };
    for (const Row& r : rows) {
        const CommandLine c = parseCommandLine(r.args);
        EXPECT_EQ(std::tuple(c.action, c.file, c.directory, c.error), std::tuple(r.action, r.file, r.directory, r.error))
            << r.args.join(' ').toStdString() << ": " << c.file.toStdString() << c.directory.toStdString()
            << c.error.toStdString();
    }
    QDir::setCurrent(before);
}

// The video directory of a run started on a file.
TEST(CommandLineTest, VideoDirectoryOfARunStartedOnAFile)
{
    struct Row {
        QString file, videoDir, expected;
    } const rows[] = {
        {"/v/Sport/run.avi", "/v/", "/v/"},
        {"/video/run.avi", "/v/", "/video/"},  // a name that only begins alike
        {"/w/run.avi", "/v/", "/w/"},
        {"/w/run.avi", "/", "/"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(videoDirectoryFor(r.file, r.videoDir), r.expected) << r.file.toStdString() << " in " << r.videoDir.toStdString();
}

} // namespace
} // namespace vv::test
