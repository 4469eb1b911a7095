// The settings file and the atomic writer of the files that hold the user's
// data.

#include "app/atomic_file.h"
#include "app/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

#include "tests/support/unprivileged.h"

namespace vv {
namespace {

const QByteArray FirstRun(" 330 \r\n 150 \r\n 6045 \r\n 5355 \r\n\r\n\r\n\r\n");

TEST(SettingsFile, FirstRunFileNumberTextsAndRoundTrip)
{
    EXPECT_EQ(settingsNumberText(6045.75f) + settingsNumberText(-0.25f), QStringLiteral(" 6045.75 -.25 "));

    const Settings s{-1200, -900, 12090, 10710, "/home/anna/Videos/", "/media/cdrom",
                     QString::fromUtf8("/home/anna/Musik/Müller/")};
    const QByteArray bytes = formatSettings(s);
    EXPECT_TRUE(bytes.endsWith("\r\n/home/anna/Musik/M\xC3\xBCller/\r\n"));
    const LoadedSettings l = parseSettings(bytes);
    EXPECT_EQ(std::tuple(l.VideoLeft, l.VideoTop, l.VideoWidth, l.VideoHeight), std::tuple(-1200, -900, 12090, 10710));
    EXPECT_EQ(QStringList({l.VideoDir, l.CDROMDir, l.MP3Dir}), QStringList({s.VideoDir, s.CDROMDir, s.MP3Dir}));
    EXPECT_TRUE(l.defaulted.isEmpty() && l.clamped.isEmpty() && l.error.isEmpty());
}

TEST(SettingsFile, NumberFields)
{
    struct Case {
        const char* line;
        std::int16_t value;
        bool defaulted, clamped;
    } const cases[] = {
        {" 330 ", 330, false, false},   {"330", 330, false, false},     {"   -45   ", -45, false, false},
        {" 330.5 ", 330, false, false}, {" 331.5 ", 332, false, false}, {" +1E3 ", 1000, false, false},
        {" 330 , 5", 330, false, false},  // the field ends at the comma
        {" 40000 ", 32767, false, true}, {"-40000", -32768, false, true}, {"1e30", 32767, false, true},
        {"", 330, true, false},          {"   ", 330, true, false},     {"12abc", 330, true, false},
        {"1 2", 330, true, false},       {"nan", 330, true, false},
        {"\xE2\x88\x92" "5", 330, true, false},  // a typographic minus: only the file's own number syntax counts
    };
    for (const auto& c : cases) {
        const LoadedSettings l = parseSettings(QByteArray(c.line) + FirstRun.mid(5));
        EXPECT_EQ(l.VideoLeft, c.value) << c.line;
        EXPECT_EQ(l.defaulted, c.defaulted ? QStringList{"VideoLeft"} : QStringList()) << c.line;
        EXPECT_EQ(l.clamped.contains("VideoLeft"), c.clamped) << c.line;
        EXPECT_EQ(l.VideoTop, 150);
    }
}

TEST(SettingsFile, TextFields)
{
    const std::pair<const char*, const char*> cases[] = {
        {"   /home/anna/Videos/", "/home/anna/Videos/"},
        {"/home/anna/Videos, old/", "/home/anna/Videos"},   // cut at the comma
        {"\"/home/anna/a,b/\"", "/home/anna/a,b/"},         // quoted: runs to the quote
        {"  \"/home/anna/a,b/\",rest", "/home/anna/a,b/"},  // blanks before the quote
        {"\"/unclosed,quote", "/unclosed,quote"},
        {"/m\xFCsik/", "/m\xC3\xBCsik/"},                    // 8-bit line
        {"", ""},
    };
    for (const auto& [line, text] : cases) {
        const LoadedSettings l = parseSettings(FirstRun.left(30) + line + "\r\n/cd\r\n/mp3\r\n");
        EXPECT_EQ(l.VideoDir, QString::fromUtf8(text)) << line;
        // A comma in one line never shifts the following lines.
        EXPECT_EQ(l.CDROMDir + l.MP3Dir, QStringLiteral("/cd/mp3")) << line;
        EXPECT_TRUE(l.defaulted.isEmpty()) << line;
    }
}

TEST(SettingsFile, LineEndsAndMissingLines)
{
    for (const char* data : {" 1 \r\n 2 \r\n 3 \r\n 4 \r\n/v\r\n/c\r\n/m\r\n", " 1 \n 2 \n 3 \n 4 \n/v\n/c\n/m\n",
                             " 1 \r 2 \r 3 \r 4 \r/v\r/c\r/m",
                             "\xEF\xBB\xBF 1 \r\n 2 \r\n 3 \r\n 4 \r\n/v\r\n/c\r\n/m"}) {
        const LoadedSettings l = parseSettings(data);
        EXPECT_EQ(std::tuple(l.VideoLeft, l.VideoHeight), std::tuple(1, 4));
        EXPECT_EQ(l.VideoDir + l.MP3Dir, QStringLiteral("/v/m"));
        EXPECT_TRUE(l.defaulted.isEmpty());
    }
    // A truncated file takes the first-run values for what is missing.
    const LoadedSettings l = parseSettings(" 100 \r\n 200 \r\n");
    EXPECT_EQ(std::tuple(l.VideoLeft, l.VideoTop, l.VideoWidth, l.VideoHeight), std::tuple(100, 200, 6045, 5355));
    EXPECT_EQ(l.defaulted, (QStringList{"VideoWidth", "VideoHeight", "VideoDir", "CDROMDir", "MP3Dir"}));
    EXPECT_EQ(parseSettings(QByteArray()).defaulted, SettingsFieldNames);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes of every size that a 1 KiB file limit cuts short: one that fits
// Qt's write buffer (a script) and one beyond it (a preview sheet). Each must
// fail with the system's reason and leave the old file and no temporary.
TEST(AtomicFile, FullDiskLeavesOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clip.txt"));
    const QByteArray old(700, 'o');
    for (const int size : {2000, 20000}) {
        ASSERT_TRUE(writeFileAtomically(path, old));
        const bool refused = test::runWithFileSizeLimit(1024, [&] {
            QString error;
            return !writeFileAtomically(path, QByteArray(size, 'n'), &error) && error == qt_error_string(EFBIG);
        });
        EXPECT_TRUE(refused) << size;
        EXPECT_EQ(readAll(path), old) << size;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("clip.txt")}) << size;
    }
    // What fits is written under the same limit, also beside a refused file
    // of the same batch.
    const QString other = dir.filePath(QStringLiteral("0.bmp"));
    std::vector<AtomicWrite> batch{AtomicWrite(other, {QByteArray(3000, 'b')}), AtomicWrite(path, {"new", "\r\n"})};
    EXPECT_FALSE(test::runWithFileSizeLimit(1024, [&] { return writeFilesAtomically(batch); }));
    EXPECT_EQ(readAll(path), "new\r\n");
    EXPECT_EQ(readAll(other), "<missing>");
}

// A directory is no file; success removes stale temporaries of the same
// target only.
TEST(AtomicFile, SuccessRemovesStaleTemporariesOfTheSameTargetOnly)
{
    QTemporaryDir dir;
    const QStringList stale = {QStringLiteral("a.txt.vvtmp-Ab12Cd"), QStringLiteral("b.txt.vvtmp-Ab12Cd"),
                               QStringLiteral("a.txt.vvtmp-notmine")};
    for (const QString& name : stale)
        ASSERT_TRUE(writeFileAtomically(dir.filePath(name), "x"));
    QString error;
    EXPECT_FALSE(writeFileAtomically(dir.path(), "x", &error));
    EXPECT_EQ(error, qt_error_string(EISDIR));
    ASSERT_TRUE(writeFileAtomically(dir.filePath(QStringLiteral("a.txt")), "data"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("a.txt"), stale[2], stale[1]}));
}

} // namespace
} // namespace vv
