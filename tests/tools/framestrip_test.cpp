// The frame-number strip on its own, for what the tests that read frames off
// players, grabbers and screens cannot prove: the largest number a clip
// carries reads back, and a strip that is damaged, or a buffer that cannot
// hold one, reads as -1 rather than as some other frame.

#include "tests/support/test_media.h"
#include "tools/mediamaker/framepicture.h"
#include "tools/mediamaker/framestrip.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Frame n as the maker draws it, shown in grey (the strip has no colour).
QImage drawnFrame(int width, int height, int n)
{
    const int cw = (width + 1) / 2, ch = (height + 1) / 2;
    QImage luma(width, height, QImage::Format_Grayscale8);
    std::vector<std::uint8_t> uv(static_cast<std::size_t>(cw) * ch);
    const int stride = static_cast<int>(luma.bytesPerLine());
    vvmaker::drawFramePicture({luma.bits(), uv.data(), uv.data(), stride, cw, cw, width, height}, n, 25, 1);
    return luma.convertToFormat(QImage::Format_RGB32);
}

TEST(FrameStrip, ReadsTheLargestNumberAndRefusesWhatCarriesNoValidStrip)
{
    // The demo concert's last frame in its size, and the same pixels through
    // buffer descriptions that cannot hold a strip.
    const QImage concert = drawnFrame(160, 120, 122499);
    const std::uint8_t* pixels = concert.constBits();
    const int stride = static_cast<int>(concert.bytesPerLine());
    EXPECT_EQ(vvmaker::readFrameNumber(pixels, 160, 120, stride, 4, false), 122499);
    for (const auto& [bits, w, h, rowBytes, bytesPerPixel] :
         {std::tuple{(const std::uint8_t*)nullptr, 160, 120, stride, 4}, {pixels, 160, 120, stride, 2},
          {pixels, 160, 120, 160 * 4 - 1, 4}, {pixels, 0, 120, stride, 4}, {pixels, 30, 20, stride, 4}})
        EXPECT_EQ(vvmaker::readFrameNumber(bits, w, h, rowBytes, bytesPerPixel, false), -1) << w << " " << rowBytes;

    const int width = 320, height = 240, band = vvmaker::stripBandHeight(height);
    const auto cell = [&](int i) { return QRect(width * i / 20, 0, width * (i + 1) / 20 - width * i / 20, band); };
    const std::vector<std::pair<int, QColor>> paintedOver[] = {
        {{17, Qt::white}},                 // a data cell flipped
        {{0, Qt::black}, {1, Qt::white}},  // calibration swapped
    };
    for (const auto& cells : paintedOver) {
        QImage picture = drawnFrame(width, height, 4);
        QPainter painter(&picture);
        for (const auto& [i, colour] : cells)
            painter.fillRect(cell(i), colour);
        painter.end();
        EXPECT_EQ(vv::test::frameNumberOf(picture), -1) << cells[0].first;
    }
}

} // namespace
