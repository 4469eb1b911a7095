#include "index/cdib.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

#include "index/frame_source.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"
#include "tests/support/unprivileged.h"

namespace vv {
namespace {

using test::FakeServices;

// Little-endian fields of `bytes` bytes.
QByteArray with(QByteArray b, int at, std::uint32_t v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
    return b;
}

// A packed 24-bit bitmap as the frame source hands it out, pixels numbered.
QByteArray packedFrame(int width, int height)
{
    QByteArray packed = packedDibHeader(width, height);
    for (int i = 0; i < ((width * 3 + 3) & ~3) * height; ++i)
        packed.append(static_cast<char>(i * 7));
    return packed;
}

// A bitmap file: file header, 40-byte information header, `paletteBytes`
// after it, then the pixels.
QByteArray bitmapFile(int width, int height, int bits, int paletteBytes, int pixelBytes)
{
    const int offBits = 54 + paletteBytes;
    QByteArray f = "BM" + QByteArray(offBits - 2, '\0');
    // Reserved fields and resolutions set, so that a round trip shows they are kept.
    for (const auto& [at, v] : {std::pair{2, offBits + pixelBytes}, {6, 0x20001}, {10, offBits}, {14, 40}, {18, width},
                                {22, height}, {34, pixelBytes}, {38, 2835}, {42, 2836}, {46, bits <= 8 ? 1 << bits : 0},
                                {50, 7}})
        f = with(f, at, static_cast<std::uint32_t>(v));
    f = with(with(f, 26, 1, 2), 28, static_cast<std::uint32_t>(bits), 2);
    for (int i = 0; i < paletteBytes; ++i)
        f[54 + i] = static_cast<char>(i);
    for (int i = 0; i < pixelBytes; ++i)
        f.append(static_cast<char>(255 - i % 251));
    return f;
}

QString writeTemp(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir + '/' + name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Width, height, bits per pixel, pixel bytes, file size, pixel offset and
// the size of the bitmap information.
std::vector<int> shape(const cDIB& dib)
{
    return {dib.Width(),          dib.Height(),    dib.BitCount(),      dib.SizeImage(),
            dib.SizeFileHeader(), dib.BitOffset(), dib.SizeBitmapInfo()};
}

class CdibTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::freshTempDir("cdib"); }
    void TearDown() override { QDir(dir).removeRecursively(); }
    QString dir;
    FakeServices services;
};

TEST_F(CdibTest, PackedFrameBecomesTheDocumentedFileAndReadsBackWhole)
{
    const QByteArray packed = packedFrame(318, 7);  // rows padded from 954 to 956 bytes
    cDIB written(&services);
    ASSERT_TRUE(written.CreateFromPackedDIBPointer(packed.constData(), packed.size()));
    EXPECT_EQ(shape(written), (std::vector<int>{318, 7, 24, 956 * 7, 54 + 956 * 7, 54, 40}));
    EXPECT_EQ((std::vector<int>{written.Planes(), written.Compression(), written.SizeInfoHeader(), written.FileType()}),
              (std::vector<int>{1, 0, 40, 19778}));
    const QString file = dir + "/odd.bmp";
    ASSERT_TRUE(written.WriteToFile(file));
    const QByteArray bytes = readAll(file);
    // Both reserved fields 0, the pixels right behind the bitmap information.
    EXPECT_EQ(bytes, with(with("BM" + QByteArray(12, '\0'), 2, 54 + 956 * 7), 10, 54) + packed);

    cDIB read(&services);
    ASSERT_TRUE(read.CreateFromFile(file));
    EXPECT_EQ(shape(read), shape(written));
    EXPECT_EQ(read.fileBytes(), bytes);
    EXPECT_TRUE(services.boxes.empty());
    // The same bitmap handed over as bytes, exactly or with more beyond its pixels.
    for (const QByteArray& handed : {packed, packed + "tail"}) {
        cDIB dib;
        ASSERT_TRUE(dib.CreateFromPackedDIB(handed));
        EXPECT_EQ(0, std::memcmp(dib.PointerToBits(), packed.constData() + 40, 956 * 7));
        ASSERT_TRUE(dib.WriteToFile(dir + "/handed.bmp"));
        EXPECT_EQ(readAll(dir + "/handed.bmp"), bytes);
    }
    // Each read closes its file: sixteen scene pictures at every load must
    // not use up the process's descriptors.
    const auto openFiles = [] { return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System).size(); };
    const auto before = openFiles();
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(read.CreateFromFile(file));
    EXPECT_EQ(openFiles(), before);

