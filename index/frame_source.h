#pragma once
// Single decoded frames of a video file as 24-bit packed bitmaps, for the
// scene index. Any file that libavformat opens will do (AVI, .mpg, .dat,
// MP4, MKV, WebM, MOV).
//
// Frame numbers are those the media player uses for positions, from the
// file's frame timeline (app/frame_timeline.h): the picture plain playback
// presents at that position (an empty AVI entry shows the picture before it).
// A frame asked for is exactly that picture (decoding starts at a keyframe
// before it), never a neighbour. Past the real end of a damaged file whose header claims more
// frames than it holds, the last real frame is delivered instead.
//
// A packed bitmap is a 40-byte information header (biSize 40, the frame's
// width and height, 1 plane, 24 bits, no compression, biSizeImage = rows of
// ((width x 3 + 3) & ~3) bytes times height, zeros after that) followed by the
// pixel rows, bottom row first, blue-green-red, each row padded with zeros to
// a multiple of four bytes.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vv {

struct FrameSourceOptions {
    // While decoding towards a frame that is still far ahead, let the decoder
    // skip pictures no other picture refers to (B-frames). The frame
    // delivered is the same, bit for bit; only the work is less.
    bool skipUnreferencedFrames = true;
    // Decoder threads per source (0: as many as libavcodec likes).
    int decoderThreads = 1;
};

class FrameSource {
public:
    // Opens the file and its first video stream; isOpen() tells whether that
    // worked. Nothing is decoded yet.
    explicit FrameSource(const QString& path, const FrameSourceOptions& options = {});
    ~FrameSource();
    FrameSource(const FrameSource&) = delete;
    FrameSource& operator=(const FrameSource&) = delete;

    bool isOpen() const;
    const QString& path() const;
    const FrameSourceOptions& options() const;

    // The number of frames (positions) as the player counts them. 0 when not
    // open.
    std::int32_t frameCount() const;
    int width() const;
    int height() const;
    double frameRate() const;

    // The packed bitmap of frame n, valid until the next call or the source's
    // end; empty when the frame cannot be delivered (n outside 0 .. frameCount
    // - 1, a file that does not decode).
    std::span<const std::uint8_t> getFrame(std::int32_t n);
    // The same as a byte array shared with the source (no copy is made).
    QByteArray getFrameBytes(std::int32_t n);

    // Pictures decoded since the file was opened (work done, for tests and
    // benchmarks).
    std::int64_t decodedPictures() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Grabs several frames of one video as fast as the machine allows: targets
// ascending (repeats allowed), results in the same order, each the packed
// bitmap getFrame would give or empty when not delivered. `source` serves the
// first share of the targets; when the targets lie far enough apart and the
// machine has a second core, a second source on the same file serves the rest
// at the same time. `workers` 0 decides by itself; 1 keeps to `source`.
std::vector<QByteArray> grabFrames(FrameSource& source, const std::vector<std::int32_t>& targets,
                                   int workers = 0);

// The information header of the packed bitmaps above, for a frame size.
QByteArray packedDibHeader(int width, int height);

} // namespace vv
