// The command line and the video directory of a run started on a file.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace vv::test {
namespace {

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
        {{"clip.avi"}, A::Run, root + "/clip.avi", {}, {}},
        {{"./Videos/../clip.avi"}, A::Run, root + "/clip.avi", {}, {}},
        {{root + "/Videos"}, A::Run, {}, root + "/Videos/", {}},
        {{"--", "-dash.avi"}, A::Run, root + "/-dash.avi", {}, {}},
        {{"--help", "nothing"}, A::Help, {}, {}, {}},
        {{"--version"}, A::Version, {}, {}, {}},
        {{"--fullscreen", "clip.avi"}, A::Fail, {}, {}, "unknown option '--fullscreen'"},
        {{"-dash.avi"}, A::Fail, {}, {}, "unknown option '-dash.avi'"},
        {{"missing.avi"}, A::Fail, {}, {}, "'missing.avi': no such file or folder"},
        {{"clip.avi", "Videos"}, A::Fail, {}, {}, "one FILE or DIR only, not 2"},
    };
    for (const Row& r : rows) {
        const CommandLine c = parseCommandLine(r.args);
        SCOPED_TRACE(r.args.join(' ').toStdString());
        EXPECT_EQ(c.action, r.action);
        EXPECT_EQ(c.file, r.file);
        EXPECT_EQ(c.directory, r.directory);
        EXPECT_EQ(c.error, r.error);
    }
    QDir::setCurrent(before);
}

TEST(CommandLineTest, VideoDirectoryOfARunStartedOnAFile)
{
    struct Row {
        QString file, videoDir, expected;
    } const rows[] = {
        {"/v/Sport/run.avi", "/v/", "/v/"},
        {"/v/Sport/run.avi", "/v", "/v"},
        {"/video/run.avi", "/v/", "/video/"},  // a name that only begins alike
        {"/w/run.avi", "/v/", "/w/"},
        {"/w/run.avi", "", "/w/"},
        {"/w/run.avi", "/", "/"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(videoDirectoryFor(r.file, r.videoDir), r.expected) << r.file.toStdString() << " in " << r.videoDir.toStdString();
}

} // namespace
} // namespace vv::test
