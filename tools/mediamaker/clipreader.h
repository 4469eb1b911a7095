#pragma once
// Reading made clips back: decode every video frame with libavcodec, in
// presentation order, convert it to BGR (optionally scaled) and read its
// frame-number strip. Used by `vv-mediamaker read` and by the tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vvmaker {

struct ReadOptions {
    int width = 0;        // 0: the clip's own size
    int height = 0;
    int scaleFlags = 0;   // libswscale's SWS_* algorithm; 0: bilinear
};

// What the decoder says about a frame.
struct FrameInfo {
    bool keyFrame = false;
    char pictureType = '?';        // 'I', 'P', 'B'
    double seconds = -1;           // best-effort presentation time, -1 unknown
};

class ClipReader {
public:
    ClipReader();
    ~ClipReader();
    ClipReader(const ClipReader&) = delete;
    ClipReader& operator=(const ClipReader&) = delete;

    // Open the first video stream of path. False and *error on failure.
    bool open(const std::string& path, const ReadOptions& options = {}, std::string* error = nullptr);

    // The next frame in presentation order as packed BGR (3 bytes a pixel,
    // rows width*3 bytes apart, top row first). False at the end, and on a
    // read error (then *error says why). Damaged packets are skipped.
    bool next(std::vector<std::uint8_t>& bgr, int& width, int& height, std::string* error = nullptr,
              FrameInfo* info = nullptr);

    // The number of frames the container claims (AVI index), 0 when unknown.
    std::int64_t claimedFrames() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The strip of every decoded frame, in presentation order (-1 where a frame
// carries none). False and *error when the file cannot be read at all.
bool readClipFrameNumbers(const std::string& path, std::vector<int>& numbers,
                          const ReadOptions& options = {}, std::string* error = nullptr);

} // namespace vvmaker
