#pragma once
// The project's own media maker: small test and demo clips made with
// libavcodec/libavformat. Every video frame carries its frame number, as a
// binary strip that survives compression and scaling down to 160x120 (read it
// back with readFrameNumber, framestrip.h) and as big digits for people.
// The audio is a tone. No Qt here: the maker is a plain library plus the
// command-line program vv-mediamaker.

#include <functional>
#include <string>

namespace vvmaker {

enum class Container {
    Avi,       // MPEG-4 ASP video, fourcc XVID, MP3 audio
    MpegPs,    // MPEG-1 video in an MPEG program stream (.mpg / .dat), MP2 audio
    // Clips as other encoders write them (audio: AAC, Vorbis in WebM).
    AviXvid,   // libxvid, B-frames packed into the frame before them
    AviDivx3,  // MS MPEG-4 v3 (DIV3), no B-frames
    Mp4H264,   // libx264 with B-frames; the muxer writes an edit list
    MkvH264,   // libx264; frames last 30 and 50 ms by turns (variable timing)
    WebmVp9,   // libvpx VP9
    MovHevc,   // libx265 with B-frames, tagged hvc1
    Mp4Av1,    // libaom AV1 (real-time speed)
};

struct VideoSpec {
    Container container = Container::Avi;
    int width = 320;
    int height = 240;
    int fpsNum = 25;
    int fpsDen = 1;
    int frames = 250;
    int gopSize = 50;        // frames from one keyframe to the next
    int bFrames = 2;         // consecutive B-frames (0: none)
    bool closedGop = false;  // false: open GOPs, as common encoders write them
    bool audio = true;       // a tone track as long as the video
    double toneHz = 440.0;

    int quality = 4;              // fixed quantiser, 2 (best) to 31
    int audioSampleRate = 44100;
    int audioBitRate = 64000;     // mono
    bool mp2Audio = false;        // AVI: MP2 instead of MP3 (quicker to make)
    int threads = 1;              // encoder threads
    bool indexFirst = false;      // MP4: the index before the samples, as made for downloads

    // Called now and then while a video is made (frames done so far).
    std::function<void(int framesDone, int framesTotal)> progress;
};

struct AudioSpec {
    double seconds = 3.0;
    double toneHz = 440.0;
    int sampleRate = 44100;
};

// Each returns false and fills *error (when given) on failure. The file is
// written to a temporary beside path and renamed, so a half-made file never
// carries the final name.
//
// makeVideo: exactly clip.frames video frames; keyframes at every gopSize-th
// frame (0, gopSize, 2 gopSize, ...) and nowhere else. With open GOPs and
// B-frames the B-frames just before a keyframe are stored after it and
// predicted from it and the frame before them.
bool makeVideo(const std::string& path, const VideoSpec& clip, std::string* error = nullptr);
// makeWav: PCM 16 bit, stereo. makeMp3: MP3 (LAME), stereo, 128 kb/s.
bool makeWav(const std::string& path, const AudioSpec& clip, std::string* error = nullptr);
bool makeMp3(const std::string& path, const AudioSpec& clip, std::string* error = nullptr);

// A copy of source cut to the first `fraction` of its bytes (a truncated
// download: the header still claims every frame).
bool makeTruncatedCopy(const std::string& source, const std::string& path, double fraction,
                       std::string* error = nullptr);

// The demo library below dir: a few short videos in nested folders and a music
// folder with a .wav, an .mp3, a song with "acdc" in its name and the concert
// video "acdc-nobulls2.avi":
//
//   videos/intro.avi               640x480, 25 fps, 40 s, open GOPs, B-frames
//   videos/Sport/run.avi           640x480, 25 fps, 30 s, closed GOPs
//   videos/Alpen/tal.mpg           MPEG-1 program stream, 384x288, 25 fps, 30 s
//   videos/Alpen/Gipfel/berg.avi   640x480, 30000/1001 fps, 20 s
//   cdrom/extra.avi                320x240, 25 fps, 15 s
//   music/tone.wav                 10 s
//   music/Rock/song.mp3            20 s
//   music/Live-ACDC.mp3            40 s
//   music/Live-acdc-2.mp3          30 s
//   music/acdc-nobulls2.avi        160x120, 25 fps, 122,500 frames (81:40)
//
// Files that exist already are kept, so a second run only fills gaps.
// Progress goes to stderr.
bool makeDemoLibrary(const std::string& dir, std::string* error = nullptr);

} // namespace vvmaker
