// The frame-number strip on its own: drawn by the maker's picture code, read
// back from every pixel layout the player and the frame grabber hand over,
// after scaling and letterboxing, and refused on pictures that carry none.

#include "tests/support/test_media.h"
#include "tools/mediamaker/framepicture.h"
#include "tools/mediamaker/framestrip.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using vvmaker::readFrameNumber;

// Frame n as the maker draws it, shown in grey (the strip has no colour).
QImage drawnFrame(int width, int height, int n)
{
    const int cw = (width + 1) / 2, ch = (height + 1) / 2;
    std::vector<std::uint8_t> y(static_cast<std::size_t>(width) * height), uv(static_cast<std::size_t>(cw) * ch);
    vvmaker::drawFramePicture({y.data(), uv.data(), uv.data(), width, cw, cw, width, height}, n, 25, 1);
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const int luma = y[static_cast<std::size_t>(row) * width + x];
            image.setPixel(x, row, qRgb(luma, luma, luma));
        }
    }
    return image;
}

// Read back as a bitmap holds it (B, G, R and maybe x a pixel, rows padded to
// 4 bytes, top or bottom row first) and after a player scaled the picture
// into a window, stretched or between black bars.
TEST(FrameStrip, ReadsWhatWasDrawnInEveryLayoutScaledAndBoxed)
{
    for (const QSize size : {QSize(160, 120), QSize(318, 240), QSize(1280, 720)}) {
        for (const int n : {0, 1, 65535, 122499, vvmaker::maxStripNumber()}) {
            for (const auto format : {QImage::Format_BGR888, QImage::Format_RGB32}) {
                for (const bool bottomUp : {false, true}) {
                    const QImage bitmap = drawnFrame(size.width(), size.height(), n).convertToFormat(format);
                    const QImage stored = bottomUp ? bitmap.mirrored() : bitmap;
                    EXPECT_EQ(readFrameNumber(stored.constBits(), size.width(), size.height(),
                                              static_cast<int>(stored.bytesPerLine()), stored.depth() / 8, bottomUp),
                              n)
                        << size.width() << "x" << size.height() << " depth " << stored.depth() << " " << bottomUp;
                }
            }
        }
    }
    // Above the largest number the strip wraps.
    EXPECT_GE(vvmaker::maxStripNumber(), 122500);
    EXPECT_EQ(vv::test::frameNumberOf(drawnFrame(320, 240, vvmaker::maxStripNumber() + 6)), 5);

    const QImage frame = drawnFrame(320, 240, 104729);
    const std::tuple<QSize, QRect, Qt::TransformationMode> windows[] = {
        {{160, 120}, {0, 0, 160, 120}, Qt::FastTransformation},
        {{768, 576}, {0, 0, 768, 576}, Qt::SmoothTransformation},
        {{403, 357}, {0, 27, 403, 302}, Qt::SmoothTransformation},
        {{640, 360}, {80, 0, 480, 360}, Qt::SmoothTransformation},
        {{200, 200}, {10, 40, 180, 135}, Qt::FastTransformation},
    };
    for (const auto& [size, picture, mode] : windows) {
        QImage window(size, QImage::Format_RGB32);
        window.fill(Qt::black);
        QPainter(&window).drawImage(picture.topLeft(), frame.scaled(picture.size(), Qt::IgnoreAspectRatio, mode));
        EXPECT_EQ(vv::test::frameNumberOf(window), 104729) << picture.width() << " in " << size.width();
    }
}

// A picture without a strip, or with one whose parity or calibration cells
// are wrong, reads as -1, and so does a buffer that cannot hold a strip.
TEST(FrameStrip, PicturesAndBuffersWithoutAValidStripReadAsMinusOne)
{
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
    QImage grey(width, height, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    EXPECT_EQ(vv::test::frameNumberOf(grey), -1);
    EXPECT_EQ(vv::test::frameNumberOf(QImage()), -1);

    const QImage bitmap = drawnFrame(160, 120, 9);
    const std::uint8_t* pixels = bitmap.constBits();
    const int stride = static_cast<int>(bitmap.bytesPerLine());
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, stride, 4, false), 9);
    for (const auto& [bits, w, h, rowBytes, bytesPerPixel] :
         {std::tuple{(const std::uint8_t*)nullptr, 160, 120, stride, 4}, {pixels, 160, 120, stride, 2},
          {pixels, 160, 120, 160 * 4 - 1, 4}, {pixels, 0, 120, stride, 4}, {pixels, 30, 20, stride, 4}})
        EXPECT_EQ(readFrameNumber(bits, w, h, rowBytes, bytesPerPixel, false), -1) << w << " " << rowBytes;
}

} // namespace
