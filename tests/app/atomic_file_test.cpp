#include "app/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

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

} // namespace
} // namespace vv
