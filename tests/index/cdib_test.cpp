#include "index/cdib.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include "index/frame_source.h"
#include "tests/support/fake_services.h"
#include "tests/support/test_media.h"

namespace vv {
namespace {

using test::FakeServices;

void put16(QByteArray& b, int at, std::uint16_t v)
{
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>(v >> 8);
}

void put32(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

std::uint32_t get32(const QByteArray& b, int at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// A packed 24-bit bitmap as the frame source hands it out, pixels numbered.
QByteArray packedFrame(int width, int height)
{
    QByteArray packed = packedDibHeader(width, height);
    const int size = static_cast<int>(get32(packed, 20));
    for (int i = 0; i < size; ++i)
        packed.append(static_cast<char>(i * 7));
    return packed;
}

// A bitmap file: file header, 40-byte information header, `paletteBytes`
// after it, then the pixels.
QByteArray bitmapFile(int width, int height, int bits, int paletteBytes, int pixelBytes)
{
    const int offBits = 54 + paletteBytes;
    QByteArray f(offBits, '\0');
    f[0] = 'B';
    f[1] = 'M';
    put32(f, 2, static_cast<std::uint32_t>(offBits + pixelBytes));
    put32(f, 10, static_cast<std::uint32_t>(offBits));
    put32(f, 14, 40);
    put32(f, 18, static_cast<std::uint32_t>(width));
    put32(f, 22, static_cast<std::uint32_t>(height));
    put16(f, 26, 1);
    put16(f, 28, static_cast<std::uint16_t>(bits));
    put32(f, 34, static_cast<std::uint32_t>(pixelBytes));
    put32(f, 46, bits <= 8 ? 1u << bits : 0);
    for (int i = 0; i < paletteBytes; ++i)
        f[54 + i] = static_cast<char>(i);
    for (int i = 0; i < pixelBytes; ++i)
        f.append(static_cast<char>(255 - i % 251));
    return f;
}

QString writeTemp(const QString& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir + '/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CdibTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::freshTempDir("cdib"); }
    void TearDown() override { QDir(dir).removeRecursively(); }
    QString dir;
    FakeServices services;
};

TEST_F(CdibTest, PackedFrameBecomesTheDocumentedFile)
{
    const QByteArray packed = packedFrame(160, 120);
    cDIB dib(&services);
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(packed.constData(), packed.size()));

    EXPECT_EQ(dib.Width(), 160);
    EXPECT_EQ(dib.Height(), 120);
    EXPECT_EQ(dib.BitCount(), 24);
    EXPECT_EQ(dib.Planes(), 1);
    EXPECT_EQ(dib.Compression(), 0);
    EXPECT_EQ(dib.SizeInfoHeader(), 40);
    EXPECT_EQ(dib.SizeImage(), 57600);
    EXPECT_EQ(dib.FileType(), 19778);
    EXPECT_EQ(dib.SizeFileHeader(), 57654);
    EXPECT_EQ(dib.BitOffset(), 54);
    EXPECT_EQ(dib.SizeBitmapInfo(), 40);
    EXPECT_EQ(0, std::memcmp(dib.PointerToBitmapInfo(), packed.constData(), 40));
    EXPECT_EQ(0, std::memcmp(dib.PointerToBits(), packed.constData() + 40, 57600));

    const QString file = dir + "/0.bmp";
    ASSERT_TRUE(dib.WriteToFile(file));
    const QByteArray bytes = readAll(file);
    ASSERT_EQ(bytes.size(), 57654);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(get32(bytes, 2), 57654u);
    EXPECT_EQ(get32(bytes, 6), 0u);  // both reserved fields
    EXPECT_EQ(get32(bytes, 10), 54u);
    EXPECT_EQ(bytes.mid(14), packed);
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(CdibTest, FileRoundTripKeepsHeadersAndPixels)
{
    const QByteArray packed = packedFrame(318, 7);  // rows padded from 954 to 956 bytes
    cDIB written;
    ASSERT_TRUE(written.CreateFromPackedDIBPointer(packed.constData(), packed.size()));
    const QString file = dir + "/odd.bmp";
    ASSERT_TRUE(written.WriteToFile(file));

    cDIB read(&services);
    ASSERT_TRUE(read.CreateFromFile(file));
    EXPECT_EQ(read.Width(), 318);
    EXPECT_EQ(read.Height(), 7);
    EXPECT_EQ(read.SizeImage(), 956 * 7);
    EXPECT_EQ(read.SizeFileHeader(), written.SizeFileHeader());
    EXPECT_EQ(read.BitOffset(), 54);
    EXPECT_EQ(read.SizeBitmapInfo(), 40);
    EXPECT_EQ(read.fileBytes(), written.fileBytes());
    EXPECT_EQ(0, std::memcmp(read.PointerToBits(), packed.constData() + 40, 956 * 7));

    // And the copy writes the same file again.
    ASSERT_TRUE(read.WriteToFile(dir + "/again.bmp"));
    EXPECT_EQ(readAll(dir + "/again.bmp"), readAll(file));
}

TEST_F(CdibTest, ColourTableStaysWithTheBitmapInformation)
{
    const QString file = writeTemp(dir, "palette.bmp", bitmapFile(4, 2, 8, 1024, 8));
    cDIB dib(&services);
    ASSERT_TRUE(dib.CreateFromFile(file));
    EXPECT_EQ(dib.BitOffset(), 1078);
    EXPECT_EQ(dib.SizeBitmapInfo(), 1064);
    EXPECT_EQ(dib.BitCount(), 8);
    EXPECT_EQ(dib.ClrUsed(), 256);
    const QByteArray bytes = readAll(file);
    EXPECT_EQ(0, std::memcmp(dib.PointerToBitmapInfo(), bytes.constData() + 14, 1064));
    EXPECT_EQ(0, std::memcmp(dib.PointerToBits(), bytes.constData() + 1078, 8));
    EXPECT_EQ(dib.fileBytes(), bytes);
}

TEST_F(CdibTest, PackedBitmapsItCannotHoldAreRefused)
{
    QByteArray palette = packedFrame(4, 4);
    put16(palette, 14, 8);
    QByteArray noSize = packedFrame(4, 4);
    put32(noSize, 20, 0);
    QByteArray negativeSize = packedFrame(4, 4);
    put32(negativeSize, 20, 0xFFFFFFF0u);
    QByteArray claimsMore = packedFrame(4, 4);
    put32(claimsMore, 20, 49);  // one byte more than it carries
    QByteArray hugeClaim = packedFrame(4, 4);
    put32(hugeClaim, 20, 0x7FFFFFF0u);

    struct Row {
        const char* name;
        QByteArray packed;
        std::size_t available;
    };
    const Row rows[] = {
        {"8 bits per pixel", palette, static_cast<std::size_t>(palette.size())},
        {"biSizeImage 0", noSize, static_cast<std::size_t>(noSize.size())},
        {"negative biSizeImage", negativeSize, static_cast<std::size_t>(negativeSize.size())},
        {"more pixels than handed over", claimsMore, static_cast<std::size_t>(claimsMore.size())},
        {"2 GB claimed", hugeClaim, static_cast<std::size_t>(hugeClaim.size())},
        {"header cut short", packedFrame(4, 4), 39},
    };

    const QByteArray good = packedFrame(2, 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cDIB dib(&services);
        ASSERT_TRUE(dib.CreateFromPackedDIBPointer(good.constData(), good.size()));
        const QByteArray before = QByteArray(reinterpret_cast<const char*>(dib.PointerToBits()), dib.SizeImage());
        EXPECT_FALSE(dib.CreateFromPackedDIBPointer(row.packed.constData(), row.available));
        // The pixels and the file header stay those of the last bitmap.
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dib.PointerToBits()), before.size()), before);
        EXPECT_EQ(dib.BitOffset(), 54);
        EXPECT_EQ(dib.SizeFileHeader(), 54 + 16);
    }
    EXPECT_TRUE(services.boxes.empty());

