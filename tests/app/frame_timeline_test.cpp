// The frame timeline: positions, the pictures they show and their times.

#include <gtest/gtest.h>

#include "app/frame_timeline.h"
#include "app/media_file.h"
#include "app/media_probe.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/mediamaker.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace vv {
namespace {

TEST(FrameTimeline, AviEntriesShowThePictureLastPresented)
{
    // Entries 1, 2 and 5 hold no picture of their own; the first picture
    // comes at entry 0, and in the second file only at entry 2.
    struct Case {
        std::int64_t entries;
        std::vector<std::int64_t> pictures;
        std::vector<std::int64_t> shown;   // picture ticks per position
    };
    const Case cases[] = {
        {7, {6, 0, 3, 4}, {0, 0, 0, 3, 4, 4, 6}},
        {5, {2, 3, 4, 9}, {2, 2, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        const FrameTimeline t = FrameTimeline::forEntries(c.entries, c.pictures, 0.04);
        ASSERT_EQ(t.positions(), c.entries);
        EXPECT_DOUBLE_EQ(t.seconds(), c.entries * 0.04);
        EXPECT_DOUBLE_EQ(t.frameRate(), 25);
        for (std::int64_t p = 0; p < c.entries; ++p) {
            EXPECT_EQ(t.pictureTicks(p), c.shown[p]) << p;
            EXPECT_EQ(t.positionTicks(p), p);
            EXPECT_EQ(t.positionAt(p * 0.04), p);   // playing: the entry of the moment
        }
        EXPECT_EQ(std::pair(t.pictureTicks(-3), t.pictureTicks(99)), std::pair(c.shown.front(), c.shown.back()));
        EXPECT_EQ(t.positionAt(99.0), c.entries - 1);
    }
}

TEST(FrameTimeline, OtherFilesCountPresentedPicturesWhateverTheirTiming)
{
    // Decoding order with B-frames, 30 and 50 ms by turns, starting at 23 ms.
    const FrameTimeline t = FrameTimeline::forPictures({23, 103, 53, 213, 133, 183}, 30, 0.001);
    ASSERT_EQ(t.positions(), 6);
    EXPECT_NEAR(t.seconds(), 0.220, 1e-9);
    const double seconds[] = {0, 0.030, 0.080, 0.110, 0.160, 0.190};
    for (std::int64_t p = 0; p < 6; ++p) {
        EXPECT_NEAR(t.pictureSeconds(p), seconds[p], 1e-9);
        EXPECT_EQ(t.positionAt(seconds[p]), p);
        EXPECT_EQ(t.positionAt(seconds[p] - 0.0004), p);            // clock rounding
        EXPECT_EQ(t.positionAt(seconds[p] + 0.025), p);             // shown until the next
        EXPECT_EQ(t.positionAtTicks(23 + seconds[p] * 1000), p);
    }
    EXPECT_EQ(std::pair(t.positionAt(-1), t.positionAt(1e9)), (std::pair<std::int64_t, std::int64_t>(0, 5)));

    // A last picture of unknown length lasts one tick.
    EXPECT_NEAR(FrameTimeline::forPictures({0, 40}, 0, 0.001).seconds(), 0.041, 1e-9);
    EXPECT_TRUE(FrameTimeline::forPictures({}, 1, 0.001).empty());
    EXPECT_TRUE(FrameTimeline::forEntries(5, {7, -1}, 0.04).empty());
    EXPECT_EQ(FrameTimeline().positionAt(1.0), 0);
}

// The timeline of a file as the player reads it.
FrameTimeline scanFile(const QString& path)
{
    QString error;
    return probeMedia(MediaFile::open(path, &error)).timeline;
}

TEST(FrameTimeline, ReplacedEmptyEndedAndCutFilesAreCountedAsTheyAre)
{
    const QString dir = test::freshTempDir(QStringLiteral("timeline"));
    const QString path = dir + QStringLiteral("/clip.avi"), other = test::testMedia(test::otherEncoders()[0].first);
    ASSERT_TRUE(QFile::copy(test::testMedia(QStringLiteral("open-gop.avi")), path));
    const std::int64_t pictures = scanFile(path).positions(), before = scanFile(other).positions();

    // Empty index entries at the end (an encoder's for pictures it dropped)
    // are positions of their own, also behind a chunk of odd size (padded to
    // even) before the index; what follows the index is not counted.
    QFile avi(path);
    ASSERT_TRUE(avi.open(QIODevice::ReadWrite));
    QByteArray bytes = avi.readAll();
    const qsizetype index = bytes.lastIndexOf("idx1");
    ASSERT_GT(index, 0);
    const QByteArray entry = QByteArray("00dc") + QByteArray(12, '\0');
    bytes += entry.repeated(3) + "00pc" + QByteArray(12, '\0');   // a palette change is no picture
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(bytes.constData() + index + 4) + 64, bytes.data() + index + 4);
    bytes += "JUNK" + QByteArray("\x18\0\0\0", 4) + QByteArray(8, '\0') + entry;   // not part of the index
    bytes.insert(index, QByteArray("JUNK\x03\0\0\0abc\0", 12));
    ASSERT_TRUE(avi.resize(0) && avi.write(bytes) == bytes.size());
    avi.close();
    const FrameTimeline t = scanFile(path);
    ASSERT_EQ(t.positions(), pictures + 3);
    for (std::int64_t p = 0; p < t.positions(); ++p)
        EXPECT_EQ(t.pictureTicks(p), std::min(p, pictures - 1)) << p;

    // A file replaced while it is open is known by the version read; by its
    // name, it is scanned anew, not taken from memory.
    QString error;
    const auto opened = MediaFile::open(path, &error);
    ASSERT_TRUE(opened && QFile::remove(path) && QFile::copy(other, path));
    EXPECT_EQ(probeMedia(opened).frameCount, pictures + 3);
    EXPECT_EQ(scanFile(path).positions(), before);

    // An MP4 cut short counts the pictures it holds, not those its index lists.
    const QString mp4 = dir + QStringLiteral("/whole.mp4"), cut = dir + QStringLiteral("/cut.mp4");
    const vvmaker::VideoSpec clip{.container = vvmaker::Container::Mp4H264, .audio = false, .indexFirst = true};
    ASSERT_TRUE(vvmaker::makeVideo(mp4.toStdString(), clip));
    ASSERT_TRUE(vvmaker::makeTruncatedCopy(mp4.toStdString(), cut.toStdString(), 0.6));
    const std::int64_t held = scanFile(cut).positions();
    EXPECT_TRUE(held > 100 && held < 160) << held;
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vv
