#include "video/zoom_geometry.h"

#include <gtest/gtest.h>

namespace vv {

void PrintTo(const PictureRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}

namespace {

// Relative zooms and pans (zoomPicture, from a zoom percent) and absolute
// sizes (sizePicture, centred or not), all in a 600 x 400 window unless the
// picture is 601 x 401 (then that).
TEST(ZoomGeometry, ZoomPanAndSize)
{
    constexpr std::int16_t Centred = -1, Uncentred = -2;  // an absolute size
    struct Case {
        const char* what;
        PictureRect picture;
        std::int32_t dx, dy;
        std::int16_t zoom, zoomPercent;
        PictureRect expected;
        std::int16_t expectedZoom;
    } const cases[] = {
        {"covering picture, nothing asked: stays", {0, 0, 600, 400}, 0, 0, 100, 100, {0, 0, 600, 400}, 100},
        {"100 -> 200 keeps the centre", {0, 0, 600, 400}, 0, 0, 200, 100, {-300, -200, 1200, 800}, 200},
        {"pan at 100 has no effect", {0, 0, 600, 400}, 500, -500, 100, 100, {0, 0, 600, 400}, 100},
        {"pan within the zoomed picture", {-300, -200, 1200, 800}, 50, -50, 200, 200, {-250, -250, 1200, 800}, 200},
        {"pan past the left edge stops there", {-300, -200, 1200, 800}, 1000, 1000, 200, 200, {0, 0, 1200, 800}, 200},
        {"pan past the right edge stops there", {-300, -200, 1200, 800}, -1000, -1000, 200, 200,
         {-600, -400, 1200, 800}, 200},
        {"zoom out near a corner keeps the window covered", {-600, -400, 1200, 800}, 0, 0, 150, 200,
         {-300, -200, 900, 600}, 150},
        {"1500 is applied as 1000", {0, 0, 600, 400}, 0, 0, 1500, 100, {-2700, -1800, 6000, 4000}, 1000},
        {"50 is applied as 100", {-300, -200, 1200, 800}, 0, 0, 50, 200, {0, 0, 600, 400}, 100},
        {"halves round to even", {0, 0, 601, 401}, 0, 0, 150, 100, {-150, -100, 902, 602}, 150},
        {"huge moves do not overflow", {-2700, -1800, 6000, 4000}, INT32_MAX, INT32_MIN, 1000, 1000,
         {0, -3600, 6000, 4000}, 1000},
        {"below 100 is raised, the picture on the window", {-300, -200, 1200, 800}, 0, 0, 40, Centred,
         {0, 0, 600, 400}, 100},
        {"centred 200", {0, 0, 600, 400}, 0, 0, 200, Centred, {-300, -200, 1200, 800}, 200},
        {"centred, halves to even", {0, 0, 601, 401}, 0, 0, 150, Centred, {-150, -100, 902, 602}, 150},
        {"uncentred keeps left and top", {-100, -50, 600, 400}, 0, 0, 200, Uncentred, {-100, -50, 1200, 800}, 200},
        {"only the horizontal rule", {-5000, -5000, 600, 400}, 0, 0, 100, Uncentred, {0, -5000, 600, 400}, 100},
        {"no upper limit here", {0, 0, 600, 400}, 0, 0, 2000, Centred, {-5700, -3800, 12000, 8000}, 2000},
    };
    for (const auto& c : cases) {
        const std::int32_t w = c.picture.width == 601 ? 601 : 600, h = c.picture.width == 601 ? 401 : 400;
        const ZoomedPicture z = c.zoomPercent < 0 ? sizePicture(c.picture, w, h, c.zoom, c.zoomPercent == Centred)
                                                  : zoomPicture(c.picture, w, h, c.dx, c.dy, c.zoom, c.zoomPercent);
        EXPECT_EQ(z.rect, c.expected) << c.what;
        EXPECT_EQ(z.zoomPercent, c.expectedZoom) << c.what;
    }
}

TEST(ZoomGeometry, ZoomingInAndOutAgainReturnsToThePicture)
{
    PictureRect r{-60, -40, 720, 480};
    std::int16_t zoom = 120;
    for (std::int16_t step : {5, 5, 5, -5, -5, -5}) {
        const ZoomedPicture z = zoomPicture(r, 600, 400, 0, 0, static_cast<std::int16_t>(zoom + step), zoom);
        r = z.rect;
        zoom = z.zoomPercent;
    }
    EXPECT_EQ(zoom, 120);
    EXPECT_EQ(r, (PictureRect{-60, -40, 720, 480}));
}

} // namespace
} // namespace vv
