#include "video/zoom_geometry.h"

#include "app/numbers.h"

#include <algorithm>

namespace vv {

namespace {

constexpr auto pin32 = pinned<std::int32_t>;

// Half of a difference, rounded half to even.
std::int64_t halfRounded(std::int64_t difference)
{
    return roundEven(static_cast<double>(difference) / 2.0);
}

// Keeps a window of size `window` covered along one axis: the near edge at
// most 0, the far edge at least the window's far edge.
std::int64_t cover(std::int64_t offset, std::int64_t size, std::int64_t window)
{
    if (offset > 0)
        offset = 0;
    if (offset + size <= window)
        offset = window - size;
    return offset;
}

} // namespace

ZoomedPicture zoomPicture(const PictureRect& picture, std::int32_t windowWidth,
                          std::int32_t windowHeight, std::int32_t dx, std::int32_t dy,
                          std::int16_t zoom, std::int16_t zoomPercent)
{
    const std::int16_t z = std::clamp(zoom, MinZoomPercent, MaxZoomPercent);
    std::int64_t left = picture.left;
    std::int64_t top = picture.top;
    std::int64_t width = picture.width;
    std::int64_t height = picture.height;
    std::int16_t newZoom = zoomPercent;

    if (zoom != zoomPercent) {
        const double f = z / 100.0;
        const std::int64_t newWidth = roundEven(windowWidth * f);
        const std::int64_t newHeight = roundEven(windowHeight * f);
        left -= halfRounded(newWidth - width);
        top -= halfRounded(newHeight - height);
        width = newWidth;
        height = newHeight;
        newZoom = z;
    }
    left += dx;
    top += dy;
    left = cover(left, width, windowWidth);
    top = cover(top, height, windowHeight);
    return {{pin32(left), pin32(top), pin32(width), pin32(height)}, newZoom};
}

ZoomedPicture sizePicture(const PictureRect& picture, std::int32_t windowWidth,
                          std::int32_t windowHeight, std::int16_t zoom, bool centre)
{
    if (zoom < MinZoomPercent)
        zoom = MinZoomPercent;
    std::int64_t left = picture.left;
    std::int64_t top = picture.top;
    const std::int64_t width = roundEven(static_cast<double>(std::int64_t{windowWidth} * zoom) / 100.0);
    const std::int64_t height = roundEven(static_cast<double>(std::int64_t{windowHeight} * zoom) / 100.0);
    if (centre) {
        left = halfRounded(windowWidth - width);
        top = halfRounded(windowHeight - height);
    }
    if (left + width <= windowWidth)
        left = windowWidth - width;
    return {{pin32(left), pin32(top), pin32(width), pin32(height)}, zoom};
}

QString zoomLabelText(std::int16_t zoomPercent)
{
    return QString::number(zoomPercent) + QStringLiteral(" %");
}

} // namespace vv
