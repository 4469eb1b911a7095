#include "index/frame_source.h"

#include <QDir>
#include <gtest/gtest.h>

#include "index/cdib.h"
#include "index/preview_rules.h"
#include "index/scene_grab.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/mediamaker.h"

namespace vv {
namespace {

std::uint32_t get32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The frame number a packed bitmap of the given size carries; -1 none, -2 no
// bitmap at all.
int numberIn(std::span<const std::uint8_t> packed, int width, int height)
{
    if (packed.empty())
        return -2;
    const int stride = (width * 3 + 3) & ~3;
    if (packed.size() != static_cast<std::size_t>(40 + stride * height))
        return -3;
    return vvmaker::readFrameNumber(packed.data() + 40, width, height, stride, 3, true);
}

int numberIn(const QByteArray& packed, int width, int height)
{
    return numberIn(std::span(reinterpret_cast<const std::uint8_t*>(packed.constData()),
                              static_cast<std::size_t>(packed.size())),
                    width, height);
}

// The frames the index generation asks for first.
std::vector<std::int32_t> previewTargets(std::int32_t frames)
{
    std::vector<std::int32_t> out;
    for (const auto& c : previewCandidates(frames, *previewStep(frames))) {
        if (out.size() < SceneCount)
            out.push_back(c.frame);
    }
    return out;
}

struct Clip {
    const char* name;
    std::int32_t frames;
    int width;
    int height;
};

void PrintTo(const Clip& clip, std::ostream* out)
{
    *out << clip.name;
}

class GrabbedClip : public ::testing::TestWithParam<Clip> {};

TEST_P(GrabbedClip, EveryPreviewFrameIsExactlyTheOneAskedFor)
{
    const Clip clip = GetParam();
    const QString path = test::testMedia(clip.name);
    ASSERT_FALSE(path.isEmpty());
    FrameSource source(path);
    ASSERT_TRUE(source.isOpen());
    EXPECT_EQ(source.frameCount(), clip.frames);
    EXPECT_EQ(source.width(), clip.width);
    EXPECT_EQ(source.height(), clip.height);

    const auto targets = previewTargets(clip.frames);
    const auto pictures = grabFrames(source, targets);
    ASSERT_EQ(pictures.size(), targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i)
        EXPECT_EQ(numberIn(pictures[i], clip.width, clip.height), targets[i]) << "target " << targets[i];

    // One at a time and backwards (every step a seek) gives the same frames,
    // and so does a neighbour of each keyframe boundary.
    FrameSource single(path);
    for (auto t = targets.rbegin(); t != targets.rend(); ++t)
        EXPECT_EQ(numberIn(single.getFrame(*t), clip.width, clip.height), *t) << "target " << *t;
    for (std::int32_t t : {clip.frames - 1, 1, 49, 50, 51, 26, 24}) {
        if (t < clip.frames) {
            EXPECT_EQ(numberIn(single.getFrame(t), clip.width, clip.height), t) << "target " << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, GrabbedClip,
                         ::testing::Values(Clip{"open-gop.avi", 250, 320, 240}, Clip{"closed-gop.avi", 250, 320, 240},
                                           Clip{"program.mpg", 250, 320, 240}, Clip{"ntsc.avi", 299, 320, 240},
                                           Clip{"odd-width.avi", 100, 318, 240}, Clip{"eight.avi", 8, 320, 240}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(FrameSource, AnyFrameInAnyOrder)
{
    // Open GOPs (B-frames before a keyframe that refer to the GOP before) and
    // a program stream (seeks by time that land anywhere) are the hard cases.
    for (const char* name : {"open-gop.avi", "program.mpg"}) {
        SCOPED_TRACE(name);
        FrameSource source(test::testMedia(name));
        ASSERT_EQ(source.frameCount(), 250);
        std::vector<std::int32_t> order(80);
        for (std::int32_t i = 0; i < 80; ++i)
            order[i] = (i * 97 + 13) % 250;  // 80 different frames, jumping both ways
        int wrong = 0;
        for (std::int32_t t : order) {
            const int got = numberIn(source.getFrame(t), 320, 240);
            if (got != t && ++wrong <= 5)
                ADD_FAILURE() << "frame " << t << " came out as " << got;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(FrameSource, PackedBitmapHasTheWantedFormat)
{
    FrameSource source(test::testMedia("odd-width.avi"));
    ASSERT_TRUE(source.isOpen());
    const auto packed = source.getFrame(37);
    ASSERT_EQ(packed.size(), 40u + 956u * 240u);  // 318 pixels: 954 bytes padded to 956
    const std::uint8_t* h = packed.data();
    EXPECT_EQ(get32(h + 0), 40u);
    EXPECT_EQ(get32(h + 4), 318u);
    EXPECT_EQ(get32(h + 8), 240u);
    EXPECT_EQ(h[12] | (h[13] << 8), 1);
    EXPECT_EQ(h[14] | (h[15] << 8), 24);
    EXPECT_EQ(get32(h + 16), 0u);
    EXPECT_EQ(get32(h + 20), 956u * 240u);
    for (int at = 24; at < 40; ++at)
        EXPECT_EQ(h[at], 0) << at;
    for (int row = 0; row < 240; ++row) {
        EXPECT_EQ(h[40 + row * 956 + 954], 0);
        EXPECT_EQ(h[40 + row * 956 + 955], 0);
    }
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(h), 40), packedDibHeader(318, 240));

    // The bitmap object takes it as it is.
    cDIB dib;
    EXPECT_TRUE(dib.CreateFromPackedDIBPointer(packed.data(), packed.size()));
    EXPECT_EQ(dib.SizeFileHeader(), 54 + 956 * 240);
}

TEST(FrameSource, ShortcutsAndSecondWorkerDeliverTheSameBytes)
{
    for (const char* name : {"open-gop.avi", "program.mpg"}) {
        SCOPED_TRACE(name);
        const QString path = test::testMedia(name);
        const auto targets = previewTargets(250);
        FrameSource fast(path);
        FrameSource plain(path, FrameSourceOptions{.skipUnreferencedFrames = false});
        const auto both = grabFrames(fast, targets, 2);
        const auto one = grabFrames(plain, targets, 1);
        ASSERT_EQ(both.size(), one.size());
        for (std::size_t i = 0; i < targets.size(); ++i) {
            EXPECT_FALSE(one[i].isEmpty());
            EXPECT_TRUE(both[i] == one[i]) << "target " << targets[i];
        }
        EXPECT_LT(fast.decodedPictures(), plain.decodedPictures());
    }
}

TEST(FrameSource, TruncatedFileGivesItsLastRealFrameBeyondTheEnd)
{
    FrameSource source(test::testMedia("truncated.avi"));
    ASSERT_TRUE(source.isOpen());
    EXPECT_EQ(source.frameCount(), 250);  // what the header claims
    const int last = numberIn(source.getFrame(249), 320, 240);
    EXPECT_GT(last, 100);
    EXPECT_LT(last, 140);

    const auto targets = previewTargets(250);
    const auto pictures = grabFrames(source, targets, 1);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const int expected = targets[i] <= last ? targets[i] : last;
        EXPECT_EQ(numberIn(pictures[i], 320, 240), expected) << "target " << targets[i];
    }
    // The end, once met, is not searched for again: the work stays about
    // one pass over the real frames.
    for (std::int32_t t = 249; t > last; t -= 3)
        EXPECT_EQ(numberIn(source.getFrame(t), 320, 240), last);
    EXPECT_LT(source.decodedPictures(), 3 * 125);
}

TEST(FrameSource, FilesThatAreNoVideoFailCleanly)
{
    const QString missing = QDir::tempPath() + "/vv-no-such-video.avi";
    for (const QString& path : {test::testMedia("garbage.avi"), missing, test::testMedia("tone.wav")}) {
        SCOPED_TRACE(path.toStdString());
        FrameSource source(path);
        EXPECT_FALSE(source.isOpen());
        EXPECT_EQ(source.frameCount(), 0);
        EXPECT_TRUE(source.getFrame(0).empty());
        const auto pictures = grabFrames(source, {0, 1, 2});
        ASSERT_EQ(pictures.size(), 3u);
        for (const auto& p : pictures)
            EXPECT_TRUE(p.isEmpty());
        EXPECT_FALSE(grabScenes(path).ok);
    }

    FrameSource source(test::testMedia("eight.avi"));
    EXPECT_TRUE(source.getFrame(-1).empty());
    EXPECT_TRUE(source.getFrame(8).empty());
    EXPECT_FALSE(source.getFrame(7).empty());
}

TEST(SceneGrab, SixteenScenesOfTheVideo)
{
    const SceneGrab grab = grabScenes(test::testMedia("open-gop.avi"));
    ASSERT_TRUE(grab.ok);
    EXPECT_EQ(grab.frameCount, 250);
    ASSERT_EQ(grab.scenes.size(), 16u);
    QList<QImage> pictures;
    for (int k = 0; k < 16; ++k) {
        const GrabbedScene& s = grab.scenes[k];
        EXPECT_EQ(s.scene, k);
        EXPECT_EQ(s.position, 16 * k);
        EXPECT_EQ(s.frame, 16 * k);
        EXPECT_EQ(numberIn(s.packedDib, 320, 240), 16 * k);
        pictures.append(imageFromPackedDib(s.packedDib.constData(), s.packedDib.size()));
        EXPECT_EQ(test::frameNumberOf(pictures.back()), 16 * k);
    }

    // Through the sheet file and back: every cell still carries its frame.
    const QString dir = test::freshTempDir("sheet");
    const QString sheetFile = previewSheetWriteName(dir + "/clip.avi");
    const QByteArray sheet = packedDibFromImage(buildPreviewSheet(pictures));
    cDIB dib;
    ASSERT_TRUE(dib.CreateFromPackedDIBPointer(sheet.constData(), sheet.size()));
    ASSERT_TRUE(dib.WriteToFile(sheetFile));
    const QImage loaded(previewSheetReadName(dir + "/clip.avi"));
    ASSERT_EQ(loaded.size(), QSize(640, 480));
    const QList<QImage> cells = cutPreviewSheet(loaded);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(test::frameNumberOf(cells[k]), loadedScenePosition(k, 250)) << "cell " << k;
    QDir(dir).removeRecursively();
}

TEST(SceneGrab, ShortVideosFollowTheSceneRules)
{
    // Eight frames: step 1, nine frames asked, the last of them as frame 7.
    const SceneGrab eight = grabScenes(test::testMedia("eight.avi"));
    ASSERT_TRUE(eight.ok);
    ASSERT_EQ(eight.scenes.size(), 9u);
    EXPECT_EQ(eight.scenes[8].position, 8);
    EXPECT_EQ(eight.scenes[8].frame, 7);
    EXPECT_EQ(numberIn(eight.scenes[8].packedDib, 320, 240), 7);

    // 28 frames: fifteen scenes 0 .. 28, then the last frame as scene 15.
    const QString dir = test::freshTempDir("scenes28");
    const QString path = dir + "/28.avi";
    vvmaker::VideoSpec clip;
    clip.frames = 28;
    clip.width = 160;
    clip.height = 120;
    clip.audio = false;
    ASSERT_TRUE(vvmaker::makeVideo(path.toStdString(), clip));
    const SceneGrab grab = grabScenes(path);
    ASSERT_TRUE(grab.ok);
    ASSERT_EQ(grab.scenes.size(), 16u);
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(grab.scenes[k].position, 2 * k);
        EXPECT_EQ(numberIn(grab.scenes[k].packedDib, 160, 120), std::min(2 * k, 27));
    }
    EXPECT_EQ(grab.scenes[15].scene, 15);
    EXPECT_EQ(grab.scenes[15].position, 27);
    EXPECT_EQ(numberIn(grab.scenes[15].packedDib, 160, 120), 27);
    QDir(dir).removeRecursively();
}

} // namespace
} // namespace vv
