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

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The temporaries left in the program's folder and in the videos folder.
std::string temporaries(const QString& dir)
{
    const QStringList pattern = {QStringLiteral("*.vvtmp-*")};
    return (QDir(dir).entryList(pattern, QDir::Files | QDir::Hidden)
            + QDir(dir + "/videos").entryList(pattern, QDir::Files | QDir::Hidden))
        .join(' ')
        .toStdString();
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
    const QString videos = dir + QStringLiteral("/videos");
    ASSERT_TRUE(QDir().mkdir(videos));
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("open-gop.avi")), videos + QStringLiteral("/clip.avi")));
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

    const auto reset = [&] {
        return put(script, oldScript) && put(sheet, oldSheet) && (QFile::remove(settings) || !QFile::exists(settings));
    };
    // A sheet that reads holds every byte its header gives it.
    const auto saved = [&] {
        return contents(script) == newScript && cDIB().CreateFromFile(sheet) && QFile::exists(settings);
    };
    QProcess player;
    player.setProgram(program);
    player.setArguments({videos + QStringLiteral("/clip.avi")});

    // How long a start takes to write everything; the kills fall within it.
    ASSERT_TRUE(reset());
    QElapsedTimer clock;
    clock.start();
    player.start();
    ASSERT_TRUE(player.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(saved, 60000));
    const int window = static_cast<int>(clock.elapsed() * 6 / 5);
    player.kill();
    player.waitForFinished();

    for (int run = 0; run < 20; ++run) {
        ASSERT_TRUE(reset());
        player.start();
        ASSERT_TRUE(player.waitForStarted());
        QThread::msleep(std::uniform_int_distribution<int>(0, window)(random));
        player.kill();
        player.waitForFinished();

        SCOPED_TRACE(testing::Message() << "run " << run << ", seed " << seed);
        const QByteArray nowScript = contents(script);
        EXPECT_TRUE(nowScript == oldScript || nowScript == newScript);
        EXPECT_TRUE(contents(sheet) == oldSheet || cDIB().CreateFromFile(sheet));
        EXPECT_TRUE(!QFile::exists(settings) || readSettingsFile(settings).defaulted.isEmpty());
    }

    ASSERT_TRUE(reset());
    player.start();
    // The scene pictures may still be on their way (their flush to disk waits
    // for whatever else writes); a run that saves leaves no temporary.
    EXPECT_TRUE(QTest::qWaitFor([&] { return saved() && temporaries(dir).empty(); }, 60000)) << temporaries(dir);
    player.kill();
    player.waitForFinished();
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vv::test
