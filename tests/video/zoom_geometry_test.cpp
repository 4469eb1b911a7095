#include "video/zoom_geometry.h"

#include <gtest/gtest.h>

namespace vv {

void PrintTo(const PictureRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}

namespace {

struct ZoomCase {
    const char* what;
    PictureRect picture;
    std::int32_t windowWidth, windowHeight;
    std::int32_t dx, dy;
    std::int16_t zoom, zoomPercent;
    PictureRect expected;
    std::int16_t expectedZoom;
};

TEST(ZoomGeometry, ZoomAndPan)
{
    const ZoomCase cases[] = {
        {"covering picture, nothing asked: stays", {0, 0, 600, 400}, 600, 400, 0, 0, 100, 100,
         {0, 0, 600, 400}, 100},
        {"zoomed picture, nothing asked: stays", {-100, -50, 1200, 800}, 600, 400, 0, 0, 200, 200,
         {-100, -50, 1200, 800}, 200},
        {"100 -> 200 keeps the centre", {0, 0, 600, 400}, 600, 400, 0, 0, 200, 100,
         {-300, -200, 1200, 800}, 200},
        {"200 -> 100 keeps the centre", {-300, -200, 1200, 800}, 600, 400, 0, 0, 100, 200,
         {0, 0, 600, 400}, 100},
        {"pan right at 100 has no effect", {0, 0, 600, 400}, 600, 400, 500, 0, 100, 100,
         {0, 0, 600, 400}, 100},
        {"pan left at 100 has no effect", {0, 0, 600, 400}, 600, 400, -500, -500, 100, 100,
         {0, 0, 600, 400}, 100},
        {"pan within the zoomed picture", {-300, -200, 1200, 800}, 600, 400, 50, -50, 200, 200,
         {-250, -250, 1200, 800}, 200},
        {"pan past the left edge stops there", {-300, -200, 1200, 800}, 600, 400, 1000, 1000, 200,
         200, {0, 0, 1200, 800}, 200},
        {"pan past the right edge stops there", {-300, -200, 1200, 800}, 600, 400, -1000, -1000,
         200, 200, {-600, -400, 1200, 800}, 200},
        {"zoom out near a corner keeps the window covered", {-600, -400, 1200, 800}, 600, 400, 0, 0,
         150, 200, {-300, -200, 900, 600}, 150},
        {"1500 is applied as 1000", {0, 0, 600, 400}, 600, 400, 0, 0, 1500, 100,
         {-2700, -1800, 6000, 4000}, 1000},
        {"50 is applied as 100", {-300, -200, 1200, 800}, 600, 400, 0, 0, 50, 200,
         {0, 0, 600, 400}, 100},
        {"halves round to even", {0, 0, 601, 401}, 601, 401, 0, 0, 150, 100,
         {-150, -100, 902, 602}, 150},
        {"over-limit request at the limit re-applies the limit", {-2700, -1800, 6000, 4000}, 600,
         400, 0, 0, 1500, 1000, {-2700, -1800, 6000, 4000}, 1000},
    };
    for (const auto& c : cases) {
        const ZoomedPicture z = zoomPicture(c.picture, c.windowWidth, c.windowHeight, c.dx, c.dy,
                                            c.zoom, c.zoomPercent);
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

TEST(ZoomGeometry, HugeMovesDoNotOverflow)
{
    const ZoomedPicture z = zoomPicture({-2700, -1800, 6000, 4000}, 600, 400, INT32_MAX, INT32_MIN,
                                        1000, 1000);
    EXPECT_EQ(z.rect, (PictureRect{0, -3600, 6000, 4000}));
}

TEST(ZoomGeometry, SizeAbsolute)
{
    struct Case {
        const char* what;
        PictureRect picture;
        std::int16_t zoom;
        bool centre;
        PictureRect expected;
        std::int16_t expectedZoom;
    } const cases[] = {
        {"reset puts the picture on the window", {-300, -200, 1200, 800}, 100, true,
         {0, 0, 600, 400}, 100},
        {"below 100 is raised", {-300, -200, 1200, 800}, 40, true, {0, 0, 600, 400}, 100},
        {"centred 200", {0, 0, 600, 400}, 200, true, {-300, -200, 1200, 800}, 200},
        {"uncentred grows right and down", {0, 0, 601, 401}, 150, false, {0, 0, 902, 602}, 150},
        {"uncentred keeps left and top", {-100, -50, 600, 400}, 200, false,
         {-100, -50, 1200, 800}, 200},
        {"only the horizontal rule", {-5000, -5000, 600, 400}, 100, false,
         {0, -5000, 600, 400}, 100},
        {"no upper limit here", {0, 0, 600, 400}, 2000, true, {-5700, -3800, 12000, 8000}, 2000},
    };
    for (const auto& c : cases) {
        const ZoomedPicture z = sizePicture(c.picture, c.picture.width == 601 ? 601 : 600,
                                            c.picture.width == 601 ? 401 : 400, c.zoom, c.centre);
        EXPECT_EQ(z.rect, c.expected) << c.what;
        EXPECT_EQ(z.zoomPercent, c.expectedZoom) << c.what;
    }
    const ZoomedPicture odd = sizePicture({0, 0, 601, 401}, 601, 401, 150, true);
    EXPECT_EQ(odd.rect, (PictureRect{-150, -100, 902, 602}));
}

TEST(ZoomGeometry, LabelText)
{
    EXPECT_EQ(zoomLabelText(100), QStringLiteral("100 %"));
    EXPECT_EQ(zoomLabelText(150), QStringLiteral("150 %"));
}

} // namespace
} // namespace vv
