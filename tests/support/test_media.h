#pragma once
// Named test clips, made with the project's media maker on first use and
// cached in the build tree (safe when several test programs ask at once).

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

#include "index/preview_rules.h"
#include "tools/mediamaker/mediamaker.h"

namespace vv::test {

// The path of a named clip of the catalogue below; fails the calling test
// (ADD_FAILURE) and returns "" when the maker fails.
//
//   "open-gop.avi"    320x240, 25 fps, 250 frames (10 s), keyframe every 50,
//                     2 B-frames, open GOPs, tone audio
//   "closed-gop.avi"  the same with closed GOPs
//   "program.mpg"     MPEG-1 program stream, 320x240, 25 fps, 250 frames,
//                     keyframe every 25, 2 B-frames, audio
//   "ntsc.avi"        299 frames at 30000/1001 fps
//   (every .avi: MPEG-4 ASP, fourcc XVID, MP3 audio, keyframes exactly at
//   every 50th frame, 2 B-frames, open GOPs unless named otherwise; frame n
//   shows n in its strip, read with frameNumberOf)
//   "odd-width.avi"   318x240, 25 fps, 100 frames
//   "eight.avi"       8 frames at 25 fps
//   "half-second.avi" 12 frames at 25 fps
//   "truncated.avi"   open-gop.avi cut to half its bytes
//   "garbage.avi"     4 KiB of noise
//   otherEncoders()   320x240, 240 frames, audio, keyframe every 50th, made
//                     by libxvid, MS MPEG-4 v3, libx264 (MP4, variable
//                     timing in MKV), VP9 (WebM) and libx265 (MOV)
//   "concert.avi"     160x120, 9000 frames at 25 fps, a keyframe every 250th,
//                     no B-frames, MP2 audio: past intro scene 1 (2984),
//                     action scene 1 (3200) and closing scene 1 (8626)
//   "tone.wav", "tone.mp3"  3 s of 440 Hz
QString testMedia(const QString& name);
const std::vector<std::pair<QString, vvmaker::Container>>& otherEncoders();

// A fresh empty directory for one test, removed by the caller or left in the
// system's temporary folder.
QString freshTempDir(const QString& tag);

// The frame number carried by a picture (any size from 160x120 up), -1 when
// it carries none.
int frameNumberOf(const QImage& picture);

// The frame number a packed bitmap (header and pixels) carries; -1 when it
// carries none or is no bitmap.
template <typename Bytes>
int frameNumberOfPacked(const Bytes& packed)
{
    return frameNumberOf(imageFromPackedDib(std::data(packed), std::size(packed)));
}

} // namespace vv::test
