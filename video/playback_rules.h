#pragma once
// The decisions of the playback tick and the playlist, without the player.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace vv {

// Loop enforcement: both marks set (not -1), the player playing, and the
// unrounded position strictly past MarkOut. Equal to MarkOut does not jump.
bool loopJumpBackDue(std::int32_t markIn, std::int32_t markOut, bool playing, double position);

// End of video: the position equals DurationFrames exactly (no rounding).
bool atEndOfVideo(double position, std::int32_t durationFrames);

// The fast preview jumps of one tick, in the order they are made.
struct PreviewJumps {
    int count = 0;
    std::array<std::int32_t, 2> targets{};
};

// With D = durationFrames, r = frameRate, q = position rounded half to even:
// a = D / 2 + 10 r (rounded), b = D - 30 r;
// - when q >= 1 and D / 2 > q: a jump to D / 2 + 1 (rounded);
// - then, with the same q, when a < q < b: a jump to b + 1.
// 10000 frames at 25: a = 5250, b = 9250; jumps to 5001, later to 9251.
// Products are computed wide (no 16-bit overflow for large frame rates).
PreviewJumps fastPreviewJumps(std::int32_t durationFrames, std::int16_t frameRate,
                              double position);

// The ordinary playlist is the selection of the sorted video list.
// Index that the next-video step selects: selected + 1 (0 when nothing is
// selected, selected = -1); -1 when there is no next entry (no wrap-around
// after the last entry, an empty list, a selection out of range).
int nextPlaylistIndex(int count, int selected);
// Index that the previous-video step selects: selected - 1; -1 when there is
// none (first entry, nothing selected, empty list, out of range).
int previousPlaylistIndex(int count, int selected);

// Int(count x r) for r in [0, 1), kept within 0..count-1; -1 when count <= 0.
int randomIndex(int count, double r);

// The random playlist step: when randomList is empty it is first refilled
// from foundPaths; then entry randomIndex(size, r) is removed from it and
// returned. "" when both lists are empty.
QString pickRandom(QStringList& randomList, const QStringList& foundPaths, double r);

} // namespace vv
