#pragma once
// The arithmetic of the position slider, without the window: frames to the
// width of the dark fill and back, and where the IN and OUT buttons stand on
// the bar. Every length is in twips, relative to the bar's left edge.

#include <cstdint>
#include <optional>

namespace vv {

// The fill for a position: position x (barWidth / durationFrames); 0 when no
// video is loaded (durationFrames <= 0).
double sliderFillWidth(double position, double barWidth, std::int32_t durationFrames);

// The frame under a point of the bar: the whole part, rounded down, of
// x / (barWidth / durationFrames). Points left of the bar give negative
// frames and points right of it frames past the end (the seek clamps them).
// Far-off points are pinned into the 32-bit range. No frame (nullopt) when
// no video is loaded or the bar has no width.
// Computed so that sliderFrameAt(sliderFillWidth(f)) is f again.
std::optional<std::int32_t> sliderFrameAt(double x, double barWidth, std::int32_t durationFrames);

// The IN button for a fill: its right edge on the end of the fill, kept
// inside the bar (left 0 at the very beginning, barWidth - width at the end).
double placeInButton(double fillWidth, double barWidth, double buttonWidth);

struct MarkButtonPlaces {
    double inLeft = 0;
    double outLeft = 0;
};

// The OUT button for a fill, with the IN button standing at inLeft (both
// buttons buttonWidth wide):
// 1. OUT's right edge on the end of the fill, kept inside the bar;
// 2. when there is less room than one button right of IN, IN moves left to
//    barWidth - 2 buttonWidth;
// 3. when OUT would stand on IN or behind it while IN overlaps it, OUT moves
//    to stand directly right of IN.
MarkButtonPlaces placeOutButton(double fillWidth, double barWidth, double inLeft, double buttonWidth);

} // namespace vv
