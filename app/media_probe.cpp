#include "app/media_probe.h"

#include "app/libav.h"
#include "app/media_file.h"
#include "app/numbers.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace vv {
namespace {

using libav::InputPtr;
using libav::PacketPtr;

QString avError(int code)
{
    return QString::fromStdString(libav::errorText(code));
}

// libavformat reading a MediaFile: the context, its buffer and the reader
// behind it go together.
constexpr int ReadBufferBytes = 64 * 1024;

struct FileInput {
    explicit FileInput(std::shared_ptr<const MediaFile> file) : reader(std::move(file)) {}
    ~FileInput()
    {
        if (context)
            av_freep(&context->buffer);
        avio_context_free(&context);
    }
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    static int read(void* opaque, std::uint8_t* buffer, int bytes)
    {
        const std::int64_t got = static_cast<FileInput*>(opaque)->reader.read(reinterpret_cast<char*>(buffer), bytes);
        return got > 0 ? static_cast<int>(got) : got == 0 ? AVERROR_EOF : AVERROR(EIO);
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence)
    {
        MediaFileReader& reader = static_cast<FileInput*>(opaque)->reader;
        const std::int64_t size = reader.file().size();
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return size >= 0 ? size : AVERROR(ENOSYS);
        case SEEK_CUR:
            offset += reader.offset();
            break;
        case SEEK_END:
            if (size < 0)
                return AVERROR(ENOSYS);
            offset += size;
            break;
        case SEEK_SET:
            break;
        default:
            return AVERROR(EINVAL);
        }
        return reader.seek(offset) ? offset : AVERROR(EINVAL);
    }

    // False when out of memory.
    bool make()
    {
        auto* buffer = static_cast<unsigned char*>(av_malloc(ReadBufferBytes));
        if (!buffer)
            return false;
        context = avio_alloc_context(buffer, ReadBufferBytes, 0, this, &FileInput::read, nullptr, &FileInput::seek);
        if (!context)
            av_free(buffer);
        return context != nullptr;
    }

    MediaFileReader reader;
    AVIOContext* context = nullptr;
};

double seconds(std::int64_t value, AVRational base)
{
    return value == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(value) * av_q2d(base);
}

ContainerKind kindOf(const AVInputFormat* format)
{
    if (!format || !format->name)
        return ContainerKind::Unknown;
    const char* name = format->name;
    if (std::strcmp(name, "avi") == 0)
        return ContainerKind::Avi;
    if (std::strcmp(name, "mpeg") == 0)
        return ContainerKind::MpegProgram;
    if (std::strcmp(name, "mpegts") == 0)
        return ContainerKind::MpegTransport;
    return ContainerKind::Other;
}

// The video stream, not a cover picture.
int videoStreamIndex(AVFormatContext* input)
{
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
            && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    return -1;
}

double frameRateOf(const AVStream* stream)
{
    for (AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0)
            return av_q2d(rate);
    }
    return 0;
}

// The length of a video stream without an index, from its decoding
// timestamps: from the first frame at the start of the file to the end of the
// last frame near the end of the file. 0 when the timestamps do not tell.
double timestampSpan(AVFormatContext* input, int index, double frameRate)
{
    constexpr std::int64_t TailBytes = 4 * 1024 * 1024;
    constexpr int HeadPackets = 4000;

    const AVStream* stream = input->streams[index];
    const AVRational base = stream->time_base;
    const double frameSeconds = frameRate > 0 ? 1.0 / frameRate : 0.0;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return 0;

    auto stamp = [&](const AVPacket& p) {
        return p.dts != AV_NOPTS_VALUE ? p.dts : p.pts;
    };

    if (av_seek_frame(input, -1, 0, AVSEEK_FLAG_BYTE) < 0)
        return 0;
    std::int64_t first = AV_NOPTS_VALUE;
    for (int n = 0; n < HeadPackets && av_read_frame(input, packet.get()) >= 0; ++n) {
        const bool found = packet->stream_index == index && stamp(*packet) != AV_NOPTS_VALUE;
        if (found)
            first = stamp(*packet);
        av_packet_unref(packet.get());
        if (found)
            break;
    }
    if (first == AV_NOPTS_VALUE)
        return 0;

    const std::int64_t size = input->pb ? avio_size(input->pb) : -1;
    const std::int64_t tail = size > TailBytes ? size - TailBytes : 0;
    if (av_seek_frame(input, -1, tail, AVSEEK_FLAG_BYTE) < 0)
        return 0;
    double end = 0;
    bool any = false;
    while (av_read_frame(input, packet.get()) >= 0) {
        if (packet->stream_index == index && stamp(*packet) != AV_NOPTS_VALUE) {
            const double duration = packet->duration > 0 ? seconds(packet->duration, base) : frameSeconds;
            end = std::max(end, seconds(stamp(*packet) - first, base) + duration);
            any = true;
        }
        av_packet_unref(packet.get());
    }
    return any ? end : 0;
}

