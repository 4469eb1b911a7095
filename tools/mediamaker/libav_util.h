#pragma once
// Ownership of FFmpeg objects and error checks shared by the maker's files.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <stdexcept>
#include <string>

namespace vvmaker::libav {

struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
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
struct InputFree {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct ScalerFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputFree>;
using InputPtr = std::unique_ptr<AVFormatContext, InputFree>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFree>;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// Throws Failure("what (FFmpeg's reason)") when an FFmpeg call returned an error.
inline int check(int result, const std::string& what)
{
    if (result < 0)
        throw Failure(what + " (" + errorText(result) + ")");
    return result;
}

} // namespace vvmaker::libav
