// The media maker and its frame-number strip, for what the tests that use the
// clips take for granted and would not notice if it were lost: the clips'
// format, where the keyframes are, open against closed GOPs, the cut clip's
// header that still claims every frame; the largest number a clip carries,
// and a damaged strip that reads as no frame rather than as another. A clip
// wrong in other ways fails those tests.

#include "tests/support/test_media.h"
#include "tools/mediamaker/clipreader.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MediaMaker, CatalogueClipsHaveTheirFormatKeyframesAndGopsAndTheCutClipClaimsEveryFrame)
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

        vvmaker::ClipReader reader;
        std::string error;
        ASSERT_TRUE(reader.open(path.toStdString(), {}, &error)) << error;
        if (clip.video == AV_CODEC_ID_MPEG4) {
            EXPECT_EQ(picture->codec_tag, MKTAG('X', 'V', 'I', 'D'));
            EXPECT_EQ(reader.claimedFrames(), clip.frames) << "the AVI index";
        }
        // In presentation order frame i shows i ('#' where it does not); the
        // keyframes ('I') stand every gop frames and nowhere else, and the
        // frame shown ahead of each after the first is of the type the clip's
        // GOPs give it.
        const auto ahead = [&](int i) { return (i + 1) % clip.gop == 0 && i + 1 < clip.frames; };
        std::string seen, expected;
        std::vector<std::uint8_t> bgr;
        int width = 0, height = 0;
        vvmaker::FrameInfo info;
        while (reader.next(bgr, width, height, &error, &info)) {
            const int i = static_cast<int>(seen.size());
            const int n = vvmaker::readFrameNumber(bgr.data(), width, height, width * 3, 3, false);
            seen += n != i ? '#' : info.pictureType == 'I' || ahead(i) ? info.pictureType : '.';
        }
        EXPECT_EQ(error, "");
        for (int i = 0; i < clip.frames; ++i)
            expected += i % clip.gop == 0 ? 'I' : ahead(i) ? clip.aheadOfKeyframes : '.';
        EXPECT_EQ(seen, expected);
    }

    // The readers' tests of the cut clip prove the frames it holds; only this
    // proves that its header still claims the whole clip's, the lie they must
    // see through.
    const QString truncated = vv::test::testMedia("truncated.avi");
    EXPECT_EQ(QFileInfo(truncated).size(), QFileInfo(vv::test::testMedia("open-gop.avi")).size() / 2);
    vvmaker::ClipReader cut;
    ASSERT_TRUE(cut.open(truncated.toStdString()));
    EXPECT_EQ(cut.claimedFrames(), 250);
}

// Frame n's strip as the maker draws it, on black.
QImage strip(int width, int height, int n)
{
    QImage luma(width, height, QImage::Format_Grayscale8);
    luma.fill(0);
    vvmaker::drawStrip(luma.bits(), width, height, static_cast<int>(luma.bytesPerLine()), n);
    return luma.convertToFormat(QImage::Format_RGB32);
}

TEST(FrameStrip, ReadsTheLargestNumberAndRefusesADamagedStrip)
{
    // The demo concert's last frame, in its size.
    EXPECT_EQ(vv::test::frameNumberOf(strip(160, 120, 122499)), 122499);
    // A data cell flipped breaks the parity: no frame rather than another.
    QImage damaged = strip(320, 240, 4);
    QPainter(&damaged).fillRect(QRect(320 * 17 / 20, 0, 16, vvmaker::stripBandHeight(240)), Qt::white);
    EXPECT_EQ(vv::test::frameNumberOf(damaged), -1);
}

} // namespace