    // A colour table stays with the bitmap information.
    const QByteArray palette = bitmapFile(4, 2, 8, 1024, 8);
    cDIB dib(&services);
    ASSERT_TRUE(dib.CreateFromFile(writeTemp(dir, "palette.bmp", palette)));
    EXPECT_EQ(shape(dib), (std::vector<int>{4, 2, 8, 8, 1086, 1078, 1064}));
    EXPECT_EQ((std::vector{dib.XPPM(), dib.YPPM(), dib.ClrUsed(), dib.ClrImportant()}),
              (std::vector<std::int32_t>{2835, 2836, 256, 7}));
    EXPECT_EQ(dib.fileBytes(), palette);
}

// Refused packed bitmaps say nothing; refused files say the format message.
// Either way the object keeps the last bitmap's pixels and information.
TEST_F(CdibTest, BitmapsItCannotHoldMissingFilesAndFailedWritesAreRefusedAndLeaveWhatWasThere)
{
    const QByteArray frame = packedFrame(4, 4), palette = with(frame, 14, 8, 2), good = bitmapFile(4, 2, 24, 0, 24);
    struct Row {
        const char* name;
        QByteArray bytes;
        bool file;
    } const rows[] = {
        {"8 bits per pixel", palette, false},
        {"biSizeImage 0", with(frame, 20, 0), false},
        {"more pixels than handed over", with(frame, 20, 49), false},
        {"header cut short", frame.left(39), false},
        {"empty file", QByteArray(), true},
        {"not BM", with(good, 0, 'P' | 'K' << 8, 2), true},
        {"information header cut short", good.left(40), true},
        {"bfOffBits inside the information header", with(good, 10, 30), true},
        {"bfOffBits beyond the file", with(good, 10, 5000), true},
        {"negative biSizeImage", with(good, 34, 0x80000000u), true},
        {"2 GB of pixels claimed", with(good, 34, 0x7FFFFFFFu), true},
    };
    const QString previous = writeTemp(dir, "previous.bmp", bitmapFile(2, 2, 24, 0, 16));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cDIB dib(&services);
        ASSERT_TRUE(dib.CreateFromFile(previous));
        const QString file = writeTemp(dir, "broken.bmp", row.bytes);
        EXPECT_FALSE(row.file ? dib.CreateFromFile(file) : dib.CreateFromPackedDIBPointer(row.bytes.constData(), row.bytes.size()));
        ASSERT_EQ(services.boxes.size(), row.file ? 1u : 0u);
        if (row.file) {
            EXPECT_EQ(services.boxes[0].text, "File is not a supported bitmap format:\r\n" + file);
            EXPECT_EQ(services.boxes[0].icon, Services::Icon::Information);
        }
        services.boxes.clear();
        EXPECT_EQ(dib.SizeBitmapInfo(), 40);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dib.PointerToBits()), 16), readAll(previous).mid(54));
    }
    // Missing files and failed writes are reported and leave the old file.
    cDIB dib(&services);
    for (const QString& missing : {dir + "/missing.bmp", dir /* a directory is no file */}) {
        services.boxes.clear();
        EXPECT_FALSE(dib.CreateFromFile(missing));
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes[0].text, "File does not exist:\r\n" + missing);
        EXPECT_EQ(services.boxes[0].icon, Services::Icon::Critical);
    }
    // A file that cannot be opened (read by another user) is locked.
    const QString locked = writeTemp(dir, "locked.bmp", bitmapFile(2, 2, 24, 0, 16));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    test::openForOthers(dir);
    EXPECT_TRUE(test::runUnprivileged([&] {
        FakeServices seen;
        return !cDIB(&seen).CreateFromFile(locked) && seen.boxes.size() == 1 &&
               seen.boxes[0].text == "File is locked - cannot access:\r\n" + locked &&
               seen.boxes[0].icon == Services::Icon::Critical;
    }));

    const QByteArray packed = packedFrame(8, 8);
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(packed.constData(), packed.size()));
    EXPECT_FALSE(dib.WriteToFile(dir + "/no/such/dir/0.bmp"));
    EXPECT_FALSE(dib.WriteToFile(dir));  // the name of a directory
    const QString file = writeTemp(dir, "kept.bmp", "old contents");
    cDIB refused;  // refused as its first bitmap, it has nothing to write
    ASSERT_FALSE(refused.CreateFromPackedDIBPointer(palette.constData(), palette.size()));
    EXPECT_FALSE(refused.WriteToFile(file));
    EXPECT_EQ(readAll(file), "old contents");
    ASSERT_TRUE(dib.WriteToFile(file));
    EXPECT_EQ(readAll(file).size(), 54 + 8 * 24);
}

} // namespace
} // namespace vv
