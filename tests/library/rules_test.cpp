// The library's rules: the media scan and the names it gives, the fast-scroll
// bar, the order in which a list's missing sheets are made.

#include "library/media_scan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

#include "library/fast_scroll.h"
#include "library/sheet_schedule.h"
#include "tests/support/unprivileged.h"

namespace vv {
namespace {

class MediaScan : public ::testing::Test {
protected:
    QTemporaryDir tmp;

    QString at(const QString& relative) const { return tmp.path() + QLatin1Char('/') + relative; }
    int cut(const QString& relative) const { return static_cast<int>(at(relative).size()); }
    // Empty files (and their folders) below the root.
    void touch(const QStringList& files)
    {
        for (const QString& relative : files) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(at(relative)).path()));
            ASSERT_TRUE(QFile(at(relative)).open(QIODevice::WriteOnly)) << relative.toStdString();
        }
    }
    // The path list relative to the test root.
    QStringList relativePaths(const FoundMedia& m) const
    {
        QStringList list;
        for (const QString& p : m.paths())
            list << p.mid(tmp.path().size() + 1);
        return list;
    }
};

TEST_F(MediaScan, WorkedExampleSeparatorsPostOrderPatternsCaseAndHiddenEntries)
{
    touch({"Videos/intro.avi", "Videos/Sport/run.MPG", "Videos/Alpen/tal.avi"});
    FoundMedia m;
    // The setting with its trailing separator.
    EXPECT_EQ(scanMedia(m, at("Videos/"), VideoPatterns, cut("Videos/")).end, ScanResult::End::Completed);
    const QStringList paths = relativePaths(m);
    EXPECT_EQ(paths, (QStringList{"Videos/Sport/run.MPG", "Videos/Alpen/tal.avi", "Videos/intro.avi"}));
    EXPECT_EQ(m.names(), (QStringList{"Alpen/tal", "intro", "Sport/run"}));
    EXPECT_EQ((QStringList{m.pathAt(0), m.pathAt(3), m.pathAt(-1), m.nameAt(2), m.nameAt(3), m.nameAt(-1)}),
              (QStringList{at("Videos/Alpen/tal.avi"), "", "", "Sport/run", "", ""}));

    // Without the trailing separator the names begin with one; the paths
    // never hold two in a row, whatever the start path ends in.
    for (const char* start : {"Videos", "Videos///"}) {
        scanMedia(m, at(start), VideoPatterns, cut("Videos"));
        EXPECT_EQ(m.names(), (QStringList{"/Alpen/tal", "/intro", "/Sport/run"})) << start;
        EXPECT_EQ(relativePaths(m), paths) << start;
    }
    // Every scan starts from an empty list.
    for (const QString& start : {at("does-not-exist"), QString()}) {
        EXPECT_EQ(scanMedia(m, start, VideoPatterns, 0).end, ScanResult::End::StartUnreadable);
        EXPECT_TRUE(m.isEmpty());
    }

    // Post order, the last subdirectory first, patterns, case and hidden entries.
    touch({"t/f.avi", "t/a/f.avi", "t/a/b/c/f.avi", "t/b/f.avi", "t/Beta/F.AVI", "t/alpha/f.mpg", "t/alpha/old.DAT",
           "t/notes.txt", "t/f.avi.bak", "t/song.mp3", "t/.secret.avi", "t/.hidden/inside.avi"});
    ASSERT_TRUE(QDir().mkpath(at("t/folder.avi")));  // a directory is no file, whatever its name
    scanMedia(m, at("t"), VideoPatterns, cut("t/"));
    // Subdirectories in name order (case-insensitive): a, alpha, b, Beta;
    // searched from the last, each one's files after everything below it.
    EXPECT_EQ(relativePaths(m), (QStringList{"t/Beta/F.AVI", "t/b/f.avi", "t/alpha/f.mpg", "t/alpha/old.DAT",
                                             "t/a/b/c/f.avi", "t/a/f.avi", "t/f.avi"}));
    // The display list is sorted whatever the order found.
    EXPECT_EQ(m.names(), (QStringList{"a/b/c/f", "a/f", "alpha/f", "alpha/old", "b/f", "Beta/F", "f"}));
    scanMedia(m, at("t"), MusicPatterns, cut("t/"));
    EXPECT_EQ(m.names(), QStringList{"song"});
}

