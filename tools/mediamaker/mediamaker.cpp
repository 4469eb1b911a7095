#include "tools/mediamaker/mediamaker.h"

#include "tools/mediamaker/framepicture.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <vector>

#include <unistd.h>

namespace vvmaker {

namespace {

namespace fs = std::filesystem;
using libav::check;
using libav::Failure;

// ---------------------------------------------------------------------------
// Files

// The temporary a file is written to before it gets its name: hidden, beside
// the target (same file system, so the rename is atomic), unique per process
// and call so that several makers may race for the same target. Removed
// unless committed.
class PendingFile {
public:
    explicit PendingFile(const fs::path& target) : target_(target)
    {
        static std::atomic<int> counter{0};
        if (target_.filename().empty())
            throw Failure("no file name in \"" + target_.string() + "\"");
        if (target_.has_parent_path())
            fs::create_directories(target_.parent_path());
        std::string name = ".";
        name += target_.filename().string();
        name += ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        temp_ = target_.parent_path() / name;
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile()
    {
        if (!committed_) {
            std::error_code ignored;
            fs::remove(temp_, ignored);
        }
    }

    const fs::path& temp() const { return temp_; }

    void commit()
    {
        fs::rename(temp_, target_);
        committed_ = true;
    }

private:
    fs::path target_;
    fs::path temp_;
    bool committed_ = false;
};

// Runs one maker step, turning every failure into false and *error.
template <typename Step>
bool attempt(const std::string& what, std::string* error, Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = what + ": " + e.what();
        return false;
    }
}

// ---------------------------------------------------------------------------
// Encoding

class Output {
public:
    Output(const char* format, const fs::path& path) : path_(path)
    {
        AVFormatContext* raw = nullptr;
        check(avformat_alloc_output_context2(&raw, nullptr, format, path.c_str()),
              "cannot set up the output");
        ctx_.reset(raw);
    }

    AVFormatContext* get() const { return ctx_.get(); }

    void writeHeader(bool indexFirst = false)
    {
        if (!(ctx_->oformat->flags & AVFMT_NOFILE))
            check(avio_open(&ctx_->pb, path_.c_str(), AVIO_FLAG_WRITE), "cannot create " + path_.string());
        AVDictionary* options = nullptr;
        if (indexFirst)
            av_dict_set(&options, "movflags", "+faststart", 0);
        const int written = avformat_write_header(ctx_.get(), &options);
        av_dict_free(&options);
        check(written, "cannot write the file header");
    }

