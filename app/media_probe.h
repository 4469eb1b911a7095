#pragma once
// What the container of a media file says about it, read with libavformat
// once the player shows the file's first picture: the time base of the video
// stream (frame count, frame rate, the time of frame 0, the stream's own
// length) and the kind of container, which decides how exact seeks must be
// prepared.

#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

#include "app/frame_timeline.h"

struct AVFormatContext;

namespace vv {

enum class ContainerKind {
    Unknown,
    Avi,              // indexed: the stream header counts the frames
    MpegProgram,      // .mpg / .dat: no index, timestamps only
    MpegTransport,
    Other,            // any other container libavformat reads
};

struct MediaProbe {
    bool ok = false;          // the file was opened and its streams understood
    QString error;            // why not, when !ok
    ContainerKind container = ContainerKind::Unknown;

    bool hasAudio = false;
    bool hasVideo = false;

    // The video stream (all zero without one).
    double frameRate = 0;            // frames per second as the container states it
    std::int64_t frameCount = 0;     // frames of the video stream
    double videoSeconds = 0;         // length of the video stream
    double firstFrameTime = 0;       // time of frame 0 on the player's clock, which
                                     // starts at the earliest timestamp of the file
    QSize videoSize;                 // coded size in pixels
    double displayAspect = 0;        // width / height as shown (pixel aspect applied)

    double fileSeconds = 0;          // the whole file as the container states it
    FrameTimeline timeline;          // positions and their pictures (empty for program
                                     // and transport streams: constant rate from t0)
};

// The length of video stream `index` of a file opened with libavformat, as
// the player counts it: the positions of its frame timeline (AVI: the index
// entries, or the packets of a scan when the index is missing or disagrees
// with the header; otherwise the presented pictures); for program and
// transport streams the span of their timestamps at the stream's frame rate.
// Reading packets loses the reading position.
struct VideoLength {
    std::int64_t frames = 0;
    double seconds = 0;
    FrameTimeline timeline;
};
// `stamp`: as for scanTimeline.
VideoLength videoLength(AVFormatContext* input, int index, std::optional<FileStamp> stamp = std::nullopt);

class MediaFile;

// Reads the file's header (and, for containers without an index, the
// timestamps near its end) from the open file, at a place of its own.
// Never throws; failures come back as !ok.
MediaProbe probeMedia(std::shared_ptr<const MediaFile> file);

} // namespace vv
