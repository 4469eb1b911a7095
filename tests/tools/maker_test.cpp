// The media maker's catalogue clips checked for what the tests that use them
// take for granted and would not notice if it were lost: the format, where
// the keyframes are, open against closed GOPs, and the cut clip's header that
// still claims every frame. A clip wrong in other ways fails those tests.

#include "tests/support/test_media.h"
#include "tools/mediamaker/clipreader.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> upTo(int count, int step)
{
    std::vector<int> values;
    for (int i = 0; i < count; i += step)
        values.push_back(i);
    return values;
}

TEST(MediaMaker, CatalogueClipsHaveTheirFormatKeyframesAndGops)
{
    struct Clip {
        const char* name;
        AVCodecID video, audio;
        int width;  // all are 240 high
        AVRational fps;
        int frames, gop;
        char aheadOfKeyframes;  // 'B' in an open GOP: it is predicted from the keyframe after it
    } const clips[] = {
        {"open-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50, 'B'},
        {"closed-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50, 'P'},
        {"program.mpg", AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2, 320, {25, 1}, 250, 25, 'P'},
        {"ntsc.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {30000, 1001}, 299, 50, 'B'},
        {"odd-width.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 318, {25, 1}, 100, 50, 'B'},
        {"eight.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 8, 50, 'P'},
    };
    for (const Clip& clip : clips) {
        SCOPED_TRACE(clip.name);
        const QString path = vv::test::testMedia(clip.name);
        AVFormatContext* raw = nullptr;
        ASSERT_GE(avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr), 0);
        const vvmaker::libav::InputPtr input(raw);
        ASSERT_GE(avformat_find_stream_info(raw, nullptr), 0);
        const int video = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        const int audio = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        ASSERT_TRUE(video >= 0 && audio >= 0);
        const AVCodecParameters* picture = raw->streams[video]->codecpar;
        EXPECT_EQ(std::tuple(picture->codec_id, raw->streams[audio]->codecpar->codec_id, picture->width,
                             picture->height, av_cmp_q(raw->streams[video]->avg_frame_rate, clip.fps)),
                  std::tuple(clip.video, clip.audio, clip.width, 240, 0));

        // Every frame in presentation order shows its number; the keyframes
        // stand every gop frames, and the frame shown ahead of each is of the
        // type the clip's GOPs give it.
        vvmaker::ClipReader reader;
        std::string error;
        ASSERT_TRUE(reader.open(path.toStdString(), {}, &error)) << error;
        if (clip.video == AV_CODEC_ID_MPEG4) {
            EXPECT_EQ(picture->codec_tag, MKTAG('X', 'V', 'I', 'D'));
            EXPECT_EQ(reader.claimedFrames(), clip.frames) << "the AVI index";
        }
        std::vector<int> numbers, keyframes;
        std::string ahead;
        std::vector<std::uint8_t> bgr;
        int width = 0, height = 0;
        vvmaker::FrameInfo info, previous;
        while (reader.next(bgr, width, height, &error, &info)) {
            if (info.pictureType == 'I' && !numbers.empty())
                ahead += previous.pictureType;
            if (info.pictureType == 'I')
                keyframes.push_back(static_cast<int>(numbers.size()));
            numbers.push_back(vvmaker::readFrameNumber(bgr.data(), width, height, width * 3, 3, false));
            previous = info;
        }
        EXPECT_EQ(error, "");
        EXPECT_EQ(numbers, upTo(clip.frames, 1));
        EXPECT_EQ(keyframes, upTo(clip.frames, clip.gop));
        EXPECT_EQ(ahead, std::string((clip.frames - 1) / clip.gop, clip.aheadOfKeyframes));
    }
}

// The readers' tests of the cut clip prove the frames it holds; only this
// proves that its header still claims the whole clip's, the lie they must see
// through.
TEST(MediaMaker, TruncatedClipStillClaimsEveryFrame)
{
    const QString truncated = vv::test::testMedia("truncated.avi");
    EXPECT_EQ(QFileInfo(truncated).size(), QFileInfo(vv::test::testMedia("open-gop.avi")).size() / 2);
    vvmaker::ClipReader reader;
    ASSERT_TRUE(reader.open(truncated.toStdString()));
    EXPECT_EQ(reader.claimedFrames(), 250);
}

} // namespace