    void finish()
    {
        check(av_write_trailer(ctx_.get()), "cannot finish the file");
        if (!(ctx_->oformat->flags & AVFMT_NOFILE))
            check(avio_closep(&ctx_->pb), "cannot close the file");
    }

private:
    fs::path path_;
    libav::OutputPtr ctx_;
};

// One encoder feeding one stream of an output.
struct Track {
    libav::CodecContextPtr encoder;
    AVStream* stream = nullptr;
    libav::FramePtr frame = libav::FramePtr(av_frame_alloc());
    libav::PacketPtr packet = libav::PacketPtr(av_packet_alloc());
};

// Send a frame (nullptr: drain) and write what the encoder hands back.
void encode(Output& out, Track& track, AVFrame* frame)
{
    check(avcodec_send_frame(track.encoder.get(), frame), "the encoder refused a frame");
    for (;;) {
        AVPacket* packet = track.packet.get();
        const int ret = avcodec_receive_packet(track.encoder.get(), packet);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return;
        check(ret, "the encoder failed");
        // A video packet lasts one frame where the encoder leaves it open
        // (the MP4 muxer's edit list would otherwise drop the last frame).
        const AVCodecContext* c = track.encoder.get();
        if (packet->duration <= 0 && c->codec_type == AVMEDIA_TYPE_VIDEO && c->framerate.num > 0)
            packet->duration = av_rescale_q(1, av_inv_q(c->framerate), c->time_base);
        av_packet_rescale_ts(packet, track.encoder->time_base, track.stream->time_base);
        packet->stream_index = track.stream->index;
        check(av_interleaved_write_frame(out.get(), packet), "cannot write a packet");
    }
}

void openTrack(Output& out, Track& track)
{
    if (!track.frame || !track.packet)
        throw Failure("out of memory");
    if (out.get()->oformat->flags & AVFMT_GLOBALHEADER)
        track.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(track.encoder.get(), track.encoder->codec, nullptr),
          std::string("cannot open the encoder ") + track.encoder->codec->name);
    track.stream = avformat_new_stream(out.get(), nullptr);
    if (!track.stream)
        throw Failure("out of memory");
    check(avcodec_parameters_from_context(track.stream->codecpar, track.encoder.get()),
          "cannot describe the stream");
    track.stream->time_base = track.encoder->time_base;
    // Buffer and rate properties the encoder announces (the program stream
    // muxer sizes its buffers by them).
    for (int i = 0; i < track.encoder->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = track.encoder->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(track.stream, data.type, data.size);
        if (!copy)
            throw Failure("out of memory");
        std::memcpy(copy, data.data, data.size);
    }
    track.stream->codecpar->codec_tag = track.encoder->codec_tag;
}

libav::CodecContextPtr newEncoder(const AVCodec* codec, const char* name)
{
    if (!codec)
        throw Failure(std::string("this FFmpeg has no encoder ") + name);
    libav::CodecContextPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        throw Failure("out of memory");
    return encoder;
}

// The encoder, fourcc and muxer of each kind of clip.
struct Kind {
    const char* encoder;
    std::uint32_t tag;
    const char* muxer;
    bool fixedQuantiser;   // the mpegvideo family: one quantiser for every frame
};

Kind kindOf(Container container)
{
    switch (container) {
    case Container::Avi: return {"mpeg4", MKTAG('X', 'V', 'I', 'D'), "avi", true};
    case Container::MpegPs: return {"mpeg1video", 0, "mpeg", true};
    case Container::AviXvid: return {"libxvid", MKTAG('X', 'V', 'I', 'D'), "avi", true};
    case Container::AviDivx3: return {"msmpeg4", MKTAG('D', 'I', 'V', '3'), "avi", true};
    case Container::Mp4H264: return {"libx264", 0, "mp4", false};
    case Container::MkvH264: return {"libx264", 0, "matroska", false};
    case Container::WebmVp9: return {"libvpx-vp9", 0, "webm", false};
    case Container::MovHevc: return {"libx265", MKTAG('h', 'v', 'c', '1'), "mov", false};
    case Container::Mp4Av1: return {"libaom-av1", 0, "mp4", false};
    }
    throw Failure("unknown container");
}

// The presentation time of frame n in units of the encoder's time base: the
// frame number, or milliseconds with frames of 30 and 50 ms by turns.
std::int64_t frameTime(const VideoSpec& clip, int n)
{
    return clip.container == Container::MkvH264 ? 40 * std::int64_t(n) - 10 * (n % 2) : n;
}

Track videoTrack(Output& out, const VideoSpec& clip)
{
    const Kind kind = kindOf(clip.container);
    Track track;
    track.encoder = newEncoder(avcodec_find_encoder_by_name(kind.encoder), kind.encoder);
    AVCodecContext* c = track.encoder.get();
    c->width = clip.width;
    c->height = clip.height;
    c->sample_aspect_ratio = AVRational{1, 1};
    c->time_base = clip.container == Container::MkvH264 ? AVRational{1, 1000} : AVRational{clip.fpsDen, clip.fpsNum};
    c->framerate = AVRational{clip.fpsNum, clip.fpsDen};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    // Keyframes are forced frame by frame at every gopSize-th frame; the
    // encoder's own GOP counter, which drifts by the B-frames, must not fire
    // before them.
    c->gop_size = clip.gopSize + clip.bFrames + 1;
    c->max_b_frames = clip.container == Container::AviDivx3 ? 0 : clip.bFrames;
    if (kind.fixedQuantiser) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * clip.quality;
    } else {
        // Quality-driven rate control; fast settings that keep B-frames.
        av_opt_set(c->priv_data, "crf", "30", 0);
        av_opt_set(c->priv_data, "preset", "veryfast", 0);
        av_opt_set(c->priv_data, "deadline", "realtime", 0);
        av_opt_set(c->priv_data, "cpu-used", "8", 0);
        av_opt_set(c->priv_data, "usage", "realtime", 0);
        av_opt_set(c->priv_data, "x265-params", "log-level=error", 0);
        av_opt_set(c->priv_data, "forced-idr", "1", 0);
    }
    if (clip.closedGop)
        c->flags |= AV_CODEC_FLAG_CLOSED_GOP;
    c->thread_count = std::max(1, clip.threads);
    c->codec_tag = kind.tag;
    if (clip.container == Container::MpegPs) {
        // The program stream muxer paces its packets by the stream's rates
        // and buffer: state generous ones (the fixed quantiser ignores them).
        c->bit_rate = 4000000;
        c->rc_max_rate = 8000000;
        c->rc_buffer_size = 224 * 1024 * 8;
    }
    // Keyframes only where the GOP length puts them: no extra ones at the
    // background's scene changes (encoders without the option decide alone).
    if (clip.container == Container::Avi || clip.container == Container::MpegPs)
        check(av_opt_set_int(c->priv_data, "sc_threshold", 1000000000, 0), "cannot turn off scene cuts");
    else
        av_opt_set(c->priv_data, "x264-params", "scenecut=0", 0);
    openTrack(out, track);

