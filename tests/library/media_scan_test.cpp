#include "library/media_scan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/support/unprivileged.h"

#include <algorithm>
#include <unistd.h>

namespace vv {
namespace {

class MediaScan : public ::testing::Test {
protected:
    QTemporaryDir tmp;

    // Root of the test tree, without a trailing "/".
    QString root() const { return tmp.path(); }
    QString at(const QString& relative) const { return root() + QLatin1Char('/') + relative; }

    void touch(const QString& relative)
    {
        const QString path = at(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    }
    void mkdir(const QString& relative) { ASSERT_TRUE(QDir().mkpath(at(relative))); }
    void link(const QString& target, const QString& relative)
    {
        ASSERT_TRUE(QFile::link(target, at(relative)));
    }

    // The path list relative to the test root.
    QStringList relativePaths(const FoundMedia& m) const
    {
        QStringList list;
        for (const QString& p : m.paths())
            list << p.mid(root().size() + 1);
        return list;
    }
};

TEST_F(MediaScan, WorkedExample)
{
    touch("Videos/intro.avi");
    touch("Videos/Sport/run.MPG");
    touch("Videos/Alpen/tal.avi");
    const QString videoDir = at("Videos/");   // setting with its trailing separator
    FoundMedia m;
    const ScanResult r = scanMedia(m, videoDir, VideoPatterns, static_cast<int>(videoDir.size()));
    EXPECT_EQ(r.end, ScanResult::End::Completed);
    EXPECT_EQ(relativePaths(m),
              (QStringList{"Videos/Sport/run.MPG", "Videos/Alpen/tal.avi", "Videos/intro.avi"}));
    ASSERT_EQ(m.count(), 3);
    EXPECT_EQ(m.entries()[0].name, QStringLiteral("Alpen/tal"));
    EXPECT_EQ(m.entries()[0].pathIndex, 1);
    EXPECT_EQ(m.entries()[1].name, QStringLiteral("intro"));
    EXPECT_EQ(m.entries()[1].pathIndex, 2);
    EXPECT_EQ(m.entries()[2].name, QStringLiteral("Sport/run"));
    EXPECT_EQ(m.entries()[2].pathIndex, 0);
    EXPECT_EQ(m.pathAt(2), at("Videos/Sport/run.MPG"));
    EXPECT_EQ(m.pathAt(3), QString());
    EXPECT_EQ(m.pathAt(-1), QString());
}

TEST_F(MediaScan, SettingWithoutTrailingSeparator)
{
    touch("Videos/intro.avi");
    const QString videoDir = at("Videos");
    FoundMedia m;
    scanMedia(m, videoDir, VideoPatterns, static_cast<int>(videoDir.size()));
    EXPECT_EQ(m.names(), QStringList{"/intro"});
    EXPECT_EQ(m.paths(), QStringList{at("Videos/intro.avi")});   // one separator, not two
    // Extra trailing separators on the start path do not double either.
    scanMedia(m, at("Videos///"), VideoPatterns, static_cast<int>(videoDir.size()));
    EXPECT_EQ(m.paths(), QStringList{at("Videos/intro.avi")});
}

TEST_F(MediaScan, PatternsCaseAndHiddenEntries)
{
    touch("v/CLIP.AVI");
    touch("v/clip.mpg");
    touch("v/old.DAT");
    touch("v/notes.txt");
    touch("v/clip.avi.bak");
    touch("v/song.mp3");
    touch("v/.secret.avi");
    touch("v/.hidden/inside.avi");
    mkdir("v/folder.avi");   // a directory is no file, whatever its name
    FoundMedia m;
    const int cut = static_cast<int>(at("v/").size());
    scanMedia(m, at("v"), VideoPatterns, cut);
    // Files in name order: CLIP.AVI before clip.mpg; equal display names keep
    // the order found.
    EXPECT_EQ(relativePaths(m), (QStringList{"v/CLIP.AVI", "v/clip.mpg", "v/old.DAT"}));
    EXPECT_EQ(m.names(), (QStringList{"CLIP", "clip", "old"}));

    scanMedia(m, at("v"), MusicPatterns, cut);
    EXPECT_EQ(m.names(), QStringList{"song"});
}

TEST_F(MediaScan, PostOrderLastSubdirectoryFirst)
{
    touch("t/f.avi");
    touch("t/a/f.avi");
    touch("t/a/b/c/f.avi");
    touch("t/b/f.avi");
    touch("t/Beta/f.avi");
    touch("t/alpha/f.avi");
    FoundMedia m;
    scanMedia(m, at("t"), VideoPatterns, static_cast<int>(at("t/").size()));
    // Subdirectories in name order (case-insensitive): a, alpha, b, Beta;
    // searched from the last, each one's files after everything below it.
    EXPECT_EQ(relativePaths(m), (QStringList{"t/Beta/f.avi", "t/b/f.avi", "t/alpha/f.avi",
                                             "t/a/b/c/f.avi", "t/a/f.avi", "t/f.avi"}));
    // The display list is sorted whatever the order found.
    EXPECT_EQ(m.names(), (QStringList{"a/b/c/f", "a/f", "alpha/f", "b/f", "Beta/f", "f"}));
    for (int i = 0; i < m.count(); ++i)
        EXPECT_EQ(displayNameFor(m.pathAt(i), static_cast<int>(at("t/").size())), m.nameAt(i));
}

TEST_F(MediaScan, SecondScanKeepsNothingOfTheFirst)
{
    touch("one/a.avi");
    touch("two/b.avi");
    FoundMedia m;
    scanMedia(m, at("one"), VideoPatterns, 0);
    scanMedia(m, at("two"), VideoPatterns, 0);
    EXPECT_EQ(relativePaths(m), QStringList{"two/b.avi"});
    EXPECT_EQ(m.count(), 1);
}

TEST_F(MediaScan, LinkLoopEndsAndNoDirectoryIsSearchedTwice)
{
    touch("v/a.avi");
    touch("v/sub/b.avi");
    touch("elsewhere/c.avi");
    link(at("v"), "v/sub/up");                  // loop back to the start
    link(at("elsewhere"), "v/ext");             // a linked directory is followed
    link(at("elsewhere"), "v/ext2");            // ... but searched only once
    link(at("nowhere"), "v/dangling");          // a dangling link is skipped
    FoundMedia m;
    int directories = 0;
    ScanCallbacks callbacks;
    callbacks.directory = [&](const QString&) { return ++directories < 1000; };
    const ScanResult r = scanMedia(m, at("v"), VideoPatterns, 0, callbacks);
    EXPECT_EQ(r.end, ScanResult::End::Completed);
    QStringList names = relativePaths(m);
    names.sort();
    EXPECT_EQ(names, (QStringList{"v/a.avi", "v/ext2/c.avi", "v/sub/b.avi"}));
    EXPECT_EQ(r.repeated.size(), 2);   // v/sub/up and v/ext
    EXPECT_TRUE(r.unreadable.isEmpty());
}

TEST_F(MediaScan, UnreadableDirectoryIsSkipped)
{
    touch("v/a.avi");
    touch("v/locked/b.avi");
    touch("v/open/c.avi");
    QFile::setPermissions(at("v/locked"), QFileDevice::Permissions());
    test::openForOthers(at("v/open"));
    const QString start = at("v");
    const QString locked = at("v/locked");
    const QString root = at("");
    EXPECT_TRUE(test::runUnprivileged([&] {
        FoundMedia m;
        const ScanResult r = scanMedia(m, start, VideoPatterns, static_cast<int>(root.size()));
        return r.end == ScanResult::End::Completed &&
               m.names() == QStringList({QStringLiteral("v/a"), QStringLiteral("v/open/c")}) &&
               m.paths() == QStringList({root + QStringLiteral("v/open/c.avi"), root + QStringLiteral("v/a.avi")}) &&
               r.unreadable == QStringList{locked};
    }));
    QFile::setPermissions(at("v/locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
}

TEST_F(MediaScan, MissingStartDirectory)
{
    FoundMedia m;
    m.add(QStringLiteral("/old/x.avi"), QStringLiteral("x"));
    const ScanResult r = scanMedia(m, at("does-not-exist"), VideoPatterns, 0);
    EXPECT_EQ(r.end, ScanResult::End::StartUnreadable);
    EXPECT_TRUE(m.isEmpty());
    EXPECT_EQ(scanMedia(m, QString(), VideoPatterns, 0).end, ScanResult::End::StartUnreadable);
}

TEST_F(MediaScan, FullListEndsTheSearchAndKeepsWhatWasFound)
{
    touch("v/1.avi");
    touch("v/2.avi");
    touch("v/x/3.avi");
    touch("v/x/4.avi");
    touch("v/y/5.avi");
    FoundMedia m(3);
    QStringList messages;
    ScanCallbacks callbacks;
    callbacks.listFull = [&](const QString& message) { messages << message; };
    const ScanResult r = scanMedia(m, at("v"), VideoPatterns, 0, callbacks);
    EXPECT_EQ(r.end, ScanResult::End::ListFull);
    EXPECT_EQ(messages, QStringList{"You've filled the list box. Abandoning search..."});
    EXPECT_EQ(relativePaths(m), (QStringList{"v/y/5.avi", "v/x/3.avi", "v/x/4.avi"}));
    EXPECT_EQ(m.count(), 3);
}

TEST_F(MediaScan, CallbackRunsOncePerDirectoryAndMayAbandon)
{
    touch("v/a.avi");
    touch("v/p/b.avi");
    touch("v/q/c.avi");
    touch("v/q/r/d.avi");
    FoundMedia m;
    QStringList seen;
    ScanCallbacks callbacks;
    callbacks.directory = [&](const QString& d) {
        seen << d.mid(root().size() + 1);
        return true;
    };
    scanMedia(m, at("v"), VideoPatterns, 0, callbacks);
    EXPECT_EQ(seen, (QStringList{"v", "v/q", "v/q/r", "v/p"}));

    // Abandon when the search reaches v/p: what was found below v/q stays.
    callbacks.directory = [&](const QString& d) { return !d.endsWith(QLatin1String("/p")); };
    const ScanResult r = scanMedia(m, at("v"), VideoPatterns, 0, callbacks);
    EXPECT_EQ(r.end, ScanResult::End::Abandoned);
    EXPECT_EQ(relativePaths(m), (QStringList{"v/q/r/d.avi", "v/q/c.avi"}));
}

TEST(MediaNames, DisplayNames)
{
    struct Case {
        const char* path;
        int cut;
        const char* name;
    } const cases[] = {
        {"/home/anna/Videos/intro.avi", 18, "intro"},
        {"/home/anna/Videos/intro.avi", 17, "/intro"},
        {"/home/anna/Videos/Sport/run.MPG", 18, "Sport/run"},
        {"/cd/a.avi", 18, "/cd/a"},   // too short for the cut: whole path, no extension
        {"/cd/a.avi", 5, ""},         // exactly used up
        {"/a.avi", 0, "/a"},
        {"abc", 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(displayNameFor(QString::fromLatin1(c.path), c.cut), QString::fromLatin1(c.name))
            << c.path << " cut " << c.cut;
}

TEST(MediaNames, Patterns)
{
    struct Case {
        const char* name;
        bool video, music;
    } const cases[] = {
        {"clip.avi", true, false}, {"CLIP.AVI", true, false}, {"clip.Mpg", true, false},
        {"x.dat", true, false},    {"song.mp3", false, true}, {"song.WAV", false, true},
        {"clip.avi.txt", false, false}, {"clipavi", false, false}, {"a.b.avi", true, false},
        {"avi", false, false},     {".avi", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchesPatterns(QString::fromLatin1(c.name), VideoPatterns), c.video) << c.name;
        EXPECT_EQ(matchesPatterns(QString::fromLatin1(c.name), MusicPatterns), c.music) << c.name;
    }
    EXPECT_TRUE(matchesPatterns(QStringLiteral("a1.mkv"), QStringLiteral("*.avi; a?.MKV")));
    EXPECT_FALSE(matchesPatterns(QStringLiteral("a12.mkv"), QStringLiteral("a?.mkv")));
    EXPECT_FALSE(matchesPatterns(QStringLiteral("clip.avi"), QString()));
}

TEST(MediaNames, NameOrder)
{
    QStringList names = {"b", "B", "a", "_x", "Z", "A", "ä"};
    std::sort(names.begin(), names.end(), nameOrderLess);
    EXPECT_EQ(names, (QStringList{"_x", "A", "a", "B", "b", "Z", "ä"}));
}

TEST(MediaNames, DisplayListInsertsAfterEqualNames)
{
    FoundMedia m;
    EXPECT_EQ(m.add("/v/b.avi", "b"), 0);
    EXPECT_EQ(m.add("/v/A.avi", "A"), 0);
    EXPECT_EQ(m.add("/v/B.mpg", "B"), 2);   // equal to "b": after it
    EXPECT_EQ(m.add("/v/a.mpg", "a"), 1);
    EXPECT_EQ(m.names(), (QStringList{"A", "a", "b", "B"}));
    EXPECT_EQ(m.pathAt(3), QStringLiteral("/v/B.mpg"));
    for (int i = 0; i < m.count(); ++i)
        EXPECT_EQ(m.pathAt(i).section('/', -1).section('.', 0, 0), m.nameAt(i));
}

TEST(MediaNames, ScanListComparesFromTheThirdCharacter)
{
    const QStringList list = {"D:\\Videos\\a.avi", "E:\\Videos\\b.avi"};
    EXPECT_EQ(ScanList(list, "\\Videos\\b"), QStringLiteral("E:\\Videos\\b.avi"));
    EXPECT_EQ(ScanList(list, "\\Videos\\"), QStringLiteral("D:\\Videos\\a.avi"));
    EXPECT_EQ(ScanList(list, "\\videos\\b"), QString());   // case-sensitive
    EXPECT_EQ(ScanList(list, "E:\\Videos"), QString());    // the drive is not compared
    EXPECT_EQ(ScanList({}, "x"), QString());
    EXPECT_EQ(ScanList({"a"}, "x"), QString());
}

} // namespace
} // namespace vv
