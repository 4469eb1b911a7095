#pragma once
// The rules of the ACDC simulator without any window or player: the scene
// tables of the concert recording, the random draws into them, the name
// test, the concert video's path and the fade arithmetic.
//
// The tables hold frame numbers of the one concert recording
// "acdc-nobulls2.avi": the intro scenes are the starts of its scenes, a
// closing scene begins ten seconds before the start of one of the scenes 2
// to 13, the action scenes are moments in the middle of the show.

#include <QString>
#include <array>
#include <cstdint>

namespace vv {

inline const QString ConcertVideoName = QStringLiteral("acdc-nobulls2.avi");

// Intro scenes 1..14 (k = 14 is the very start of the video).
inline constexpr std::array<std::int32_t, 14> AcdcIntroScenes = {
    2984, 8876, 14319, 22785, 28787, 35860, 44283, 59567, 77003, 84521, 101510, 109199, 122308, 0};
// Closing scenes 1..12 begin ten seconds before these scene starts.
inline constexpr std::array<std::int32_t, 12> AcdcClosingSceneStarts = {
    8876, 14319, 22785, 28787, 35860, 44283, 59567, 77003, 84521, 101510, 109199, 122308};
// Action scenes 1..10.
inline constexpr std::array<std::int32_t, 10> AcdcActionScenes = {
    3200, 9600, 15100, 23400, 29330, 36438, 60320, 77894, 95200, 109770};

// Video volume at the start of a song, the step by which the tick lowers it,
// and the level below which the concert sound is cut (component volume:
// 0 loudest, more negative quieter).
inline constexpr int AcdcStartVolume = -600;
inline constexpr int AcdcFadeStep = 250;
inline constexpr int AcdcFadeEnd = -3000;
// Seconds into the song after which the fade runs, and seconds before its
// end at which the closing scene is chosen.
inline constexpr double AcdcFadeStartSeconds = 5;
inline constexpr double AcdcClosingSeconds = 15;

// Phases of a running simulation.
inline const QString AcdcStarting = QStringLiteral("starting");
inline const QString AcdcEnding = QStringLiteral("ending");

// The table entry number k = Int(r x count) + 1 for a random number r in
// [0, 1), so 1..count. A value outside [0, 1) is held to the table's ends.
int acdcDraw(float r, int count);

// Intro scene k (1..14), closing scene k (1..12) of a video with the given
// frame rate, action scene k (1..10). k outside the table is held to its
// ends.
std::int32_t acdcIntroScene(int k);
std::int32_t acdcClosingScene(int k, std::int16_t frameRate);
std::int32_t acdcActionScene(int k);

// True when a music file takes part in the simulation: "acdc" occurs in its
// lower-cased full path.
bool acdcTakesPart(const QString& path);

// The concert video in the music directory (one "/" between the two).
QString concertVideoPath(const QString& musicDir);

// One step of the fade: the lowered volume.
inline int acdcFadedVolume(int volume) { return volume - AcdcFadeStep; }
// Whether the fade has ended at this volume (the sound is then cut).
inline bool acdcFadeEnded(int volume) { return volume < AcdcFadeEnd; }

} // namespace vv