    AVFrame* f = track.frame.get();
    f->format = c->pix_fmt;
    f->width = c->width;
    f->height = c->height;
    check(av_frame_get_buffer(f, 0), "cannot allocate a picture");
    return track;
}

AVSampleFormat pickSampleFormat(const AVCodec* codec)
{
    static constexpr AVSampleFormat preferred[] = {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P,
                                                   AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT};
    if (!codec->sample_fmts)
        return AV_SAMPLE_FMT_S16;
    for (AVSampleFormat want : preferred)
        for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == want)
                return want;
    throw Failure(std::string("no usable sample format for ") + codec->name);
}

Track audioTrack(Output& out, const AVCodec* codec, const char* name, int sampleRate, int channels,
                 int bitRate)
{
    Track track;
    track.encoder = newEncoder(codec, name);
    AVCodecContext* c = track.encoder.get();
    c->sample_fmt = pickSampleFormat(codec);
    c->sample_rate = sampleRate;
    av_channel_layout_default(&c->ch_layout, channels);
    if (bitRate > 0)
        c->bit_rate = bitRate;
    c->time_base = AVRational{1, sampleRate};
    openTrack(out, track);

    AVFrame* f = track.frame.get();
    f->format = c->sample_fmt;
    f->sample_rate = c->sample_rate;
    check(av_channel_layout_copy(&f->ch_layout, &c->ch_layout), "cannot set the channel layout");
    f->nb_samples = c->frame_size > 0 ? c->frame_size : 4096;
    check(av_frame_get_buffer(f, 0), "cannot allocate audio");
    return track;
}

// A sine tone, continuous over frames.
class Tone {
public:
    Tone(double hz, int sampleRate) : step_(2 * std::numbers::pi * hz / sampleRate) {}

    // Fill the first `count` samples of every channel of frame, starting at
    // sample number `first`.
    void fill(AVFrame* frame, std::int64_t first, int count) const
    {
        const int channels = frame->ch_layout.nb_channels;
        const auto format = static_cast<AVSampleFormat>(frame->format);
        for (int i = 0; i < count; ++i) {
            const double value = kLevel * std::sin(step_ * static_cast<double>(first + i));
            const auto s16 = static_cast<std::int16_t>(std::lround(value * 32767));
            for (int ch = 0; ch < channels; ++ch) {
                switch (format) {
                case AV_SAMPLE_FMT_S16:
                    reinterpret_cast<std::int16_t*>(frame->data[0])[i * channels + ch] = s16;
                    break;
                case AV_SAMPLE_FMT_S16P:
                    reinterpret_cast<std::int16_t*>(frame->data[ch])[i] = s16;
                    break;
                case AV_SAMPLE_FMT_FLT:
                    reinterpret_cast<float*>(frame->data[0])[i * channels + ch] = static_cast<float>(value);
                    break;
                default:   // AV_SAMPLE_FMT_FLTP
                    reinterpret_cast<float*>(frame->data[ch])[i] = static_cast<float>(value);
                    break;
                }
            }
        }
    }

private:
    static constexpr double kLevel = 0.3;
    double step_;
};

