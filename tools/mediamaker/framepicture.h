#pragma once
// The picture of one frame the maker writes, drawn straight into a YUV 4:2:0
// picture (video range): a background whose colour and pattern change with
// every two-second scene, a square moving across it, the frame number in big
// seven-segment digits with the time code hh:mm:ss-ff below it, and the
// frame-number strip along the top (framestrip.h).

#include <cstdint>

namespace vvmaker {

struct YuvPicture {
    std::uint8_t* y = nullptr;
    std::uint8_t* u = nullptr;
    std::uint8_t* v = nullptr;
    int yStride = 0;
    int uStride = 0;
    int vStride = 0;
    int width = 0;    // luma size; chroma planes are (width+1)/2 x (height+1)/2
    int height = 0;
};

// Frames per second rounded to a whole number (at least 1): the frame count
// of one second of time code.
int timeCodeRate(int fpsNum, int fpsDen);

// Draw frame n of a video running at fpsNum/fpsDen frames per second.
void drawFramePicture(const YuvPicture& picture, int n, int fpsNum, int fpsDen);

} // namespace vvmaker
