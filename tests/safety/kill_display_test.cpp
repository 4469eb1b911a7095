// The player killed (SIGKILL) at random moments while it writes: started on a
// video whose script needs repair (loading writes it back), whose preview
// sheet cannot be read (it is grabbed and written anew) and without a
// settings file (the first one is written). Every file is always the whole
// old or the whole new content, and the next run that saves leaves no
// temporary file behind. VV_KILL_SEED repeats a run.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <random>

#include "app/settings_file.h"
#include "index/cdib.h"
#include "script/script_file.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A whole bitmap file: its size field matches its length and it reads.
bool wholeBitmap(const QString& path)
{
    const QByteArray bytes = contents(path);
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qint64 declared = b[2] | b[3] << 8 | b[4] << 16 | qint64(b[5]) << 24;
    return declared == bytes.size() && cDIB().CreateFromFile(path);
}

QStringList temporaries(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("*.vvtmp-*")}, QDir::Files | QDir::Hidden);
}

TEST(KilledPlayer, LeavesEveryFileWholeOldOrWholeNew)
{
    const QByteArray fixed = qgetenv("VV_KILL_SEED");
    const unsigned seed = fixed.isEmpty() ? std::random_device{}() : fixed.toUInt();
    std::printf("kill seed %u (VV_KILL_SEED=%u repeats this run)\n", seed, seed);
    std::mt19937 random(seed);

    const QString dir = freshTempDir(QStringLiteral("kill"));
    const QString program = dir + QStringLiteral("/vardellvision");  // its folder is the program directory
    ASSERT_TRUE(QFile::copy(QStringLiteral(VV_PROGRAM), program));
    ASSERT_TRUE(QDir(dir).mkdir(QStringLiteral("videos")));
    const QString videos = dir + QStringLiteral("/videos");
    const QString video = videos + QStringLiteral("/clip.avi");
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("open-gop.avi")), video));
    const QString script = videos + QStringLiteral("/clip.txt");
    const QString sheet = videos + QStringLiteral("/clip.bmp");
    const QString settings = dir + QStringLiteral("/settings.ini");

    // 120 entries without the two leading pseudo-entries, and what loading
    // writes back.
    QByteArray oldScript;
    for (int i = 0; i < 120; ++i)
        oldScript += formatEntry(i * 2, i * 2 + 1, EntryAction::Loop, QStringLiteral("part %1").arg(i)).toUtf8() + "\r\n";
    ScriptList repaired;
    ASSERT_TRUE(parseScript(repaired, oldScript).repaired);
    const QByteArray newScript = formatScript(repaired);
    const QByteArray oldSheet(3000, 'x');

    auto reset = [&] {
        put(script, oldScript);
        put(sheet, oldSheet);
        QFile::remove(settings);
    };
    QProcess player;
    player.setProgram(program);
    player.setArguments({video});
    player.setStandardOutputFile(QProcess::nullDevice());
    player.setStandardErrorFile(QProcess::nullDevice());
    auto saved = [&] { return contents(script) == newScript && wholeBitmap(sheet) && QFile::exists(settings); };

    // How long a start takes to write everything; the kills fall within it.
    reset();
    QElapsedTimer clock;
    clock.start();
    player.start();
    ASSERT_TRUE(player.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(saved, 60000));
    const int window = static_cast<int>(clock.elapsed() * 6 / 5);
    player.kill();
    player.waitForFinished();

    for (int run = 0; run < 20; ++run) {
        reset();
        player.start();
        ASSERT_TRUE(player.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(0, window)(random));
        ::kill(static_cast<pid_t>(player.processId()), SIGKILL);
        player.waitForFinished();

        SCOPED_TRACE(testing::Message() << "run " << run << ", seed " << seed);
        const QByteArray nowScript = contents(script);
        EXPECT_TRUE(nowScript == oldScript || nowScript == newScript);
        EXPECT_TRUE(contents(sheet) == oldSheet || wholeBitmap(sheet));
        EXPECT_TRUE(!QFile::exists(settings) || readSettingsFile(settings).defaulted.isEmpty());
    }

    reset();
    player.start();
    ASSERT_TRUE(QTest::qWaitFor(saved, 60000));
    // The scene pictures may still be on their way (their flush to disk waits for
    // whatever else writes); a run that ends leaves no temporary.
    (void)QTest::qWaitFor([&] { return temporaries(videos).isEmpty() && temporaries(dir).isEmpty(); }, 60000);
    player.kill();
    player.waitForFinished();
    EXPECT_EQ(temporaries(videos), QStringList());
    EXPECT_EQ(temporaries(dir), QStringList());
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vv::test