// Encode the next block of the tone (at most one encoder frame).
void encodeTone(Output& out, Track& track, const Tone& tone, std::int64_t& done, std::int64_t total)
{
    AVFrame* f = track.frame.get();
    check(av_frame_make_writable(f), "cannot reuse an audio frame");
    const int capacity = track.encoder->frame_size > 0 ? track.encoder->frame_size : 4096;
    const int count = static_cast<int>(std::min<std::int64_t>(capacity, total - done));
    f->nb_samples = count;
    tone.fill(f, done, count);
    f->pts = done;
    encode(out, track, f);
    done += count;
}

const AVCodec* aviAudioEncoder(const VideoSpec& clip, const char** name)
{
    if (!clip.mp2Audio) {
        if (const AVCodec* lame = avcodec_find_encoder_by_name("libmp3lame")) {
            *name = "libmp3lame";
            return lame;
        }
    }
    *name = "mp2";
    return avcodec_find_encoder_by_name("mp2");
}

void checkVideoSpec(const VideoSpec& clip)
{
    if (clip.width < 16 || clip.height < 16 || clip.width > 4096 || clip.height > 4096
        || clip.width % 2 || clip.height % 2)
        throw Failure("the picture size must be even, from 16x16 to 4096x4096");
    if (clip.fpsNum <= 0 || clip.fpsDen <= 0)
        throw Failure("the frame rate must be positive");
    if (clip.frames < 1 || clip.frames > maxStripNumber() + 1)
        throw Failure("the frame count must be from 1 to " + std::to_string(maxStripNumber() + 1));
    if (clip.gopSize < 1 || clip.bFrames < 0 || clip.bFrames > 4 || clip.quality < 1 || clip.quality > 31)
        throw Failure("bad GOP size, B-frame count or quality");
    if (clip.audio && (clip.audioSampleRate < 8000 || clip.toneHz <= 0))
        throw Failure("bad audio sample rate or tone");
}

void writeVideo(const fs::path& file, const VideoSpec& clip)
{
    const Kind kind = kindOf(clip.container);
    const bool avi = std::strcmp(kind.muxer, "avi") == 0;
    Output out(kind.muxer, file);
    Track video = videoTrack(out, clip);

    Track audio;
    const bool withAudio = clip.audio;
    if (withAudio) {
        const char* name = clip.container == Container::MpegPs ? "mp2"
                           : clip.container == Container::WebmVp9 ? "libvorbis"
                                                                  : "aac";
        const AVCodec* codec = avi ? aviAudioEncoder(clip, &name) : avcodec_find_encoder_by_name(name);
        audio = audioTrack(out, codec, name, clip.audioSampleRate, 1, clip.audioBitRate);
    }
    out.writeHeader(clip.indexFirst);

    const AVRational videoBase = video.encoder->time_base;
    const std::int64_t totalSamples =
        withAudio ? av_rescale_rnd(clip.frames, static_cast<std::int64_t>(clip.fpsDen) * clip.audioSampleRate,
                                   clip.fpsNum, AV_ROUND_NEAR_INF)
                  : 0;
    const Tone tone(clip.toneHz, clip.audioSampleRate);
    const AVRational audioBase{1, clip.audioSampleRate};

    AVFrame* picture = video.frame.get();
    std::int64_t samples = 0;
    const int progressStep = std::max(1, clip.frames / 20);
    for (int n = 0; n < clip.frames || samples < totalSamples;) {
        const bool videoNext = n < clip.frames
            && (samples >= totalSamples || av_compare_ts(frameTime(clip, n), videoBase, samples, audioBase) <= 0);
        if (!videoNext) {
            encodeTone(out, audio, tone, samples, totalSamples);
            continue;
        }
        check(av_frame_make_writable(picture), "cannot reuse a picture");
        const YuvPicture yuv{picture->data[0], picture->data[1], picture->data[2],
                             picture->linesize[0], picture->linesize[1], picture->linesize[2],
                             clip.width, clip.height};
        drawFramePicture(yuv, n, clip.fpsNum, clip.fpsDen);
        picture->pts = frameTime(clip, n);
        picture->quality = video.encoder->global_quality;   // the fixed quantiser is per frame
        picture->pict_type = n % clip.gopSize == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        encode(out, video, picture);
        ++n;
        if (clip.progress && (n % progressStep == 0 || n == clip.frames))
            clip.progress(n, clip.frames);
    }
    encode(out, video, nullptr);
    if (withAudio)
        encode(out, audio, nullptr);
    out.finish();
}

