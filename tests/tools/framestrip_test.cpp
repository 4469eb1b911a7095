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
#include <functional>
#include <vector>

namespace {

using vvmaker::readFrameNumber;

// Frame n as the maker draws it, shown in grey (the strip has no colour).
QImage drawnFrame(int width, int height, int n)
{
    const int cw = (width + 1) / 2, ch = (height + 1) / 2;
    std::vector<std::uint8_t> y(static_cast<std::size_t>(width) * height), u(static_cast<std::size_t>(cw) * ch),
        v(u.size());
    vvmaker::drawFramePicture({y.data(), u.data(), v.data(), width, cw, cw, width, height}, n, 25, 1);
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < width; ++x) {
            const int luma = y[static_cast<std::size_t>(row) * width + x];
            line[x] = qRgb(luma, luma, luma);
        }
    }
    return image;
}

// The picture as a bitmap holds it: B, G, R (and x) a pixel, rows padded
// to 4 bytes, optionally bottom row first.
QImage packed(const QImage& image, int bytesPerPixel, bool bottomUp)
{
    const QImage bgr = image.convertToFormat(bytesPerPixel == 3 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    return bottomUp ? bgr.mirrored() : bgr;
}

TEST(FrameStrip, ReadsWhatWasDrawnInEveryPixelLayoutAndWrapsAboveTheLargest)
{
    for (const QSize size : {QSize(160, 120), QSize(318, 240), QSize(640, 480), QSize(1280, 720)}) {
        for (int n : {0, 1, 2, 1000, 65535, 122499, vvmaker::maxStripNumber()}) {
            const QImage frame = drawnFrame(size.width(), size.height(), n);
            for (int bytesPerPixel : {3, 4}) {
                for (bool bottomUp : {false, true}) {
                    const QImage bitmap = packed(frame, bytesPerPixel, bottomUp);
                    EXPECT_EQ(readFrameNumber(bitmap.constBits(), size.width(), size.height(),
                                              static_cast<int>(bitmap.bytesPerLine()), bytesPerPixel, bottomUp),
                              n)
                        << size.width() << "x" << size.height() << " bpp=" << bytesPerPixel << " bottomUp=" << bottomUp;
                }
            }
        }
    }
    // The concert video needs frame numbers up to 122,499; above the largest they wrap.
    const int max = vvmaker::maxStripNumber();
    EXPECT_GE(max, 122500);
    EXPECT_EQ(vv::test::frameNumberOf(drawnFrame(320, 240, max + 6)), 5);
}

// A player shows the picture stretched to its window or, keeping the aspect
// ratio, between black bars.
TEST(FrameStrip, SurvivesScalingAndBlackBars)
{
    const int n = 104729;
    const QImage frame = drawnFrame(320, 240, n);

    struct Case {
        const char* name;
        QSize window;
        QRect picture;   // where the picture lands in the window
        Qt::TransformationMode mode = Qt::SmoothTransformation;
    } const cases[] = {
        {"down to 160x120, smooth", {160, 120}, {0, 0, 160, 120}},
        {"down to 160x120, nearest", {160, 120}, {0, 0, 160, 120}, Qt::FastTransformation},
        {"stretched to 403x357", {403, 357}, {0, 0, 403, 357}},
        {"up to 768x576", {768, 576}, {0, 0, 768, 576}},
        {"letterboxed in 403x357", {403, 357}, {0, 27, 403, 302}},
        {"pillarboxed in 640x360", {640, 360}, {80, 0, 480, 360}},
        {"small, boxed both ways", {200, 200}, {10, 40, 180, 135}, Qt::FastTransformation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage window(c.window, QImage::Format_RGB32);
        window.fill(Qt::black);
        {
            QPainter painter(&window);
            painter.drawImage(c.picture.topLeft(), frame.scaled(c.picture.size(), Qt::IgnoreAspectRatio, c.mode));
        }
        EXPECT_EQ(vv::test::frameNumberOf(window), n);
        EXPECT_EQ(vv::test::frameNumberOf(window.convertToFormat(QImage::Format_RGB888)), n);
    }
}

TEST(FrameStrip, PicturesWithoutAValidStripReadAsMinusOne)
{
    const int width = 320, height = 240;
    const int band = vvmaker::stripBandHeight(height);
    const auto cell = [&](int i) { return QRect(width * i / 20, 0, width * (i + 1) / 20 - width * i / 20, band); };

    const auto plain = [&](QColor colour) {
        QImage i(width, height, QImage::Format_RGB32);
        i.fill(colour);
        return i;
    };
    QImage noise = plain(Qt::black);
    std::uint32_t state = 12345;
    for (int i = 0; i < width * height; ++i) {
        state = state * 1664525u + 1013904223u;
        noise.setPixel(i % width, i / width, qRgb(state >> 24, state >> 24, state >> 24));
    }
    // Frame n drawn over by `paint`.
    const auto spoilt = [&](int n, const std::function<void(QPainter&)>& paint) {
        QImage i = drawnFrame(width, height, n);
        QPainter painter(&i);
        paint(painter);
        painter.end();
        return i;
    };

    const struct {
        const char* name;
        QImage picture;
    } cases[] = {
        {"flat grey", plain(QColor(128, 128, 128))},
        {"noise", noise},
        // One data cell turned over: the parity no longer matches.
        {"a data cell flipped", spoilt(4, [&](QPainter& p) { p.fillRect(cell(17), Qt::white); })},
        {"calibration swapped", spoilt(4, [&](QPainter& p) {
             p.fillRect(cell(0), Qt::black);
             p.fillRect(cell(1), Qt::white);
         })},
        // A cell half black, half white: neither.
        {"a cell split", spoilt(0, [&](QPainter& p) { p.fillRect(cell(10).adjusted(0, 0, 0, -band / 2), Qt::white); })},
        {"washed out", spoilt(77, [&](QPainter& p) {
             p.setOpacity(0.9);
             p.fillRect(QRect(0, 0, width, height), QColor(128, 128, 128));
         })},
        {"null picture", QImage()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(vv::test::frameNumberOf(c.picture), -1);
    }
}

TEST(FrameStrip, RefusesBadBuffers)
{
    const QImage bitmap = packed(drawnFrame(160, 120, 9), 4, false);
    const std::uint8_t* pixels = bitmap.constBits();
    const int stride = static_cast<int>(bitmap.bytesPerLine());
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, stride, 4, false), 9);
    EXPECT_EQ(readFrameNumber(nullptr, 160, 120, stride, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, stride, 2, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, 160 * 4 - 1, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 0, 120, stride, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 30, 20, stride, 4, false), -1);   // too small to hold a strip
}

} // namespace
