// The media maker's catalogue clips decoded with libavformat/libavcodec and
// checked for what the player's tests take for granted: format, frame
// numbers in presentation order, keyframe places, open against closed GOPs.
// A clip that is wrong in other ways fails the tests that use it.

#include "tests/support/test_media.h"
#include "tools/mediamaker/clipreader.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using vvmaker::libav::InputPtr;

InputPtr openInput(const QString& path)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return nullptr;
    InputPtr input(raw);
    return avformat_find_stream_info(raw, nullptr) < 0 ? nullptr : std::move(input);
}

const AVStream* bestStream(const InputPtr& input, AVMediaType type)
{
    const int index = av_find_best_stream(input.get(), type, -1, -1, nullptr, 0);
    return index < 0 ? nullptr : input->streams[index];
}

// Every frame of a clip in presentation order: its strip, and the indices of
// the frames the decoder calls keyframes.
struct Decoded {
    std::vector<int> numbers, keyframes;
    std::int64_t claimed = 0;
};

Decoded decode(const QString& path)
{
    Decoded decoded;
    vvmaker::ClipReader reader;
    std::string error;
    EXPECT_TRUE(reader.open(path.toStdString(), {}, &error)) << error;
    decoded.claimed = reader.claimedFrames();
    std::vector<std::uint8_t> bgr;
    int width = 0, height = 0;
    vvmaker::FrameInfo info;
    while (reader.next(bgr, width, height, &error, &info)) {
        if (info.pictureType == 'I')
            decoded.keyframes.push_back(static_cast<int>(decoded.numbers.size()));
        decoded.numbers.push_back(vvmaker::readFrameNumber(bgr.data(), width, height, width * 3, 3, false));
    }
    EXPECT_EQ(error, "");
    return decoded;
}

std::vector<int> upTo(int count, int step = 1)
{
    std::vector<int> values;
    for (int i = 0; i < count; i += step)
        values.push_back(i);
    return values;
}

TEST(MediaMaker, CatalogueClipsHaveTheirFormatAndEveryFrameItsNumber)
{
    struct ClipFacts {
        const char* name;
        AVCodecID video, audio;
        int width;  // all are 240 high
        AVRational fps;
        int frames, gop;
    } const clips[] = {
        {"open-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50},
        {"closed-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50},
        {"program.mpg", AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2, 320, {25, 1}, 250, 25},
        {"ntsc.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {30000, 1001}, 299, 50},
        {"odd-width.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 318, {25, 1}, 100, 50},
        {"eight.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 8, 50},
    };
    for (const ClipFacts& clip : clips) {
        SCOPED_TRACE(clip.name);
        const QString path = vv::test::testMedia(clip.name);
        const InputPtr input = openInput(path);
        ASSERT_TRUE(input);
        const AVStream* video = bestStream(input, AVMEDIA_TYPE_VIDEO);
        const AVStream* audio = bestStream(input, AVMEDIA_TYPE_AUDIO);
        ASSERT_TRUE(video && audio);
        EXPECT_EQ(std::tuple(video->codecpar->codec_id, audio->codecpar->codec_id, video->codecpar->width,
                             video->codecpar->height),
                  std::tuple(clip.video, clip.audio, clip.width, 240));
        EXPECT_EQ(av_cmp_q(video->avg_frame_rate, clip.fps), 0);
        if (clip.video == AV_CODEC_ID_MPEG4) {
            EXPECT_EQ(video->codecpar->codec_tag, MKTAG('X', 'V', 'I', 'D'));
            EXPECT_EQ(video->nb_frames, clip.frames) << "the AVI index";
        }
        const Decoded decoded = decode(path);
        EXPECT_EQ(decoded.numbers, upTo(clip.frames)) << "frame i must show i, in presentation order";
        EXPECT_EQ(decoded.keyframes, upTo(clip.frames, clip.gop));
    }
}

// The picture types of an MPEG-4 clip's packets in stored order, and the
// closed_gov bit of each group-of-VOPs header.
std::pair<std::string, std::vector<int>> scanMpeg4(const QString& path)
{
    std::pair<std::string, std::vector<int>> scan;
    const InputPtr input = openInput(path);
    if (!input)
        return scan;
    const int video = bestStream(input, AVMEDIA_TYPE_VIDEO)->index;
    vvmaker::libav::PacketPtr packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const std::uint8_t* d = packet->data;
        for (int i = 0; packet->stream_index == video && i + 6 < packet->size; ++i) {
            if (d[i] != 0 || d[i + 1] != 0 || d[i + 2] != 1)
                continue;
            if (d[i + 3] == 0xB3)  // GOV: time code (18 bits), closed_gov, broken_link
                scan.second.push_back((d[i + 6] >> 5) & 1);
            if (d[i + 3] == 0xB6) {  // VOP: vop_coding_type (2 bits)
                scan.first.push_back("IPBS"[d[i + 4] >> 6]);
                break;
            }
        }
        av_packet_unref(packet.get());
    }
    return scan;
}

// An open GOP stores, right after a keyframe, B-frames shown before it that
// are predicted from the previous GOP; a closed GOP never does. The seeking
// tests on the open clip prove nothing unless it really is open.
TEST(MediaMaker, OpenAndClosedGopClipsReallyDiffer)
{
    for (const bool closed : {false, true}) {
        const auto [types, closedBits] = scanMpeg4(vv::test::testMedia(closed ? "closed-gop.avi" : "open-gop.avi"));
        SCOPED_TRACE(types);
        EXPECT_EQ(types.size(), 250u);
        EXPECT_GT(std::count(types.begin(), types.end(), 'B'), 150);
        EXPECT_EQ(types.find("IB", 1) == std::string::npos, closed);
        EXPECT_EQ(closedBits, std::vector<int>(5, closed));
    }
}

// The readers' tests of the cut clip prove the frames it holds; only this
// proves that its header still claims the whole clip's, the lie they must see
// through.
TEST(MediaMaker, TruncatedClipStillClaimsEveryFrame)
{
    const QString truncated = vv::test::testMedia("truncated.avi");
    EXPECT_EQ(QFileInfo(truncated).size(), QFileInfo(vv::test::testMedia("open-gop.avi")).size() / 2);
    EXPECT_EQ(decode(truncated).claimed, 250);
}

} // namespace
