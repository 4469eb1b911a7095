#pragma once
// The fast-scroll bar under the video list: the whole list spread over the
// bar's width. The ratio N / W (entries per twip) is single precision.

#include <cstdint>

namespace vv {

// The list index for a mouse position x (twips from the bar's left edge):
// (N / W) x x rounded half to even, limited to 0..N-1. -1 for an empty list
// or a bar without width.
std::int32_t fastScrollIndex(std::int32_t count, double barWidth, double x);

// The width of the bar's filled part for list index i: i / (N / W), in
// twips. 0 for an empty list or a bar without width.
double fastScrollFill(std::int32_t index, std::int32_t count, double barWidth);

// The filled width while dragging: x, not less than 0.
double fastScrollDragWidth(double x);

} // namespace vv
