#include "index/frame_source.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "app/libav.h"
#include "app/media_probe.h"
#include "app/numbers.h"
#include "index/le_bytes.h"

namespace vv {

namespace {

constexpr int InfoHeaderSize = 40;
constexpr int MaxFrameSide = 16384;

// While the packet being decoded lies more than this many frames before the
// wanted one, pictures nobody refers to may be skipped. Generous against the
// reordering of B-frames and the decoder's one-packet lag.
constexpr std::int64_t SkipDistance = 16;

// Seeks for a frame start this many frames before it (AVI: the index then
// finds the keyframe at or before that point), widening on each retry.
constexpr std::int64_t AviSeekMargins[] = {4, 64, 1024};
// Other files seek by time, widening on each retry. Where the container's
// index knows its keyframes (a frame timeline exists), the first seek goes to
// the frame itself: it lands on the keyframe at or before it, and one that
// lies after it (an index keyed by decoding time) shows itself by its first
// picture and costs a retry. Program streams land anywhere and start a second
// before the frame.
constexpr double StreamSeekSeconds[] = {0.0, 1.0, 4.0, 16.0};

std::int64_t rowBytes(int width)
{
    return (static_cast<std::int64_t>(width) * 3 + 3) & ~std::int64_t(3);
}

bool isKeyPicture(const AVFrame* f)
{
    return f->key_frame || f->pict_type == AV_PICTURE_TYPE_I;
}

bool isFullRangeFormat(int format)
{
    return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P
           || format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
}

} // namespace

QByteArray packedDibHeader(int width, int height)
{
    QByteArray header(InfoHeaderSize, '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(header.data());
    le::put32(p + 0, InfoHeaderSize);
    le::put32(p + 4, static_cast<std::uint32_t>(width));
    le::put32(p + 8, static_cast<std::uint32_t>(height));
    le::put16(p + 12, 1);
    le::put16(p + 14, 24);
    le::put32(p + 16, 0);
    le::put32(p + 20, static_cast<std::uint32_t>(rowBytes(width) * height));
    return header;
}

struct FrameSource::Impl {
    enum class Outcome { Found, TooLate, End, Failed };

    QString path;
    FrameSourceOptions options;

    libav::InputPtr format;
    libav::CodecContextPtr codec;
    libav::PacketPtr packet{av_packet_alloc()};
    libav::FramePtr decoded{av_frame_alloc()};
    libav::FramePtr held{av_frame_alloc()};  // the last picture that came out
    libav::ScalerPtr scaler;

    // What the file is
    bool open = false;
    int streamIndex = -1;
    AVStream* stream = nullptr;
    bool avi = false;
    std::int32_t count = 0;
    int width = 0;
    int height = 0;
    AVRational fps{0, 1};
    std::int64_t startTs = 0;
    FrameTimeline timeline;    // empty for program and transport streams

    // Where decoding stands
    bool demuxEnded = false;
    bool flushSent = false;
    bool keySeen = false;          // a keyframe at or before the target came out since the last seek
    std::int64_t heldNumber = -1;  // number of `held`; -1: none since the last seek
    std::int64_t packetFrame = std::numeric_limits<std::int64_t>::min();  // last video packet, in frames
    std::int64_t target = 0;
    std::int64_t decodedCount = 0;

    // What was delivered. A bitmap handed out as a byte array is shared with
    // the caller: the next one is made in a new array.
    QByteArray dib;
    std::int64_t dibNumber = -1;
    std::int64_t realEnd = -1;  // number of the last real frame, once the end was met
    QByteArray endDib;

    bool openFile();
    void resetDecoding();
    bool seekBefore(std::int64_t n, int attempt);
    bool rewind();
    bool closeEnoughToWalk(std::int64_t n) const;
    int decodeNext();
    Outcome decodeTo(std::int64_t n);
    std::int64_t numberOf(const AVFrame* f) const;
    std::int64_t framesOf(std::int64_t ts) const;
    std::int64_t tsOf(std::int64_t frames) const;
    bool convertHeld();
    // Positions a second.
    double rate() const { return timeline.empty() ? av_q2d(fps) : timeline.frameRate(); }
    const QByteArray* frame(std::int64_t n);
};

bool FrameSource::Impl::openFile()
{
    open = false;
    scaler.reset();
    codec.reset();
    format.reset();
    stream = nullptr;
    resetDecoding();
    if (!packet || !decoded || !held)
        return false;

    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return false;  // avformat_open_input frees what it allocated
    format.reset(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return false;

    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream* st = format->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            streamIndex = static_cast<int>(i);
            stream = st;
            break;
        }
    }
    if (!stream)
        return false;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder)
        return false;
    codec.reset(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return false;
    codec->pkt_timebase = stream->time_base;
    codec->thread_count = std::max(0, options.decoderThreads);
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return false;

    width = stream->codecpar->width;
    height = stream->codecpar->height;
    if (width <= 0 || height <= 0 || width > MaxFrameSide || height > MaxFrameSide)
        return false;
    fps = av_guess_frame_rate(format.get(), stream, nullptr);
    if (fps.num <= 0 || fps.den <= 0)
        return false;
    startTs = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    avi = std::strcmp(format->iformat->name, "avi") == 0;

    // Counted as the player counts them: the scene positions of an index
    // grabbed here and of a sheet cut later while the video plays must agree.
    // (Reading the length may move the reading position; every grab seeks.)
    VideoLength length = videoLength(format.get(), streamIndex);
    count = pinned<std::int32_t>(std::max<std::int64_t>(length.frames, 0));
    timeline = std::move(length.timeline);

    dib.clear();
    dibNumber = -1;
    open = true;
    return true;
}

void FrameSource::Impl::resetDecoding()
{
    if (codec)
        avcodec_flush_buffers(codec.get());
    demuxEnded = false;
    flushSent = false;
    keySeen = false;
    heldNumber = -1;
    if (held)
        av_frame_unref(held.get());
    packetFrame = std::numeric_limits<std::int64_t>::min();
}

std::int64_t FrameSource::Impl::framesOf(std::int64_t ts) const
{
    if (!avi && !timeline.empty())
        return timeline.positionAtTicks(double(ts));
    const AVRational tb = stream->time_base;
    return av_rescale_rnd(ts - startTs, static_cast<std::int64_t>(tb.num) * fps.num,
                          static_cast<std::int64_t>(tb.den) * fps.den, AV_ROUND_NEAR_INF);
}

std::int64_t FrameSource::Impl::tsOf(std::int64_t frames) const
{
    if (!avi && !timeline.empty())
        return timeline.positionTicks(frames);
    const AVRational tb = stream->time_base;
    return startTs + av_rescale_rnd(frames, static_cast<std::int64_t>(fps.den) * tb.den,
                                    static_cast<std::int64_t>(fps.num) * tb.num, AV_ROUND_DOWN);
}

// The number of a decoded picture: in AVI the entry at which it is
// presented, from its timestamp at the frame rate (the timestamps are those
// of the packets in decoding order, so a decoder that holds pictures back for
// B-frames hands each one out that many entries late); otherwise its
// position on the timeline. A picture without a timestamp (the last
// one, flushed out at the end) follows the one before it.
std::int64_t FrameSource::Impl::numberOf(const AVFrame* f) const
{
    const std::int64_t ts = f->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        return heldNumber >= 0 ? heldNumber + 1 : 0;
    std::int64_t n = framesOf(ts);
    if (avi)
        n -= codec->has_b_frames;
    return n;
}

bool FrameSource::Impl::rewind()
{
    resetDecoding();
    keySeen = true;  // from the very start every picture is as good as it gets
    // Byte positions are safe in program and transport streams, which carry
    // their own timestamps; other containers would lose them.
    if (!avi && timeline.empty() && av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0)
        return true;
    if (av_seek_frame(format.get(), streamIndex, startTs, AVSEEK_FLAG_BACKWARD) >= 0)
        return true;
    if (!openFile())
        return false;
    keySeen = true;
    return true;
}

bool FrameSource::Impl::seekBefore(std::int64_t n, int attempt)
{
    std::int64_t from = 0;
    if (avi) {
        if (attempt >= static_cast<int>(std::size(AviSeekMargins)))
            return rewind();
        from = n - AviSeekMargins[attempt];
    } else {
        const int step = timeline.empty() ? attempt + 1 : attempt;
        if (step >= static_cast<int>(std::size(StreamSeekSeconds)))
            return rewind();
        from = n - static_cast<std::int64_t>(StreamSeekSeconds[step] * rate() + 0.5);
    }
    if (from <= 0)
        return rewind();
    resetDecoding();
    if (av_seek_frame(format.get(), streamIndex, tsOf(from), AVSEEK_FLAG_BACKWARD) < 0)
        return rewind();
    return true;
}

// Walking on from the last picture is cheaper than seeking when the seek
// would land no further than where decoding already stands.
bool FrameSource::Impl::closeEnoughToWalk(std::int64_t n) const
{
    if (heldNumber < 0 || heldNumber >= n || !keySeen || demuxEnded)
        return false;
    if (avi) {
        const AVIndexEntry* key = avformat_index_get_entry_from_timestamp(stream, tsOf(n - AviSeekMargins[0]),
                                                                           AVSEEK_FLAG_BACKWARD);
        return key && framesOf(key->timestamp) <= packetFrame;
    }
    return n - heldNumber <= static_cast<std::int64_t>(rate() + 0.5);
}

// The next decoded picture into `decoded`: 1, or 0 when no more come.
int FrameSource::Impl::decodeNext()
{
    for (;;) {
        int r = avcodec_receive_frame(codec.get(), decoded.get());
        if (r == 0) {
            ++decodedCount;
            return 1;
        }
        if (r != AVERROR(EAGAIN))
            return 0;  // the end, or a decoder that cannot go on
        if (demuxEnded) {
            if (flushSent)
                return 0;
            flushSent = true;
            codec->skip_frame = AVDISCARD_DEFAULT;
            avcodec_send_packet(codec.get(), nullptr);
            continue;
        }
        if (av_read_frame(format.get(), packet.get()) < 0) {
            demuxEnded = true;
            continue;
        }
        if (packet->stream_index != streamIndex) {
            av_packet_unref(packet.get());
            continue;
        }
        const std::int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
        const bool timed = ts != AV_NOPTS_VALUE;
        if (timed)
            packetFrame = framesOf(ts);
        const bool farAhead = options.skipUnreferencedFrames && timed && packetFrame + SkipDistance < target;
        codec->skip_frame = farAhead ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        // A damaged packet is dropped; the next keyframe repairs the picture.
        avcodec_send_packet(codec.get(), packet.get());
        av_packet_unref(packet.get());
    }
}

FrameSource::Impl::Outcome FrameSource::Impl::decodeTo(std::int64_t n)
{
    while (decodeNext()) {
        const std::int64_t number = numberOf(decoded.get());
        if (isKeyPicture(decoded.get()) && number <= n)
            keySeen = true;
        av_frame_unref(held.get());
        av_frame_move_ref(held.get(), decoded.get());
        heldNumber = number;
        if (number >= n)
            return keySeen ? Outcome::Found : Outcome::TooLate;
    }
    return heldNumber >= 0 && keySeen ? Outcome::End : Outcome::Failed;
}

bool FrameSource::Impl::convertHeld()
{
    const AVFrame* f = held.get();
    if (f->width <= 0 || f->height <= 0 || f->format < 0)
        return false;
    // libswscale's own fast path for a plain colour conversion (what the
    // ffmpeg tool uses too): the precise one costs 20 times as much at 1080p.
    const int flags = SWS_BICUBIC;
    SwsContext* s = sws_getCachedContext(scaler.release(), f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                         width, height, AV_PIX_FMT_BGR24, flags, nullptr, nullptr, nullptr);
    scaler.reset(s);
    if (!s)
        return false;
    const int space = f->colorspace == AVCOL_SPC_UNSPECIFIED || f->colorspace == AVCOL_SPC_RGB ? SWS_CS_DEFAULT
                                                                                               : f->colorspace;
    const int fullRange = f->color_range == AVCOL_RANGE_JPEG || isFullRangeFormat(f->format);
    sws_setColorspaceDetails(s, sws_getCoefficients(space), fullRange, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                             1 << 16, 1 << 16);

    const std::int64_t stride = rowBytes(width);
    if (dib.isEmpty() || !dib.isDetached()) {
        dib = packedDibHeader(width, height);
        dib.resize(InfoHeaderSize + stride * height);
    }
    // Bottom-up rows: start at the last row and step backwards.
    auto* bits = reinterpret_cast<std::uint8_t*>(dib.data()) + InfoHeaderSize;
    std::uint8_t* dst[4] = {bits + (height - 1) * stride, nullptr, nullptr, nullptr};
    int dstStride[4] = {-static_cast<int>(stride), 0, 0, 0};
    if (sws_scale(s, f->data, f->linesize, 0, f->height, dst, dstStride) != height)
        return false;
    const std::int64_t used = static_cast<std::int64_t>(width) * 3;
    if (used != stride) {
        for (int y = 0; y < height; ++y)
            std::memset(bits + y * stride + used, 0, static_cast<std::size_t>(stride - used));
    }
    return true;
}

const QByteArray* FrameSource::Impl::frame(std::int64_t n)
{
    if (!open || n < 0 || n >= count)
        return nullptr;
    if (n == dibNumber)
        return &dib;
    // An AVI entry shows the picture presented at or last before it.
    const std::int64_t wanted = avi && !timeline.empty() ? timeline.pictureTicks(n) : n;
    if (realEnd >= 0 && wanted > realEnd)
        return &endDib;

    target = wanted;
    const bool walk = closeEnoughToWalk(wanted);
    for (int attempt = walk ? -1 : 0;; ++attempt) {
        if (attempt >= 0 && !seekBefore(wanted, attempt))
            return nullptr;
        const bool fromStart = keySeen && heldNumber < 0;
        const Outcome outcome = decodeTo(wanted);
        if (outcome == Outcome::Found || outcome == Outcome::End || (outcome == Outcome::TooLate && fromStart)) {
            dibNumber = -1;
            if (!convertHeld())
                return nullptr;
            dibNumber = n;
            if (outcome == Outcome::End && demuxEnded) {
                realEnd = heldNumber;
                endDib = dib;
            }
            return &dib;
        }
        if (outcome == Outcome::Failed && fromStart)
            return nullptr;  // not even the start of the file decodes
    }
}

FrameSource::FrameSource(const QString& path, const FrameSourceOptions& options)
    : d(std::make_unique<Impl>())
{
    d->path = path;
    d->options = options;
    if (!d->openFile()) {
        d->format.reset();
        d->codec.reset();
        d->open = false;
    }
}

FrameSource::~FrameSource() = default;

bool FrameSource::isOpen() const { return d->open; }
const QString& FrameSource::path() const { return d->path; }
const FrameSourceOptions& FrameSource::options() const { return d->options; }
std::int32_t FrameSource::frameCount() const { return d->open ? d->count : 0; }
int FrameSource::width() const { return d->open ? d->width : 0; }
int FrameSource::height() const { return d->open ? d->height : 0; }
double FrameSource::frameRate() const { return d->open ? d->rate() : 0.0; }
std::int64_t FrameSource::decodedPictures() const { return d->decodedCount; }

std::span<const std::uint8_t> FrameSource::getFrame(std::int32_t n)
{
    const QByteArray* bytes = d->frame(n);
    if (!bytes)
        return {};
    return {reinterpret_cast<const std::uint8_t*>(bytes->constData()), static_cast<std::size_t>(bytes->size())};
}

QByteArray FrameSource::getFrameBytes(std::int32_t n)
{
    const QByteArray* bytes = d->frame(n);
    return bytes ? *bytes : QByteArray();
}

namespace {

void serveTargets(FrameSource& source, const std::vector<std::int32_t>& targets, std::size_t from, std::size_t to,
                  std::vector<QByteArray>& out)
{
    for (std::size_t i = from; i < to; ++i)
        out[i] = source.getFrameBytes(targets[i]);
}

// Two sources pay off when each has decoding of its own to do: targets
// spread over several seconds of video and a second core to run on.
int chooseWorkers(const FrameSource& source, const std::vector<std::int32_t>& targets)
{
    if (targets.size() < 2 || std::thread::hardware_concurrency() < 2)
        return 1;
    const double span = static_cast<double>(targets.back()) - targets.front();
    return span >= 4 * source.frameRate() ? 2 : 1;
}

} // namespace

std::vector<QByteArray> grabFrames(FrameSource& source, const std::vector<std::int32_t>& targets, int workers)
{
    std::vector<QByteArray> out(targets.size());
    if (!source.isOpen() || targets.empty())
        return out;
    if (workers <= 0)
        workers = chooseWorkers(source, targets);
    if (workers < 2 || targets.size() < 2) {
        serveTargets(source, targets, 0, targets.size(), out);
        return out;
    }

    const std::size_t half = (targets.size() + 1) / 2;
    bool helperServed = false;
    {
        std::jthread helper([&] {
            FrameSource second(source.path(), source.options());
            if (!second.isOpen())
                return;
            serveTargets(second, targets, half, targets.size(), out);
            helperServed = true;
        });
        serveTargets(source, targets, 0, half, out);
    }
    if (!helperServed)
        serveTargets(source, targets, half, targets.size(), out);
    return out;
}

} // namespace vv
