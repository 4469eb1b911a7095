#pragma once
// The frame-number strip: every frame the maker writes carries its frame
// number as a row of black and white cells along the top of the picture,
// readable after lossy compression and after scaling down to 160x120.
//
// Layout: a band 1/8 of the picture's height tall across the full width,
// cut into 20 equal cells: a white and a black calibration cell, then 17 data
// bits (most significant first, white = 1) and an odd-parity cell. The reader
// samples only the middle of each cell, thresholds against the calibration
// cells and insists on clear, uniform cells and a matching parity, so a
// picture without a strip (flat, noisy, another picture) reads as -1 rather
// than as a wrong number. Black bars around the picture (a player keeping the
// aspect ratio in a window of another shape) are trimmed before reading.

#include <cstdint>

namespace vvmaker {

// Largest frame number the strip can carry (2^17 - 1); larger numbers wrap.
int maxStripNumber();

// Height in rows of the strip's band in a picture `height` rows tall.
int stripBandHeight(int height);

// Draw the strip for frame number n into an 8-bit luma plane (the Y plane of
// a YUV picture, video range: black 16, white 235) of the given size and line
// size. Only the band's rows are touched; the caller keeps the chroma under
// the band neutral.
void drawStrip(std::uint8_t* luma, int width, int height, int linesize, int n);

// Read the frame number from a packed picture: 3 (BGR/RGB) or 4 (BGRx/RGBx)
// bytes per pixel, rows `stride` bytes apart, first row at the top unless
// bottomUp (a bitmap's row order). Returns -1 when no valid strip is found.
int readFrameNumber(const std::uint8_t* pixels, int width, int height, int stride,
                    int bytesPerPixel, bool bottomUp);

} // namespace vvmaker
