#include "app/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/support/unprivileged.h"

#include <unistd.h>

namespace vv {
namespace {

TEST(SettingsFile, FirstRunFileByteForByte)
{
    EXPECT_EQ(formatSettings(Settings{}),
              QByteArray(" 330 \r\n 150 \r\n 6045 \r\n 5355 \r\n\r\n\r\n\r\n"));
}

TEST(SettingsFile, NumberTexts)
{
    struct Case {
        float value;
        const char* text;
    } const cases[] = {
        {330, " 330 "}, {0, " 0 "}, {-15, "-15 "}, {12.5f, " 12.5 "},
        {0.5f, " .5 "}, {-0.25f, "-.25 "}, {32767, " 32767 "}, {6045.75f, " 6045.75 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(settingsNumberText(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(SettingsFile, RoundTrip)
{
    Settings s;
    s.VideoLeft = -1200;
    s.VideoTop = -900;
    s.VideoWidth = 12090;
    s.VideoHeight = 10710;
    s.VideoDir = QStringLiteral("/home/anna/Videos/");
    s.CDROMDir = QStringLiteral("/media/cdrom");
    s.MP3Dir = QString::fromUtf8("/home/anna/Musik/Müller/");
    const QByteArray bytes = formatSettings(s);
    EXPECT_TRUE(bytes.endsWith("\r\n/home/anna/Musik/M\xC3\xBCller/\r\n"));
    const LoadedSettings l = parseSettings(bytes);
    EXPECT_EQ(l.VideoLeft, -1200);
    EXPECT_EQ(l.VideoTop, -900);
    EXPECT_EQ(l.VideoWidth, 12090);
    EXPECT_EQ(l.VideoHeight, 10710);
    EXPECT_EQ(l.VideoDir, s.VideoDir);
    EXPECT_EQ(l.CDROMDir, s.CDROMDir);
    EXPECT_EQ(l.MP3Dir, s.MP3Dir);
    EXPECT_TRUE(l.defaulted.isEmpty());
    EXPECT_TRUE(l.clamped.isEmpty());
    EXPECT_TRUE(l.error.isEmpty());
}

TEST(SettingsFile, NumberFields)
{
    struct Case {
        const char* line;
        std::int16_t value;
        bool defaulted, clamped;
    } const cases[] = {
        {" 330 ", 330, false, false},
        {"330", 330, false, false},
        {"   -45   ", -45, false, false},
        {" 330.5 ", 330, false, false},   // halves to even
        {" 331.5 ", 332, false, false},
        {" 1E3 ", 1000, false, false},
        {" 330 , 5", 330, false, false},  // the field ends at the comma
        {" 40000 ", 32767, false, true},
        {"-40000", -32768, false, true},
        {"1e30", 32767, false, true},
        {"", 330, true, false},           // empty: unreadable
        {"   ", 330, true, false},
        {"abc", 330, true, false},
        {"12abc", 330, true, false},
        {"1 2", 330, true, false},
        {"nan", 330, true, false},
    };
    for (const auto& c : cases) {
        const LoadedSettings l = parseSettings(QByteArray(c.line) + "\r\n 150 \r\n 6045 \r\n 5355 \r\n"
                                                                  "\r\n\r\n\r\n");
        EXPECT_EQ(l.VideoLeft, c.value) << c.line;
        EXPECT_EQ(l.defaulted.contains("VideoLeft"), c.defaulted) << c.line;
        EXPECT_EQ(l.clamped.contains("VideoLeft"), c.clamped) << c.line;
        EXPECT_EQ(l.defaulted.size(), c.defaulted ? 1 : 0) << c.line;
        EXPECT_EQ(l.VideoTop, 150);
    }
}

TEST(SettingsFile, TextFields)
{
    struct Case {
        const char* line;
        const char* text;
    } const cases[] = {
        {"/home/anna/Videos/", "/home/anna/Videos/"},
        {"   /home/anna/Videos/", "/home/anna/Videos/"},      // leading blanks skipped
        {"/home/anna/Videos, old/", "/home/anna/Videos"},    // cut at the comma
        {"\"/home/anna/a,b/\"", "/home/anna/a,b/"},          // quoted: runs to the quote
        {"\"/home/anna/a,b/\",rest", "/home/anna/a,b/"},
        {"\"/unclosed,quote", "/unclosed,quote"},
        {"/m\xFCsik/", "/m\xC3\xBCsik/"},                     // 8-bit line
        {"", ""},
    };
    for (const auto& c : cases) {
        const LoadedSettings l = parseSettings(QByteArray(" 330 \r\n 150 \r\n 6045 \r\n 5355 \r\n")
                                               + c.line + "\r\n/cd\r\n/mp3\r\n");
        EXPECT_EQ(l.VideoDir, QString::fromUtf8(c.text)) << c.line;
        // A comma in one line never shifts the following lines.
        EXPECT_EQ(l.CDROMDir, QStringLiteral("/cd")) << c.line;
        EXPECT_EQ(l.MP3Dir, QStringLiteral("/mp3")) << c.line;
        EXPECT_TRUE(l.defaulted.isEmpty()) << c.line;
    }
}

TEST(SettingsFile, LineEnds)
{
    for (const char* data : {" 1 \r\n 2 \r\n 3 \r\n 4 \r\n/v\r\n/c\r\n/m\r\n",
                             " 1 \n 2 \n 3 \n 4 \n/v\n/c\n/m\n", " 1 \r 2 \r 3 \r 4 \r/v\r/c\r/m",
                             "\xEF\xBB\xBF 1 \r\n 2 \r\n 3 \r\n 4 \r\n/v\r\n/c\r\n/m"}) {
        const LoadedSettings l = parseSettings(data);
        EXPECT_EQ(l.VideoLeft, 1);
        EXPECT_EQ(l.VideoHeight, 4);
        EXPECT_EQ(l.VideoDir, QStringLiteral("/v"));
        EXPECT_EQ(l.MP3Dir, QStringLiteral("/m"));
        EXPECT_TRUE(l.defaulted.isEmpty());
    }
}

TEST(SettingsFile, TruncatedFileTakesFirstRunValuesForWhatIsMissing)
{
    const LoadedSettings l = parseSettings(" 100 \r\n 200 \r\n");
    EXPECT_EQ(l.VideoLeft, 100);
    EXPECT_EQ(l.VideoTop, 200);
    EXPECT_EQ(l.VideoWidth, 6045);
    EXPECT_EQ(l.VideoHeight, 5355);
    EXPECT_EQ(l.VideoDir, QString());
    EXPECT_EQ(l.defaulted,
              (QStringList{"VideoWidth", "VideoHeight", "VideoDir", "CDROMDir", "MP3Dir"}));

    const LoadedSettings empty = parseSettings(QByteArray());
    EXPECT_EQ(empty.defaulted, SettingsFieldNames);
    EXPECT_EQ(empty.VideoLeft, 330);
}

class SettingsFileOnDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(SettingsFileOnDisk, WriteAndRead)
{
    Settings s;
    s.VideoDir = QStringLiteral("/srv/videos/");
    QString error;
    ASSERT_TRUE(writeSettingsFile(path("settings.ini"), s, &error)) << error.toStdString();
    QFile f(path("settings.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), formatSettings(s));
    const LoadedSettings l = readSettingsFile(path("settings.ini"));
    EXPECT_EQ(l.VideoDir, s.VideoDir);
    EXPECT_TRUE(l.error.isEmpty());
}

TEST_F(SettingsFileOnDisk, MissingFileGivesFirstRunValuesAndTheReason)
{
    const LoadedSettings l = readSettingsFile(path("settings.ini"));
    EXPECT_FALSE(l.error.isEmpty());
    EXPECT_EQ(l.defaulted, SettingsFieldNames);
    EXPECT_EQ(l.VideoWidth, 6045);
}

TEST_F(SettingsFileOnDisk, FailedWriteIsReportedAndKeepsTheOldFile)
{
    QString error;
    EXPECT_FALSE(writeSettingsFile(path("missing/settings.ini"), Settings{}, &error));
    EXPECT_FALSE(error.isEmpty());

    ASSERT_TRUE(QDir().mkpath(path("ro")));
    {
        QFile f(path("ro/settings.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QFile::setPermissions(path("ro/settings.ini"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ReadOther);
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther);
    test::openForOthers(path(""));
    const QString target = path("ro/settings.ini");
    EXPECT_TRUE(test::runUnprivileged([&target] {
        QString why;
        return !writeSettingsFile(target, Settings{}, &why) && !why.isEmpty();
    }));
    QFile f(path("ro/settings.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
}

} // namespace
} // namespace vv
