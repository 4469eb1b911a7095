#include "tools/mediamaker/clipreader.h"

#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/libav_util.h"

namespace vvmaker {

using libav::check;

struct ClipReader::State {
    libav::InputPtr input;
    libav::CodecContextPtr decoder;
    libav::FramePtr frame{av_frame_alloc()};
    libav::PacketPtr packet{av_packet_alloc()};
    libav::ScalerPtr scaler;
    ReadOptions options;
    int streamIndex = -1;
    bool draining = false;
    bool finished = false;
};

ClipReader::ClipReader() = default;
ClipReader::~ClipReader() = default;

bool ClipReader::open(const std::string& path, const ReadOptions& options, std::string* error)
{
    try {
        auto state = std::make_unique<State>();
        if (!state->frame || !state->packet)
            throw libav::Failure("out of memory");
        state->options = options;
        AVFormatContext* raw = nullptr;
        check(avformat_open_input(&raw, path.c_str(), nullptr, nullptr), "cannot open " + path);
        state->input.reset(raw);
        check(avformat_find_stream_info(raw, nullptr), "cannot read the streams of " + path);
        const AVCodec* codec = nullptr;
        state->streamIndex =
            check(av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0), "no video in " + path);
        state->decoder.reset(avcodec_alloc_context3(codec));
        if (!state->decoder)
            throw libav::Failure("out of memory");
        check(avcodec_parameters_to_context(state->decoder.get(),
                                            raw->streams[state->streamIndex]->codecpar),
              "cannot set up the decoder");
        state->decoder->thread_count = 1;
        check(avcodec_open2(state->decoder.get(), codec, nullptr), "cannot open the decoder");
        state_ = std::move(state);
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        state_.reset();
        return false;
    }
}

std::int64_t ClipReader::claimedFrames() const
{
    return state_ ? state_->input->streams[state_->streamIndex]->nb_frames : 0;
}

bool ClipReader::next(std::vector<std::uint8_t>& bgr, int& width, int& height, std::string* error,
                      FrameInfo* info)
{
    if (!state_ || state_->finished)
        return false;
    State& s = *state_;
    try {
        for (;;) {
            const int got = avcodec_receive_frame(s.decoder.get(), s.frame.get());
            if (got == 0)
                break;
            if (got == AVERROR_EOF) {
                s.finished = true;
                return false;
            }
            if (got != AVERROR(EAGAIN))
                check(got, "the decoder failed");
            if (s.draining)
                continue;
            const int read = av_read_frame(s.input.get(), s.packet.get());
            if (read == AVERROR_EOF || read < 0) {
                // A read error in the middle of a damaged file ends it like EOF.
                s.draining = true;
                check(avcodec_send_packet(s.decoder.get(), nullptr), "cannot drain the decoder");
                continue;
            }
            if (s.packet->stream_index == s.streamIndex) {
                const int sent = avcodec_send_packet(s.decoder.get(), s.packet.get());
                if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN))
                    check(sent, "the decoder refused a packet");
            }
            av_packet_unref(s.packet.get());
        }

        const AVFrame* f = s.frame.get();
        if (info) {
            info->keyFrame = f->key_frame != 0;
            info->pictureType = av_get_picture_type_char(f->pict_type);
            const AVStream* stream = s.input->streams[s.streamIndex];
            info->seconds = f->best_effort_timestamp == AV_NOPTS_VALUE
                ? -1.0
                : static_cast<double>(f->best_effort_timestamp) * av_q2d(stream->time_base);
        }
        width = s.options.width > 0 ? s.options.width : f->width;
        height = s.options.height > 0 ? s.options.height : f->height;
        s.scaler.reset(sws_getCachedContext(s.scaler.release(), f->width, f->height,
                                            static_cast<AVPixelFormat>(f->format), width, height,
                                            AV_PIX_FMT_BGR24,
                                            s.options.scaleFlags ? s.options.scaleFlags : SWS_BILINEAR,
                                            nullptr, nullptr, nullptr));
        if (!s.scaler)
            throw libav::Failure("cannot convert the picture");
        bgr.resize(static_cast<std::size_t>(width) * height * 3);
        std::uint8_t* planes[4] = {bgr.data(), nullptr, nullptr, nullptr};
        int strides[4] = {width * 3, 0, 0, 0};
        sws_scale(s.scaler.get(), f->data, f->linesize, 0, f->height, planes, strides);
        av_frame_unref(s.frame.get());
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        s.finished = true;
        return false;
    }
}

bool readClipFrameNumbers(const std::string& path, std::vector<int>& numbers, const ReadOptions& options,
                          std::string* error)
{
    numbers.clear();
    ClipReader reader;
    if (!reader.open(path, options, error))
        return false;
    std::vector<std::uint8_t> bgr;
    int width = 0, height = 0;
    std::string failure;
    while (reader.next(bgr, width, height, &failure))
        numbers.push_back(readFrameNumber(bgr.data(), width, height, width * 3, 3, false));
    if (!failure.empty()) {
        if (error)
            *error = failure;
        return false;
    }
    return true;
}

} // namespace vvmaker
