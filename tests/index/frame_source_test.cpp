#include "index/frame_source.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

#include "app/player_factory.h"
#include "index/preview_rules.h"
#include "index/scene_grab.h"
#include "tests/index/scene_clips.h"
#include "tools/mediamaker/mediamaker.h"

namespace vv {
namespace {

// The frames the index generation asks for first.
std::vector<std::int32_t> previewTargets(std::int32_t frames)
{
    std::vector<std::int32_t> out;
    for (const auto& c : previewCandidates(frames, *previewStep(frames)))
        if (out.size() < SceneCount)
            out.push_back(c.frame);
    return out;
}

struct Clip {
    const char* name;
    std::int32_t frames;
    int width;
};

class AnyClip : public ::testing::TestWithParam<Clip> {};

// Open GOPs (B-frames before a keyframe that refer to the GOP before) and a
// program stream (seeks by time that land anywhere) are the hard cases.
TEST_P(AnyClip, AnyFrameInAnyOrderIsExactlyTheOneAskedFor)
{
    const Clip clip = GetParam();
    FrameSource source(test::testMedia(clip.name));
    EXPECT_EQ((std::vector{source.frameCount(), source.width(), source.height()}),
              (std::vector{clip.frames, clip.width, 240}));

    // The preview's frames backwards (every step a seek), the neighbours of
    // keyframe boundaries, and 40 frames jumping both ways.
    std::vector<std::int32_t> order = previewTargets(clip.frames);
    std::reverse(order.begin(), order.end());
    for (std::int32_t t : {clip.frames - 1, 1, 49, 50, 51, 26, 24})
        if (t < clip.frames)
            order.push_back(t);
    for (std::int32_t i = 0; i < 40; ++i)
        order.push_back((i * 97 + 13) % clip.frames);
    for (std::int32_t t : order)
        EXPECT_EQ(test::frameNumberOfPacked(source.getFrame(t)), t) << "target " << t;
    // Frames outside the video are none.
    EXPECT_TRUE(source.getFrame(-1).empty() && source.getFrame(clip.frames).empty());
}

INSTANTIATE_TEST_SUITE_P(Clips, AnyClip,
                         ::testing::Values(Clip{"open-gop.avi", 250, 320}, Clip{"closed-gop.avi", 250, 320},
                                           Clip{"program.mpg", 250, 320}, Clip{"ntsc.avi", 299, 320},
                                           Clip{"odd-width.avi", 100, 318}, Clip{"eight.avi", 8, 320}),
                         [](const auto& info) { return test::clipTestName(info.param.name); });

TEST(SceneGrab, ATruncatedFileCountsTheFramesItHoldsAndTheLastFrameFillsScene15OfA28FrameVideo)
{
    FrameSource source(test::testMedia("truncated.avi"));
    // The header claims 250 frames; about half of them are in the file.
    const int count = source.frameCount();
    EXPECT_TRUE(count > 100 && count < 140) << count;
    // B-frames stored after the cut are lost: the last pictures skip them.
    const int last = test::frameNumberOfPacked(source.getFrame(count - 1));
    EXPECT_TRUE(last >= count - 1 && last <= count + 3) << last;
    const auto targets = previewTargets(count);
    const auto pictures = grabFrames(source, targets, 1);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const int shown = test::frameNumberOfPacked(pictures[i]);
        if (targets[i] < count - 3)
            EXPECT_EQ(shown, targets[i]);
        else
            EXPECT_TRUE(shown >= count - 4 && shown <= last) << shown;
    }

    // Step 2: fifteen scenes 0 .. 28 (28 shown as frame 27), then the last
    // frame as scene 15.
    const QString dir = test::freshTempDir("scenes28"), path = dir + "/28.avi";
    ASSERT_TRUE(vvmaker::makeVideo(path.toStdString(),
                                   {.width = 160, .height = 120, .frames = 28, .audio = false, .progress = {}}));
    const SceneGrab grab = grabScenes(path);
    ASSERT_EQ(grab.scenes.size(), 16u);
    for (int k = 0; k < 16; ++k) {
        const int position = k < 15 ? 2 * k : 27;
        const GrabbedScene& scene = grab.scenes[k];
        EXPECT_EQ((std::vector{scene.scene, scene.position, test::frameNumberOfPacked(scene.packedDib)}),
                  (std::vector{k, position, std::min(position, 27)}));
    }
    QDir(dir).removeRecursively();
}

// The frame grabber and the media player must count a video's frames alike:
// the scene positions of a grabbed index and of a sheet cut later come from
// the two counts.
TEST(FrameCountAgreement, GrabberAndPlayerCountTheSameFramesAndNeitherBelievesALyingHeader)
{
    // Nor does either believe a header that lies about the length: open-gop.avi
    // with the video stream header claiming 2^31 - 1 frames.
    QFile whole(test::testMedia("open-gop.avi"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QByteArray bytes = whole.readAll();
    const qsizetype strh = bytes.indexOf("strh");
    ASSERT_EQ(bytes.mid(strh + 8, 4), "vids");
    bytes.replace(strh + 8 + 32, 4, QByteArray("\xff\xff\xff\x7f", 4));
    QFile lying(test::freshTempDir("lying") + "/lying.avi");
    ASSERT_TRUE(lying.open(QIODevice::WriteOnly) && lying.write(bytes) == bytes.size());
    lying.close();
    EXPECT_EQ(FrameSource(lying.fileName()).frameCount(), 250);

    QWidget host;
    std::unique_ptr<MediaPlayer> shown = makeTestPlayer(&host);
    shown->setPositionUnits(MediaPlayer::Frames);
    QStringList paths{lying.fileName()};
    for (const char* name : {"open-gop.avi", "closed-gop.avi", "program.mpg", "ntsc.avi", "odd-width.avi",
                             "eight.avi", "half-second.avi", "truncated.avi"})
        paths << test::testMedia(name);
    for (const QString& path : paths) {
        const int frames = FrameSource(path).frameCount();
        ASSERT_TRUE(frames > 0 && shown->setFileName(path)) << path.toStdString();
        EXPECT_EQ(frames, static_cast<int>(shown->length())) << path.toStdString();
    }
}

} // namespace
} // namespace vv
