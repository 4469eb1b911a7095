// The media maker: the catalogue's clips decoded with libavformat/libavcodec
// and checked for what the player's tests rely on (frame counts, frame
// numbers in presentation order, keyframe places, open against closed GOPs),
// and the maker's own failure handling.

#include "tests/support/test_media.h"
#include "tools/mediamaker/clipreader.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"
#include "tools/mediamaker/mediamaker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <utility>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace {

using vvmaker::libav::InputPtr;

InputPtr openInput(const QString& path)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return nullptr;
    InputPtr input(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0)
        return nullptr;
    return input;
}

const AVStream* bestStream(const InputPtr& input, AVMediaType type)
{
    const int index = av_find_best_stream(input.get(), type, -1, -1, nullptr, 0);
    return index < 0 ? nullptr : input->streams[index];
}

// Every frame of a clip in presentation order: its strip and whether the
// decoder calls it a keyframe.
struct Decoded {
    std::vector<int> numbers;
    std::vector<int> keyframes;   // presentation indices
    std::int64_t claimed = 0;
};

Decoded decode(const QString& path)
{
    Decoded decoded;
    vvmaker::ClipReader reader;
    std::string error;
    if (!reader.open(path.toStdString(), {}, &error)) {
        ADD_FAILURE() << error;
        return decoded;
    }
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
        int width;   // all are 240 high
        AVRational fps;
        int frames, gop;
    } const clips[] = {
        {"open-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50},
        {"closed-gop.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 250, 50},
        {"program.mpg", AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2, 320, {25, 1}, 250, 25},
        {"ntsc.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {30000, 1001}, 299, 50},
        {"odd-width.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 318, {25, 1}, 100, 50},
        {"eight.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 8, 50},
        {"half-second.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3, 320, {25, 1}, 12, 50},
    };
    for (const ClipFacts& clip : clips) {
        SCOPED_TRACE(clip.name);
        const QString path = vv::test::testMedia(clip.name);
        ASSERT_FALSE(path.isEmpty());

        const InputPtr input = openInput(path);
        ASSERT_TRUE(input);
        const AVStream* video = bestStream(input, AVMEDIA_TYPE_VIDEO);
        const AVStream* audio = bestStream(input, AVMEDIA_TYPE_AUDIO);
        ASSERT_TRUE(video && audio);
        EXPECT_EQ(video->codecpar->codec_id, clip.video);
        EXPECT_EQ(audio->codecpar->codec_id, clip.audio);
        EXPECT_EQ(video->codecpar->width, clip.width);
        EXPECT_EQ(video->codecpar->height, 240);
        EXPECT_EQ(av_cmp_q(video->avg_frame_rate, clip.fps), 0)
            << video->avg_frame_rate.num << "/" << video->avg_frame_rate.den;
        if (clip.video == AV_CODEC_ID_MPEG4) {
            EXPECT_EQ(video->codecpar->codec_tag, MKTAG('X', 'V', 'I', 'D'));
            EXPECT_EQ(video->nb_frames, clip.frames) << "the AVI index";
        }

        const Decoded decoded = decode(path);
        EXPECT_EQ(decoded.numbers, upTo(clip.frames)) << "frame i must show i, in presentation order";
        EXPECT_EQ(decoded.keyframes, upTo(clip.frames, clip.gop));
    }
}

// The MPEG-4 headers of every video packet, in stored (decoding) order.
struct Mpeg4Stream {
    std::string vopTypes;           // 'I', 'P', 'B', 'S' per packet
    std::vector<int> closedGovBits;  // closed_gov of every group-of-VOPs header
    int videoDelay = 0;              // frames the decoder holds back for reordering
};

Mpeg4Stream scanMpeg4(const QString& path)
{
    Mpeg4Stream scan;
    const InputPtr input = openInput(path);
    if (!input) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return scan;
    }
    const AVStream* video = bestStream(input, AVMEDIA_TYPE_VIDEO);
    scan.videoDelay = video->codecpar->video_delay;
    vvmaker::libav::PacketPtr packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == video->index) {
            const std::uint8_t* d = packet->data;
            for (int i = 0; i + 6 < packet->size; ++i) {
                if (d[i] != 0 || d[i + 1] != 0 || d[i + 2] != 1)
                    continue;
                if (d[i + 3] == 0xB3)   // GOV: time code (18 bits), closed_gov, broken_link
                    scan.closedGovBits.push_back((d[i + 6] >> 5) & 1);
                if (d[i + 3] == 0xB6) {   // VOP: vop_coding_type (2 bits)
                    scan.vopTypes.push_back("IPBS"[d[i + 4] >> 6]);
                    break;
                }
            }
        }
        av_packet_unref(packet.get());
    }
    return scan;
}

TEST(MediaMaker, OpenAndClosedGopClipsReallyDiffer)
{
    const Mpeg4Stream open = scanMpeg4(vv::test::testMedia("open-gop.avi"));
    const Mpeg4Stream closed = scanMpeg4(vv::test::testMedia("closed-gop.avi"));

    for (const Mpeg4Stream* scan : {&open, &closed}) {
        EXPECT_EQ(scan->vopTypes.size(), 250u);
        EXPECT_GT(std::count(scan->vopTypes.begin(), scan->vopTypes.end(), 'B'), 150);
        EXPECT_GT(scan->videoDelay, 0) << "B-frames make the decoder reorder";
    }
    // An open GOP stores, right after a keyframe, B-frames shown before it
    // that are predicted from the previous GOP; a closed GOP never does.
    EXPECT_NE(open.vopTypes.find("IB", 1), std::string::npos) << open.vopTypes;
    EXPECT_EQ(open.closedGovBits, std::vector<int>(5, 0));
    EXPECT_EQ(closed.vopTypes.find("IB", 1), std::string::npos) << closed.vopTypes;
    EXPECT_EQ(closed.closedGovBits, std::vector<int>(5, 1));
}

TEST(MediaMaker, OtherEncodersClipsShowEveryFrameInOrder)
{
    for (const auto& [name, container] : vv::test::otherEncoders()) {
        const Decoded decoded = decode(vv::test::testMedia(name));
        if (container != vvmaker::Container::AviXvid) {
            EXPECT_EQ(decoded.numbers, upTo(240)) << name.toStdString();
            continue;
        }
        // libxvid's packed B-frames: now and then a picture before a
        // keyframe decodes without its strip; the others stay in order.
        int previous = -1;
        for (const int number : decoded.numbers) {
            if (number >= 0) {
                EXPECT_GT(number, std::exchange(previous, number));
            }
        }
        EXPECT_GT(decoded.numbers.size(), 230u);
    }
}

// The readers' tests of the cut clip prove the frames it holds; only this
// proves that its header still claims the whole clip's, the lie they must see
// through.
TEST(MediaMaker, TruncatedClipStillClaimsEveryFrame)
{
    const QString truncated = vv::test::testMedia("truncated.avi");
    ASSERT_FALSE(truncated.isEmpty());
    EXPECT_EQ(QFileInfo(truncated).size(), QFileInfo(vv::test::testMedia("open-gop.avi")).size() / 2);
    EXPECT_EQ(decode(truncated).claimed, 250);
}

// The files of a directory, names only, the hidden ones too.
QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(MediaMaker, FailuresLeaveNothingBehind)
{
    const QString dir = vv::test::freshTempDir("maker-failures");
    const std::string target = (dir + "/clip.avi").toStdString();
    const std::string file = (dir + "/file").toStdString();
    writeBytes(dir + "/file", {});
    const auto video = [&](auto change, const std::string& path) {
        vvmaker::VideoSpec s;
        s.frames = 4;
        change(s);
        return [s, path](std::string* e) { return vvmaker::makeVideo(path, s, e); };
    };
    const auto madeWith = [&](auto change) { return video(change, target); };
    vvmaker::AudioSpec silence;
    silence.seconds = 0;
    const std::pair<const char*, std::function<bool(std::string*)>> cases[] = {
        {"odd width", madeWith([](auto& s) { s.width = 161; })},
        {"no frames", madeWith([](auto& s) { s.frames = 0; })},
        {"more frames than the strip counts", madeWith([](auto& s) { s.frames = vvmaker::maxStripNumber() + 2; })},
        {"no frame rate", madeWith([](auto& s) { s.fpsNum = 0; })},
        {"too many B-frames", madeWith([](auto& s) { s.bFrames = 9; })},
        {"no GOP", madeWith([](auto& s) { s.gopSize = 0; })},
        {"a file where a folder should be", video([](auto&) {}, file + "/clip.avi")},
        {"silent wav", [&](std::string* e) { return vvmaker::makeWav(target, silence, e); }},
        {"silent mp3", [&](std::string* e) { return vvmaker::makeMp3(target, silence, e); }},
        {"cut of a missing file", [&](std::string* e) { return vvmaker::makeTruncatedCopy(target + "x", target, 0.5, e); }},
        {"cut onto itself", [&](std::string* e) { return vvmaker::makeTruncatedCopy(file, file, 0.5, e); }},
    };
    for (const auto& [name, make] : cases) {
        std::string error;
        EXPECT_FALSE(make(&error)) << name;
        EXPECT_NE(error, "") << name;
        EXPECT_EQ(entries(dir), QStringList{"file"}) << name;
    }
    QDir(dir).removeRecursively();
}

// Several test programs may ask for the same clip at once.
TEST(MediaMaker, MakersRacingForOneFileAllSucceed)
{
    const QString dir = vv::test::freshTempDir("maker-race");
    const std::string target = (dir + "/race.avi").toStdString();
    vvmaker::VideoSpec clip;
    clip.frames = 8;

    bool made[3] = {};
    {
        std::vector<std::jthread> makers;
        for (bool& result : made)
            makers.emplace_back([&] { result = vvmaker::makeVideo(target, clip); });
    }
    EXPECT_TRUE(made[0] && made[1] && made[2]);
    EXPECT_EQ(entries(dir), QStringList{"race.avi"});
    EXPECT_EQ(decode(QString::fromStdString(target)).numbers, upTo(8));
    QDir(dir).removeRecursively();
}

// The layout the player reads. The concert video alone takes many seconds to
// make, so this only proves the names and that existing files are kept.
TEST(MediaMaker, DemoLibraryKeepsWhatExists)
{
    const QString dir = vv::test::freshTempDir("maker-demo");
    const QStringList layout = {
        "videos/intro.avi",  "videos/Sport/run.avi",  "videos/Alpen/tal.mpg",   "videos/Alpen/Gipfel/berg.avi",
        "cdrom/extra.avi",   "music/tone.wav",        "music/Rock/song.mp3",    "music/Live-ACDC.mp3",
        "music/Live-acdc-2.mp3", "music/acdc-nobulls2.avi",
    };
    for (const QString& name : layout)
        writeBytes(dir + '/' + name, "stub");
    std::string error;
    EXPECT_TRUE(vvmaker::makeDemoLibrary(dir.toStdString(), &error)) << error;
    for (const QString& name : layout) {
        QFile file(dir + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "stub") << name.toStdString();
    }
    EXPECT_EQ(entries(dir), (QStringList{"cdrom", "music", "videos"}));
    EXPECT_EQ(entries(dir + "/music"), (QStringList{"Live-ACDC.mp3", "Live-acdc-2.mp3", "Rock", "acdc-nobulls2.avi",
                                                    "tone.wav"}));
    QDir(dir).removeRecursively();
}

} // namespace