TEST_F(MediaScan, LinkLoopEndsNoDirectoryIsSearchedTwiceAndAnUnreadableOneIsSkipped)
{
    touch({"v/a.avi", "v/sub/b.avi", "elsewhere/c.avi", "v/locked/d.avi"});
    for (const auto& [target, link] : {std::pair{"v", "v/sub/up"} /* a loop */, {"elsewhere", "v/ext"},
                                       {"elsewhere", "v/ext2"} /* searched once */, {"nowhere", "v/dangling"}})
        ASSERT_TRUE(QFile::link(at(target), at(link)));
    QFile::setPermissions(at("v/locked"), QFileDevice::Permissions());
    test::openForOthers(at("v"));
    test::openForOthers(at("v/sub"));
    test::openForOthers(at("elsewhere"));
    const QString start = at("v"), locked = at("v/locked"), root = at("");
    EXPECT_TRUE(test::runUnprivileged([&] {
        FoundMedia m;
        const ScanResult r = scanMedia(m, start, VideoPatterns, static_cast<int>(root.size()));
        return r.end == ScanResult::End::Completed && r.repeated.size() == 2 /* v/sub/up and v/ext */ &&
               m.names() == QStringList({"v/a", "v/ext2/c", "v/sub/b"}) && r.unreadable == QStringList{locked};
    }));
    QFile::setPermissions(at("v/locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(MediaScan, FullListOrTheCallbackEndsTheSearchKeepingWhatWasFound)
{
    touch({"v/1.avi", "v/2.avi", "v/x/3.avi", "v/x/4.avi", "v/y/5.avi"});
    FoundMedia full(3);
    QStringList messages;
    ScanCallbacks callbacks;
    callbacks.listFull = [&](const QString& message) { messages << message; };
    EXPECT_EQ(scanMedia(full, at("v"), VideoPatterns, 0, callbacks).end, ScanResult::End::ListFull);
    EXPECT_EQ(messages, QStringList{"You've filled the list box. Abandoning search..."});
    EXPECT_EQ(relativePaths(full), (QStringList{"v/y/5.avi", "v/x/3.avi", "v/x/4.avi"}));

    // Once per directory; abandoned when the search reaches v/x.
    QStringList seen;
    callbacks.directory = [&](const QString& d) {
        seen << d.mid(tmp.path().size() + 1);
        return !d.endsWith(QLatin1String("/x"));
    };
    FoundMedia m;
    EXPECT_EQ(scanMedia(m, at("v"), VideoPatterns, 0, callbacks).end, ScanResult::End::Abandoned);
    EXPECT_EQ(seen, (QStringList{"v", "v/y", "v/x"}));
    EXPECT_EQ(relativePaths(m), QStringList{"v/y/5.avi"});
}

TEST(MediaNames, DisplayNamesPatternsTheScanListAndNameOrder)
{
    struct Name {
        const char* path;
        int cut;
        const char* name;
    } const names[] = {
        {"/cd/a.avi", 18, "/cd/a"},   // too short for the cut: whole path, no extension
        {"/cd/a.avi", 5, ""},         // exactly used up
        {"/v/clip.webm", 3, "clip"},  // a longer extension goes whole
        {"/v.webm/a", 0, "/v.we"},    // a dot in a folder is no extension
        {"abc", 0, ""},
    };
    for (const auto& c : names)
        EXPECT_EQ(displayNameFor(c.path, c.cut), QString::fromLatin1(c.name)) << c.path << " cut " << c.cut;

    struct Pattern {
        const char* name;
        bool video, music;
    } const patterns[] = {
        {"song.WAV", false, true}, {"c.WEBM", true, false}, {"clip.avi.txt", false, false}, {"clipavi", false, false},
        {"a.b.avi", true, false},  {"avi", false, false},   {".avi", true, false},
    };
    for (const auto& c : patterns) {
        EXPECT_EQ(matchesPatterns(c.name, VideoPatterns), c.video) << c.name;
        EXPECT_EQ(matchesPatterns(c.name, MusicPatterns), c.music) << c.name;
    }
    EXPECT_TRUE(matchesPatterns(QStringLiteral("a1.mkv"), QStringLiteral("*.avi; a?.MKV")));
    EXPECT_FALSE(matchesPatterns(QStringLiteral("a12.mkv"), QStringLiteral("a?.mkv")));
    EXPECT_FALSE(matchesPatterns(QStringLiteral("clip.avi"), QString()));

    // ScanList compares from the third character, case-sensitively.
    const QStringList list = {"D:\\Videos\\a.avi", "E:\\Videos\\b.avi"};
    EXPECT_EQ(ScanList(list, "\\Videos\\b"), QStringLiteral("E:\\Videos\\b.avi"));
    EXPECT_EQ(ScanList(list, "\\Videos\\"), QStringLiteral("D:\\Videos\\a.avi"));
    for (const char* missing : {"\\videos\\b", "E:\\Videos" /* the drive is not compared */, "x"})
        EXPECT_EQ(ScanList(list, missing), QString()) << missing;
    EXPECT_EQ(ScanList({"a"}, "x"), QString());

    // Name order: case-insensitive first; a found list's equal names keep the
    // order they were found in.
    QStringList ordered = {"b", "B", "a", "_x", "Z", "A", "ä"};
    std::sort(ordered.begin(), ordered.end(), nameOrderLess);
    EXPECT_EQ(ordered, (QStringList{"_x", "A", "a", "B", "b", "Z", "ä"}));
    FoundMedia m;
    for (const char* name : {"b", "A", "B", "a"})
        m.append(QStringLiteral("/v/%1").arg(name), name);
    m.sortEntries();
    EXPECT_EQ(m.names(), (QStringList{"A", "a", "b", "B"}));
}

// Where the fast-scroll bar under the mouse leads in the list.
TEST(FastScroll, IndexUnderTheMouse)
{
    struct Row {
        std::int32_t entries;
        double bar, x;
        std::int32_t index;
    } const rows[] = {
        // 120 entries on a bar of 8880 twips; 120 limited to N - 1.
        {120, 8880, 8880, 119}, {120, 8880, 20000, 119}, {120, 8880, -500, 0},
        // 10 entries on 1000 twips: 2.5 -> 2, 3.5 -> 4; an empty list or bar does nothing.
        {10, 1000, 250, 2},     {10, 1000, 350, 4},      {0, 8880, 100, -1},  {5, 0, 100, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fastScrollIndex(r.entries, r.bar, r.x), r.index) << r.entries << " " << r.bar << " " << r.x;
    EXPECT_NEAR(fastScrollFill(60, 120, 8880), 4440.0, 0.01);
    EXPECT_EQ(fastScrollFill(3, 0, 8880) + fastScrollFill(3, 5, 0) + fastScrollFill(0, 120, 8880), 0.0);
    EXPECT_EQ((std::vector{fastScrollDragWidth(-40), fastScrollDragWidth(1234.5)}), (std::vector{0.0, 1234.5}));
}

TEST(FastScroll, FillAndIndexAreInverse)
{
    // The filled part drawn for an entry leads the mouse back to that entry,
    // whether the list is shorter or longer than the bar is wide.
    for (std::int32_t n : {1, 2, 7, 120, 999, 8880, 20000, 32767})
        for (double w : {330.0, 8880.0, 8895.0})
            for (std::int32_t i = 0; i < n; i += 1 + n / 97) {
                const double fill = fastScrollFill(i, n, w);
                EXPECT_TRUE(fill >= 0.0 && fill <= w + 0.5) << fill;
                EXPECT_EQ(fastScrollIndex(n, w, fill), i) << n << " entries, bar " << w;
            }
}

// The order in which a list's missing sheets are made.
using Lane = SheetSchedule::Lane;

// Takes and finishes a lane's videos until none is due; the order they came in.
QStringList drain(SheetSchedule& s, Lane lane, bool playing = false)
{
    QStringList order;
    while (const auto video = s.take(lane, playing)) {
        order << *video;
        s.finished(*video, false);
    }
    return order;
}

TEST(SheetScheduleTest, ListOrderSelectionLanePlayingUnwritableFoldersClaimsAndCancel)
{
    SheetSchedule s;
    s.setList({"/v/a", "/v/b", "/v/a", "/v/c", "/v/d"});
    EXPECT_EQ(s.total(), 4);
    EXPECT_EQ(s.take(Lane::List), "/v/a");
    // One at a time per lane; selecting the one being made changes nothing.
    EXPECT_EQ(s.take(Lane::List), std::nullopt);
    s.prefer("/v/a");
    EXPECT_EQ(s.take(Lane::Selection), std::nullopt);
    // A later selection replaces an earlier one not started yet, and is
    // made beside the list's.
    s.prefer("/v/c");
    s.prefer("/v/d");
    EXPECT_EQ(drain(s, Lane::Selection), QStringList{"/v/d"});
    s.finished("/v/a", false);
    EXPECT_EQ(s.done(), 2);
    // While a video plays the list waits, the selection does not; a
    // selected entry outside the list is made but not counted.
    s.prefer("/w/x");
    EXPECT_EQ(drain(s, Lane::List, true), QStringList{});
    EXPECT_EQ(drain(s, Lane::Selection, true), QStringList{"/w/x"});
    EXPECT_EQ(drain(s, Lane::List), (QStringList{"/v/b", "/v/c"}));
    EXPECT_EQ(s.done(), 4);
    EXPECT_FALSE(s.busy());

    // An unwritable folder is skipped; claims and cancel stop the work.
    s.setList({"/ro/a", "/ro/b", "/ro/sub/c", "/v/d", "/v/e", "/ro/f"});
    ASSERT_EQ(s.take(Lane::List), "/ro/a");
    s.finished("/ro/a", true);
    // The loading takes e; the one being made cannot be claimed.
    EXPECT_TRUE(s.claim("/v/e"));
    EXPECT_EQ(s.take(Lane::List), "/ro/sub/c");
    EXPECT_FALSE(s.claim("/ro/sub/c"));
    s.finished("/ro/sub/c", false);
    // A selected entry of the failed folder is still made.
    s.prefer("/ro/f");
    EXPECT_EQ(drain(s, Lane::Selection), QStringList{"/ro/f"});
    EXPECT_EQ(drain(s, Lane::List), QStringList{"/v/d"});
    EXPECT_EQ(s.done(), 6);

    // A new list restarts the progress; cancelled, nothing more is due.
    s.setList({"/v/g", "/v/h"});
    EXPECT_EQ(s.done(), 0);
    EXPECT_TRUE(s.busy());
    s.cancel();
    s.prefer("/v/g");
    EXPECT_EQ(s.take(Lane::Selection), std::nullopt);
    EXPECT_EQ(s.take(Lane::List), std::nullopt);
}

} // namespace
} // namespace vv