    // The refused header itself is what the properties then show.
    cDIB dib;
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(palette.constData(), palette.size()));
    EXPECT_EQ(dib.BitCount(), 8);
    EXPECT_EQ(dib.PointerToBits(), nullptr);
    EXPECT_FALSE(dib.WriteToFile(dir + "/never.bmp"));
    EXPECT_FALSE(QFile::exists(dir + "/never.bmp"));
}

TEST_F(CdibTest, BrokenFilesAreRefusedWithTheFormatMessage)
{
    const QByteArray good = bitmapFile(4, 2, 24, 0, 24);
    auto with32 = [&](int at, std::uint32_t v) {
        QByteArray b = good;
        put32(b, at, v);
        return b;
    };
    QByteArray wrongType = good;
    wrongType[0] = 'P';
    wrongType[1] = 'K';

    struct Row {
        const char* name;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"empty file", QByteArray()},
        {"shorter than the file header", good.left(10)},
        {"not BM", wrongType},
        {"file header only", good.left(14)},
        {"information header cut short", good.left(40)},
        {"bfOffBits below the file header", with32(10, 10)},
        {"bfOffBits inside the information header", with32(10, 30)},
        {"negative bfOffBits", with32(10, 0xFFFFFF00u)},
        {"bfOffBits beyond the file", with32(10, 5000)},
        {"negative biSizeImage", with32(34, 0x80000000u)},
        {"biSizeImage beyond the file", with32(34, 25)},
        {"2 GB of pixels claimed", with32(34, 0x7FFFFFFFu)},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        services.boxes.clear();
        const QString file = writeTemp(dir, "broken.bmp", row.bytes);
        cDIB dib(&services);
        const QString previous = writeTemp(dir, "previous.bmp", bitmapFile(2, 2, 24, 0, 16));
        ASSERT_TRUE(dib.CreateFromFile(previous));
        services.boxes.clear();

        EXPECT_FALSE(dib.CreateFromFile(file));
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes[0].text, "File is not a supported bitmap format:\r\n" + file);
        EXPECT_EQ(services.boxes[0].icon, Services::Icon::Information);
        EXPECT_TRUE(services.boxes[0].title.isEmpty());  // the application's title
        // The pixels and bitmap information are still those of the last file.
        EXPECT_EQ(dib.SizeBitmapInfo(), 40);
        EXPECT_EQ(static_cast<std::uint8_t>(dib.PointerToBits()[0]), 255);
    }
}

