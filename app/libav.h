#pragma once
// Ownership of FFmpeg objects: each held by a unique_ptr that frees it the
// way FFmpeg wants, and FFmpeg's error codes as text.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace vv::libav {

struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
// An input context opened with avformat_open_input.
struct InputFree {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
// An output context together with the file it may have opened.
struct OutputFree {
    void operator()(AVFormatContext* f) const
    {
        if (f->oformat && !(f->oformat->flags & AVFMT_NOFILE))
            avio_closep(&f->pb);
        avformat_free_context(f);
    }
};
struct ScalerFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputFree>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputFree>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFree>;

// FFmpeg's description of an error code.
inline std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace vv::libav
