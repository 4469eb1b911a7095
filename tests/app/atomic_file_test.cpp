#include "app/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/unprivileged.h"

namespace vv {
namespace {

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
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("a.txt"), QStringLiteral("a.txt.vvtmp-notmine"), QStringLiteral("b.txt.vvtmp-Ab12Cd")}));
}

// Killed at random moments while it saves again and again, the writer leaves
// the whole old or the whole new file; the next save clears what it left.
TEST(AtomicFile, AKillDuringASaveLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clip.bmp"));
    const QByteArray one(300000, '1'), two(200000, '2');
    ASSERT_TRUE(writeFileAtomically(path, one));
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                writeFileAtomically(path, i % 2 ? one : two);
        }
        usleep(useconds_t(QRandomGenerator::global()->bounded(2000, 40000)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        const QByteArray now = readAll(path);
        EXPECT_TRUE(now == one || now == two) << round << " " << now.size();
    }
    ASSERT_TRUE(writeFileAtomically(path, "done"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("clip.bmp")});
}

} // namespace
} // namespace vv
