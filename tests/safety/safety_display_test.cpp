// The real player under abuse, each run reproducible: its seed is printed,
// and the variable it names repeats the run.
//
// Soak: the player (libmpv) under a few hundred random keys of the key map
// and random clicks into its window, on good and broken clips, must neither
// crash nor stop answering.
//
// Kill: the program killed (SIGKILL) at random moments while it writes:
// started on a video whose script needs repair (loading writes it back),
// whose preview sheet cannot be read (it is grabbed and written anew) and
// without a settings file (the first one is written). Every file is always
// the whole old or the whole new content, and the next run that saves leaves
// no temporary file behind.

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

#include "app/player_factory.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "control/crazy_vision.h"
#include "index/cdib.h"
#include "script/script_file.h"
#include "tests/support/app_fixture.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

// The seed the variable gives, or a random one; printed either way.
unsigned runSeed(const char* variable)
{
    const QByteArray fixed = qgetenv(variable);
    const unsigned seed = fixed.isEmpty() ? std::random_device{}() : fixed.toUInt();
    std::printf("seed %u (%s=%u repeats this run)\n", seed, variable, seed);
    std::fflush(stdout);
    return seed;
}

TEST(Soak, RandomKeysAndClicksNeitherCrashNorFreezeThePlayer)
{
    const unsigned seed = runSeed("VV_SOAK_SEED");

    const QString dir = freshTempDir(QStringLiteral("soak"));
    for (const char* clip : {"open-gop.avi", "eight.avi", "truncated.avi", "garbage.avi"})
        ASSERT_TRUE(QFile::copy(testMedia(QLatin1String(clip)), dir + QLatin1Char('/') + QLatin1String(clip)));

    // The program's own random draws (random playlist) and the test's come
    // from the seeded generator.
    std::mt19937 random(seed);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    FakeServices services;
    for (int i = 0; i < 1000; ++i)
        services.randoms.push_back(std::uniform_real_distribution<float>(0, 1)(random));
    {
        App app(services, [](QWidget* host) { return makeTestPlayer(host); });
        app.executableDir = dir;
        ASSERT_TRUE(Main(app, dir + QStringLiteral("/open-gop.avi")));
        // Every key of the key map (each also from the keypad), the keys
        // the lists and the text entry take, and others.
        std::vector<int> keys = {Qt::Key_Escape, Qt::Key_F1,   Qt::Key_Home, Qt::Key_Clear, Qt::Key_Return,
                                 Qt::Key_Up,     Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageDown};
        for (int k = Qt::Key_Space; k <= Qt::Key_Z; ++k)
            keys.push_back(k);

        // Each input is sent from a timer, and the timer is set for the next
        // one before it: an input that opens a loop of its own (crazy vision
        // runs until it is switched off) goes on receiving inputs, as it does
        // from a user. After the last input crazy vision is switched off, and
        // one more step times how soon the player answers then.
        int steps = 0;
        qint64 slowest = 0;
        QTimer timer;
        timer.setSingleShot(true);
        QElapsedTimer clock;
        const auto next = [&] {
            timer.start(10 + below(60));
            clock.start();
        };
        QObject::connect(&timer, &QTimer::timeout, [&] {
            slowest = std::max(slowest, clock.elapsed() - timer.interval());
            if (++steps > 300) {
                if (app.st.crazyvision == 1)
                    CRAZYvisionSWITCH(app);
                if (steps == 301)
                    next();
                return;
            }
            next();
            QWidget* window = &app.MDI();
            if (below(3) > 0) {
                const auto key = static_cast<Qt::Key>(keys[below(static_cast<int>(keys.size()))]);
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
                QTest::keyClick(target, key, below(2) ? Qt::KeypadModifier : Qt::NoModifier);
                return;
            }
            const QPoint at(below(std::max(1, window->width())), below(std::max(1, window->height())));
            QWidget* target = window->childAt(at) ? window->childAt(at) : window;
            const Qt::MouseButton button = below(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            if (below(5) == 0)
                QTest::mouseDClick(target, button, Qt::NoModifier, target->mapFrom(window, at));
            else
                QTest::mouseClick(target, button, Qt::NoModifier, target->mapFrom(window, at));
        });
        next();
        ASSERT_TRUE(QTest::qWaitFor([&] { return steps > 301; }, 150000)) << "seed " << seed;
        EXPECT_LT(slowest, 5000) << "seed " << seed;
    }
    QDir(dir).removeRecursively();
}

// Written in place: a write through the program's own atomic writer would
// clear the temporaries a killed run leaves, which the next run must clear.
bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The temporaries left in dir.
std::string temporaries(const QString& dir)
{
    std::string found;
    QDirIterator it(dir, {"*.vvtmp-*"}, QDir::Files | QDir::Hidden);
    while (it.hasNext())
        found += it.next().toStdString() + ' ';
    return found;
}

TEST(KilledPlayer, LeavesEveryFileWholeOldOrWholeNew)
{
    const unsigned seed = runSeed("VV_KILL_SEED");
    std::mt19937 random(seed);

    const QString dir = freshTempDir(QStringLiteral("kill"));
    const QString program = dir + QStringLiteral("/vardellvision");  // its folder is the program directory
    ASSERT_TRUE(QFile::copy(QStringLiteral(VV_PROGRAM), program));
    ASSERT_TRUE(QFile::copy(testMedia(QStringLiteral("open-gop.avi")), dir + QStringLiteral("/clip.avi")));
    const QString script = dir + QStringLiteral("/clip.txt");
    const QString sheet = dir + QStringLiteral("/clip.bmp");
    const QString settings = dir + QStringLiteral("/settings.ini");

    // 120 entries without the two leading pseudo-entries, and what loading
    // writes back.
    QByteArray oldScript;
    for (int i = 0; i < 120; ++i)
        oldScript += formatEntry(i * 2, i * 2 + 1, EntryAction::Loop, QString("part %1").arg(i)).toUtf8() + "\r\n";
    ScriptList repaired;
    ASSERT_TRUE(parseScript(repaired, oldScript).repaired);
    const QByteArray newScript = formatScript(repaired);
    const QByteArray oldSheet(3000, 'x');

    const auto reset = [&] {
        return put(script, oldScript) && put(sheet, oldSheet) && (QFile::remove(settings) || !QFile::exists(settings));
    };
    // A sheet that reads holds every byte its header gives it.
    const auto saved = [&] {
        return AppFixture::readFile(script) == newScript && cDIB().CreateFromFile(sheet) && QFile::exists(settings);
    };
    QProcess player;
    player.setProgram(program);
    player.setArguments({dir + QStringLiteral("/clip.avi")});

    // Run 0 shows how long a start takes to write everything; runs 1 to 20
    // are killed at random moments within that time. Run 21 saves again and
    // leaves no temporary behind (the scene pictures may still be on their
    // way: their flush to disk waits for whatever else writes).
    qint64 window = 0;
    for (int run = 0; run <= 21; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run << ", seed " << seed);
        ASSERT_TRUE(reset());
        QElapsedTimer clock;
        clock.start();
        player.start();
        ASSERT_TRUE(player.waitForStarted());
        if (run == 0 || run == 21) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return saved() && temporaries(dir).empty(); }, 60000))
                << temporaries(dir);
            window = clock.elapsed() * 6 / 5;
        } else {
            QThread::msleep(std::uniform_int_distribution<qint64>(0, window)(random));
        }
        player.kill();
        player.waitForFinished();
        const QByteArray nowScript = AppFixture::readFile(script);
        EXPECT_TRUE(nowScript == oldScript || nowScript == newScript);
        EXPECT_TRUE(AppFixture::readFile(sheet) == oldSheet || cDIB().CreateFromFile(sheet));
        EXPECT_TRUE(!QFile::exists(settings) || readSettingsFile(settings).defaulted.isEmpty());
    }
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vv::test
