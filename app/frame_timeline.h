#pragma once
// The frame timeline of a video file: which picture each position shows and
// when. Position p names the picture that plain playback from the start
// presents at p, on every path of the program (seeks, steps, the time code,
// the scene pictures).
//
// * AVI: the positions are the entries of the file's index, one a frame
//   period, empty entries included (what AVI players and stored scripts
//   count). An entry without a picture of its own (an encoder's empty
//   placeholder, a packed B-frame's place) shows the picture presented at
//   that time: the last one presented at or before it, or the first picture
//   while none has been yet.
// * Every other container: the positions count the presented pictures in
//   order of presentation, whatever their timing (variable frame durations,
//   edit lists, a first timestamp above zero).
//
// Times are in the stream's own ticks; seconds count from position 0 (AVI:
// entry 0; otherwise the first picture). Built from a scan of the container
// (its index, or its packets without decoding), held in memory only.

#include <cstdint>
#include <optional>
#include <vector>

struct AVFormatContext;
struct stat;

namespace vv {

class FrameTimeline {
public:
    FrameTimeline() = default;

    // An AVI stream of `entries` index entries whose pictures are presented
    // at `pictureTicks` (entry numbers; any order) with ticks of
    // `tickSeconds`.
    static FrameTimeline forEntries(std::int64_t entries, std::vector<std::int64_t> pictureTicks, double tickSeconds);
    // A stream whose pictures are presented at `pictureTicks` (any order),
    // the last one lasting `lastTicks`.
    static FrameTimeline forPictures(std::vector<std::int64_t> pictureTicks, std::int64_t lastTicks,
                                     double tickSeconds);

    bool empty() const { return pictures_.empty(); }
    // The number of positions (DurationFrames): the last one is positions() - 1.
    std::int64_t positions() const { return positions_; }
    // The length in seconds and the mean rate of positions a second.
    double seconds() const { return seconds_; }
    double frameRate() const { return seconds_ > 0 ? positions_ / seconds_ : 0; }
    double tickSeconds() const { return tickSeconds_; }

    // The stream ticks of the picture that position p shows (p clamped to
    // 0 .. positions() - 1), and the same in seconds from position 0.
    std::int64_t pictureTicks(std::int64_t position) const;
    double pictureSeconds(std::int64_t position) const;
    // The stream ticks of position p itself (AVI: its entry; otherwise its
    // picture).
    std::int64_t positionTicks(std::int64_t position) const;

    // The position at a time (seconds from position 0) of plain playback:
    // the position of the picture presented then (AVI: the entry then).
    std::int64_t positionAt(double seconds) const;
    // The same for a time in stream ticks.
    std::int64_t positionAtTicks(double ticks) const;

private:
    bool entries_ = false;
    std::int64_t positions_ = 0;
    std::int64_t origin_ = 0;              // ticks of position 0
    std::vector<std::int64_t> pictures_;   // presentation ticks, ascending
    double tickSeconds_ = 0;
    double seconds_ = 0;

    std::int64_t pictureIndex(std::int64_t position) const;
};

// One version of a file: its size and modification time (nanoseconds).
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;

    // The version a stat() or fstat() describes.
    static FileStamp of(const struct stat& info);
};

// The timeline of video stream `index`, from the container's index where it
// is whole and otherwise from a scan of its packets (no decoding). Reading
// packets loses the reading position. Empty when the stream holds no picture.
// The timelines of the last few files are kept in memory for every caller
// (any thread), known by path and the stamp of the file the input reads
// (`stamp`; without it, that of the file at the input's path now).
FrameTimeline scanTimeline(AVFormatContext* input, int index, std::optional<FileStamp> stamp = std::nullopt);
// Forgets the timelines kept in memory (the next scan of each file reads it).
void forgetScannedTimelines();

} // namespace vv