void checkAudioSpec(const AudioSpec& clip)
{
    if (!(clip.seconds > 0) || clip.seconds > 24 * 3600 || clip.sampleRate < 8000 || !(clip.toneHz > 0))
        throw Failure("bad duration, sample rate or tone");
}

void writeAudio(const fs::path& file, const char* format, const char* codecName,
                const AudioSpec& clip, int bitRate)
{
    Output out(format, file);
    Track audio = audioTrack(out, avcodec_find_encoder_by_name(codecName), codecName, clip.sampleRate, 2,
                             bitRate);
    out.writeHeader();
    const auto total = static_cast<std::int64_t>(std::llround(clip.seconds * clip.sampleRate));
    const Tone tone(clip.toneHz, clip.sampleRate);
    for (std::int64_t done = 0; done < total;)
        encodeTone(out, audio, tone, done, total);
    encode(out, audio, nullptr);
    out.finish();
}

bool makeAudio(const std::string& path, const AudioSpec& clip, std::string* error, const char* format,
               const char* codecName, int bitRate)
{
    return attempt("cannot make " + path, error, [&] {
        checkAudioSpec(clip);
        PendingFile file(path);
        writeAudio(file.temp(), format, codecName, clip, bitRate);
        file.commit();
    });
}

} // namespace

bool makeVideo(const std::string& path, const VideoSpec& clip, std::string* error)
{
    return attempt("cannot make " + path, error, [&] {
        checkVideoSpec(clip);
        PendingFile file(path);
        writeVideo(file.temp(), clip);
        file.commit();
    });
}

bool makeWav(const std::string& path, const AudioSpec& clip, std::string* error)
{
    return makeAudio(path, clip, error, "wav", "pcm_s16le", 0);
}

bool makeMp3(const std::string& path, const AudioSpec& clip, std::string* error)
{
    return makeAudio(path, clip, error, "mp3", "libmp3lame", 128000);
}

bool makeTruncatedCopy(const std::string& source, const std::string& path, double fraction,
                       std::string* error)
{
    return attempt("cannot make " + path, error, [&] {
        if (!(fraction >= 0 && fraction <= 1))
            throw Failure("the fraction must be from 0 to 1");
        std::error_code ec;
        if (!fs::is_regular_file(source, ec))
            throw Failure("no file " + source);
        if (fs::equivalent(source, path, ec))
            throw Failure("source and copy are the same file");
        const auto size = fs::file_size(source);
        const auto keep = static_cast<std::uintmax_t>(std::floor(static_cast<double>(size) * fraction));

        std::ifstream in(source, std::ios::binary);
        if (!in)
            throw Failure("cannot read " + source);
        PendingFile file(path);
        {
            std::ofstream out(file.temp(), std::ios::binary | std::ios::trunc);
            std::vector<char> buffer(1 << 16);
            for (std::uintmax_t left = keep; left > 0;) {
                const auto chunk = static_cast<std::streamsize>(std::min<std::uintmax_t>(left, buffer.size()));
                if (!in.read(buffer.data(), chunk))
                    throw Failure("cannot read " + source);
                out.write(buffer.data(), chunk);
                left -= static_cast<std::uintmax_t>(chunk);
            }
            out.close();
            if (!out)
                throw Failure("cannot write " + file.temp().string());
        }
        file.commit();
    });
}

