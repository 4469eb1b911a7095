#pragma once
// The arithmetic of the video picture's zoom and position inside the video
// window. The picture may be larger than the window and is then shifted left
// and up (left and top 0 or negative). All geometry is in twips.

#include <QString>
#include <cstdint>

namespace vv {

struct PictureRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

struct ZoomedPicture {
    PictureRect rect;           // where the picture goes
    std::int16_t zoomPercent;   // the new ZoomPercent
};

inline constexpr std::int16_t MinZoomPercent = 100;
inline constexpr std::int16_t MaxZoomPercent = 1000;

// Moves and/or zooms the picture (what ZOOMvideo does):
// 1. z = zoom limited to 100..1000.
// 2. When the requested zoom (before limiting) differs from zoomPercent, the
//    picture gets the window's size times z / 100 and grows or shrinks about
//    its present centre (offsets rounded half to even); ZoomPercent becomes
//    z. Otherwise the size and ZoomPercent stay.
// 3. The picture moves by dx, dy (positive = right, down).
// 4. The window stays covered: left is at most 0 and the right edge at least
//    the window's right edge (the latter wins when the picture is narrower
//    than the window); the same vertically.
// Computed in 64 bits and pinned to 32 bits, so no input overflows.
ZoomedPicture zoomPicture(const PictureRect& picture, std::int32_t windowWidth,
                          std::int32_t windowHeight, std::int32_t dx, std::int32_t dy,
                          std::int16_t zoom, std::int16_t zoomPercent);

// Sets an absolute zoom relative to the window size (what SIZEvideo does):
// zoom below 100 is taken as 100 (and returned as the new ZoomPercent; there
// is no upper limit here); width and height become the window's times
// zoom / 100, rounded; with centre the picture is centred on the window
// (offsets rounded), otherwise it keeps its left and top. Then only the
// horizontal covering rule applies: when the right edge does not reach the
// window's right edge, left = window width - width. No vertical rule and no
// test of left > 0.
ZoomedPicture sizePicture(const PictureRect& picture, std::int32_t windowWidth,
                          std::int32_t windowHeight, std::int16_t zoom, bool centre);

// The setup dialog's zoom label: "150 %".
QString zoomLabelText(std::int16_t zoomPercent);

} // namespace vv