TEST_F(CdibTest, MissingFileAndOpenFailuresHaveTheirMessages)
{
    cDIB dib(&services);
    const QString missing = dir + "/missing.bmp";
    EXPECT_FALSE(dib.CreateFromFile(missing));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "File does not exist:\r\n" + missing);
    EXPECT_EQ(services.boxes[0].icon, Services::Icon::Critical);

    services.boxes.clear();
    EXPECT_FALSE(dib.CreateFromFile(dir));  // a directory is no file
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(services.boxes[0].text.startsWith("File does not exist:\r\n"));

    bool critical = false;
    EXPECT_EQ(bitmapOpenFailureText(EACCES, "/v/x.bmp", &critical), "File is locked - cannot access:\r\n/v/x.bmp");
    EXPECT_TRUE(critical);
    const QString other = bitmapOpenFailureText(EIO, "/v/x.bmp", &critical);
    EXPECT_FALSE(critical);
    EXPECT_EQ(other, QString::fromLocal8Bit(std::strerror(EIO)));

    // Without services nothing is shown and nothing breaks.
    cDIB quiet;
    EXPECT_FALSE(quiet.CreateFromFile(missing));
}

TEST_F(CdibTest, FailedWriteIsReportedAndLeavesTheOldFile)
{
    const QByteArray packed = packedFrame(8, 8);
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(packed.constData(), packed.size()));
    EXPECT_FALSE(dib.WriteToFile(dir + "/no/such/dir/0.bmp"));
    EXPECT_FALSE(dib.WriteToFile(dir));  // the name of a directory

    const QString file = writeTemp(dir, "kept.bmp", "old contents");
    EXPECT_FALSE(cDIB().WriteToFile(file));  // an empty object has nothing to write
    EXPECT_EQ(readAll(file), "old contents");
    ASSERT_TRUE(dib.WriteToFile(file));
    EXPECT_EQ(readAll(file).size(), 54 + 8 * 24);
}

} // namespace
} // namespace vv