namespace {

// One file of the demo library.
struct DemoItem {
    const char* path;
    enum Kind { Video, Wav, Mp3 } kind;
    VideoSpec video;
    AudioSpec audio;
};

VideoSpec demoVideo(Container container, int width, int height, int fpsNum, int fpsDen, double seconds,
                    bool closedGop, double toneHz)
{
    VideoSpec clip;
    clip.container = container;
    clip.width = width;
    clip.height = height;
    clip.fpsNum = fpsNum;
    clip.fpsDen = fpsDen;
    clip.frames = static_cast<int>(std::lround(seconds * fpsNum / fpsDen));
    clip.gopSize = 50;
    clip.bFrames = 2;
    clip.closedGop = closedGop;
    clip.toneHz = toneHz;
    clip.quality = 5;
    return clip;
}

// The concert video: long enough for every scene the music player jumps to
// (frame 122,400 and a little beyond), yet small and quick to make.
VideoSpec concertVideo()
{
    VideoSpec clip;
    clip.width = 160;
    clip.height = 120;
    clip.frames = 122500;
    clip.gopSize = 250;
    clip.bFrames = 0;
    clip.quality = 20;
    clip.toneHz = 330;
    clip.mp2Audio = true;
    clip.audioSampleRate = 16000;
    clip.audioBitRate = 16000;
    clip.threads = 2;
    return clip;
}

AudioSpec tone(double seconds, double hz)
{
    AudioSpec clip;
    clip.seconds = seconds;
    clip.toneHz = hz;
    return clip;
}

std::vector<DemoItem> demoItems()
{
    using C = Container;
    return {
        {"videos/intro.avi", DemoItem::Video, demoVideo(C::Avi, 640, 480, 25, 1, 40, false, 440), {}},
        {"videos/Sport/run.avi", DemoItem::Video, demoVideo(C::Avi, 640, 480, 25, 1, 30, true, 523.25), {}},
        {"videos/Alpen/tal.mpg", DemoItem::Video, demoVideo(C::MpegPs, 384, 288, 25, 1, 30, false, 392), {}},
        {"videos/Alpen/Gipfel/berg.avi", DemoItem::Video,
         demoVideo(C::Avi, 640, 480, 30000, 1001, 20, false, 587.33), {}},
        {"cdrom/extra.avi", DemoItem::Video, demoVideo(C::Avi, 320, 240, 25, 1, 15, false, 659.25), {}},
        {"music/tone.wav", DemoItem::Wav, {}, tone(10, 440)},
        {"music/Rock/song.mp3", DemoItem::Mp3, {}, tone(20, 349.23)},
        {"music/Live-ACDC.mp3", DemoItem::Mp3, {}, tone(40, 261.63)},
        {"music/Live-acdc-2.mp3", DemoItem::Mp3, {}, tone(30, 293.66)},
        {"music/acdc-nobulls2.avi", DemoItem::Video, concertVideo(), {}},
    };
}

std::string megabytes(const fs::path& file)
{
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", ec ? 0.0 : static_cast<double>(size) / 1e6);
    return text;
}

} // namespace

bool makeDemoLibrary(const std::string& dir, std::string* error)
{
    const fs::path root(dir);
    for (DemoItem& item : demoItems()) {
        const fs::path file = root / item.path;
        std::error_code ec;
        if (fs::exists(file, ec)) {
            std::fprintf(stderr, "vv-mediamaker: %s exists, kept\n", file.c_str());
            continue;
        }
        std::fprintf(stderr, "vv-mediamaker: making %s\n", file.c_str());
        const auto start = std::chrono::steady_clock::now();
        bool made = false;
        switch (item.kind) {
        case DemoItem::Video:
            if (item.video.frames > 10000) {
                item.video.progress = [](int done, int total) {
                    std::fprintf(stderr, "vv-mediamaker:   %3d %%\n", static_cast<int>(100LL * done / total));
                };
            }
            made = makeVideo(file.string(), item.video, error);
            break;
        case DemoItem::Wav:
            made = makeWav(file.string(), item.audio, error);
            break;
        case DemoItem::Mp3:
            made = makeMp3(file.string(), item.audio, error);
            break;
        }
        if (!made)
            return false;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "vv-mediamaker: made %s (%s) in %.1f s\n", file.c_str(), megabytes(file).c_str(),
                     took.count());
    }
    return true;
}

} // namespace vvmaker
