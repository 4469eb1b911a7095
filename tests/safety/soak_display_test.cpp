// The real player (libmpv) under a few hundred random keys of the key map and
// random clicks into its window, on good and broken clips: it must neither
// crash nor stop answering. The run is reproducible: its seed is printed, and
// VV_SOAK_SEED repeats it.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

#include "app/app.h"
#include "app/main_window.h"
#include "app/player_factory.h"
#include "app/startup.h"
#include "control/crazy_vision.h"
#include "control/keymap.h"
#include "control/virtual_keys.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

// Fake message boxes and directory chooser, a real seeded random generator:
// the program's own draws (random playlist) and the test's come from it.
class SoakServices : public FakeServices {
public:
    explicit SoakServices(unsigned seed) : random_(seed) {}
    float rnd() override { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random_); }
    int below(int n) { return std::min(n - 1, static_cast<int>(rnd() * static_cast<float>(n))); }

private:
    std::mt19937 random_;
};

// Every key of the key map, and the keys the lists and the text entry take.
std::vector<std::pair<int, bool>> soakKeys()
{
    std::vector<int> mapped = {Qt::Key_Escape, Qt::Key_F1, Qt::Key_Home, Qt::Key_Clear};
    for (int k = Qt::Key_Space; k <= Qt::Key_Z; ++k)
        mapped.push_back(k);
    std::vector<std::pair<int, bool>> keys;  // Qt key, on the keypad
    for (const int k : mapped)
        for (const bool keypad : {false, true})
            if (lookupKey(virtualKey(k, keypad)))
                keys.emplace_back(k, keypad);
    for (int k : {Qt::Key_Return, Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageDown})
        keys.emplace_back(k, false);
    return keys;
}

TEST(Soak, RandomKeysAndClicksNeitherCrashNorFreezeThePlayer)
{
    const QByteArray fixed = qgetenv("VV_SOAK_SEED");
    const unsigned seed = fixed.isEmpty() ? std::random_device{}() : fixed.toUInt();
    std::printf("soak seed %u (VV_SOAK_SEED=%u repeats this run)\n", seed, seed);
    std::fflush(stdout);

    const QString dir = freshTempDir(QStringLiteral("soak"));
    for (const char* clip : {"open-gop.avi", "eight.avi", "truncated.avi", "garbage.avi"})
        ASSERT_TRUE(QFile::copy(testMedia(QLatin1String(clip)), dir + QLatin1Char('/') + QLatin1String(clip)));

    SoakServices services(seed);
    {
        App app(services, [](QWidget* host) { return makeTestPlayer(host); });
        app.executableDir = dir;
        ASSERT_TRUE(Main(app, dir + QStringLiteral("/open-gop.avi")));
        const std::vector<std::pair<int, bool>> keys = soakKeys();
        ASSERT_GE(keys.size(), 30u);

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
            timer.start(10 + services.below(60));
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
            if (services.below(3) > 0) {
                const auto [key, keypad] = keys[services.below(static_cast<int>(keys.size()))];
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
                QTest::keyClick(target, static_cast<Qt::Key>(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
                return;
            }
            const QPoint at(services.below(std::max(1, window->width())), services.below(std::max(1, window->height())));
            QWidget* target = window->childAt(at) ? window->childAt(at) : window;
            const Qt::MouseButton button = services.below(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            if (services.below(5) == 0)
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

} // namespace
} // namespace vv::test