// The time of frame 0 on the player's clock, which starts at the earliest
// timestamp of the file.
double firstFrameTime(const AVFormatContext* input, const AVStream* stream)
{
    if (stream->start_time == AV_NOPTS_VALUE)
        return 0;
    const double fileStart = input->start_time != AV_NOPTS_VALUE ? input->start_time / double(AV_TIME_BASE) : 0.0;
    return std::max(0.0, seconds(stream->start_time, stream->time_base) - fileStart);
}

} // namespace

VideoLength videoLength(AVFormatContext* input, int index, std::optional<FileStamp> stamp)
{
    VideoLength length;
    const AVStream* stream = input->streams[index];
    length.timeline = scanTimeline(input, index, stamp);
    if (!length.timeline.empty()) {
        length.frames = length.timeline.positions();
        length.seconds = length.timeline.seconds();
        return length;
    }
    const ContainerKind container = kindOf(input->iformat);
    const double frameRate = frameRateOf(stream);
    const double streamSeconds = seconds(stream->duration, stream->time_base);
    if (container == ContainerKind::MpegProgram || container == ContainerKind::MpegTransport)
        length.seconds = timestampSpan(input, index, frameRate);
    if (length.seconds <= 0) {
        const double fileSeconds = input->duration > 0 ? input->duration / double(AV_TIME_BASE) : 0;
        length.seconds = streamSeconds > 0 ? streamSeconds : std::max(0.0, fileSeconds - firstFrameTime(input, stream));
    }
    length.frames = stream->nb_frames > 0 && container != ContainerKind::MpegProgram
                            && container != ContainerKind::MpegTransport
                        ? stream->nb_frames
                        : roundEven(length.seconds * frameRate);
    return length;
}

MediaProbe probeMedia(std::shared_ptr<const MediaFile> file)
{
    MediaProbe probe;
    // The file's name still tells libavformat the container it guesses
    // first, and names the file's timeline among those kept.
    const QByteArray name = QFile::encodeName(file->path());
    const std::optional<FileStamp> stamp = file->stamp();
    FileInput reading(std::move(file));
    AVFormatContext* raw = reading.make() ? avformat_alloc_context() : nullptr;
    if (!raw) {
        probe.error = avError(AVERROR(ENOMEM));
        return probe;
    }
    raw->pb = reading.context;
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    int rc = avformat_open_input(&raw, name.constData(), nullptr, nullptr);   // frees raw on failure
    if (rc < 0) {
        probe.error = avError(rc);
        return probe;
    }
    InputPtr input(raw);
    rc = avformat_find_stream_info(input.get(), nullptr);
    if (rc < 0) {
        probe.error = avError(rc);
        return probe;
    }

    probe.container = kindOf(input->iformat);
    probe.fileSeconds = input->duration > 0 ? input->duration / double(AV_TIME_BASE) : 0;
    probe.hasAudio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;

    const int index = videoStreamIndex(input.get());
    if (index >= 0) {
        const AVStream* stream = input->streams[index];
        const AVCodecParameters* codec = stream->codecpar;
        probe.hasVideo = true;
        probe.frameRate = frameRateOf(stream);
        probe.videoSize = QSize(codec->width, codec->height);
        const AVRational sar = av_guess_sample_aspect_ratio(input.get(), const_cast<AVStream*>(stream), nullptr);
        const double pixelAspect = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
        probe.displayAspect = codec->height > 0 ? codec->width * pixelAspect / codec->height : 0;

        probe.firstFrameTime = firstFrameTime(input.get(), stream);
        const VideoLength length = videoLength(input.get(), index, stamp);
        probe.frameCount = length.frames;
        probe.videoSeconds = length.seconds;
        if (!length.timeline.empty())
            probe.frameRate = length.timeline.frameRate();
        probe.timeline = std::move(length.timeline);
    }

    if (!probe.hasVideo && !probe.hasAudio) {
        probe.error = QStringLiteral("no audio or video stream");
        return probe;
    }
    probe.ok = true;
    return probe;
}

} // namespace vv
