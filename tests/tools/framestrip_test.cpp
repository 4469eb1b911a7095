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

// The picture packed as a bitmap would hold it: 3 or 4 bytes a pixel (B, G,
// R, x), rows padded to 4 bytes, optionally bottom row first.
struct Packed {
    std::vector<std::uint8_t> bytes;
    int stride = 0;
};

Packed pack(const QImage& image, int bytesPerPixel, bool bottomUp)
{
    Packed packed;
    packed.stride = (image.width() * bytesPerPixel + 3) & ~3;
    packed.bytes.assign(static_cast<std::size_t>(packed.stride) * image.height(), 0xEE);
    for (int y = 0; y < image.height(); ++y) {
        const int row = bottomUp ? image.height() - 1 - y : y;
        std::uint8_t* out = packed.bytes.data() + static_cast<std::ptrdiff_t>(row) * packed.stride;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            out[x * bytesPerPixel + 0] = static_cast<std::uint8_t>(qBlue(pixel));
            out[x * bytesPerPixel + 1] = static_cast<std::uint8_t>(qGreen(pixel));
            out[x * bytesPerPixel + 2] = static_cast<std::uint8_t>(qRed(pixel));
        }
    }
    return packed;
}

TEST(FrameStrip, ReadsWhatWasDrawnInEveryPixelLayout)
{
    struct Size {
        int width, height;
    };
    const Size sizes[] = {{160, 120}, {318, 240}, {640, 480}, {1280, 720}};
    const int numbers[] = {0, 1, 2, 1000, 65535, 122499, vvmaker::maxStripNumber()};
    for (const Size& size : sizes) {
        for (int n : numbers) {
            const QImage frame = drawnFrame(size.width, size.height, n);
            for (int bytesPerPixel : {3, 4}) {
                for (bool bottomUp : {false, true}) {
                    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " n=" << n << " bpp="
                                                    << bytesPerPixel << " bottomUp=" << bottomUp);
                    const Packed packed = pack(frame, bytesPerPixel, bottomUp);
                    EXPECT_EQ(readFrameNumber(packed.bytes.data(), size.width, size.height, packed.stride,
                                              bytesPerPixel, bottomUp),
                              n);
                }
            }
        }
    }
}

TEST(FrameStrip, NumbersAboveTheLargestWrapAround)
{
    const int max = vvmaker::maxStripNumber();
    EXPECT_GE(max, 122500) << "the concert video needs frame numbers up to 122,499";
    EXPECT_EQ(vv::test::frameNumberOf(drawnFrame(320, 240, max + 1)), 0);
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
        Qt::TransformationMode mode;
    };
    const Case cases[] = {
        {"down to 160x120, smooth", {160, 120}, {0, 0, 160, 120}, Qt::SmoothTransformation},
        {"down to 160x120, nearest", {160, 120}, {0, 0, 160, 120}, Qt::FastTransformation},
        {"stretched to 403x357", {403, 357}, {0, 0, 403, 357}, Qt::SmoothTransformation},
        {"up to 768x576", {768, 576}, {0, 0, 768, 576}, Qt::SmoothTransformation},
        {"letterboxed in 403x357", {403, 357}, {0, 27, 403, 302}, Qt::SmoothTransformation},
        {"pillarboxed in 640x360", {640, 360}, {80, 0, 480, 360}, Qt::SmoothTransformation},
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
    const auto cell = [&](int index) { return QRect(width * index / 20, 0, width * (index + 1) / 20 - width * index / 20, band); };

    QImage grey(width, height, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));

    QImage noise(width, height, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int v = static_cast<int>(state >> 24);
            noise.setPixel(x, y, qRgb(v, v, v));
        }

    // One data cell turned over: the parity no longer matches.
    QImage flippedBit = drawnFrame(width, height, 4);
    QPainter(&flippedBit).fillRect(cell(17), Qt::white);

    // The calibration cells swapped.
    QImage swappedCalibration = drawnFrame(width, height, 4);
    {
        QPainter painter(&swappedCalibration);
        painter.fillRect(cell(0), Qt::black);
        painter.fillRect(cell(1), Qt::white);
    }

    // A cell half black, half white: neither.
    QImage splitCell = drawnFrame(width, height, 0);
    QPainter(&splitCell).fillRect(cell(10).adjusted(0, 0, 0, -band / 2), Qt::white);

    QImage faint = drawnFrame(width, height, 77);   // the strip washed out to almost nothing
    {
        QPainter painter(&faint);
        painter.setOpacity(0.9);
        painter.fillRect(faint.rect(), QColor(128, 128, 128));
    }

    const struct {
        const char* name;
        QImage picture;
    } cases[] = {
        {"flat grey", grey},
        {"black", [] { QImage i(320, 240, QImage::Format_RGB32); i.fill(Qt::black); return i; }()},
        {"noise", noise},
        {"a data cell flipped", flippedBit},
        {"calibration swapped", swappedCalibration},
        {"a cell split", splitCell},
        {"washed out", faint},
        {"null picture", QImage()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(vv::test::frameNumberOf(c.picture), -1);
    }
}

TEST(FrameStrip, RefusesBadBuffers)
{
    const Packed packed = pack(drawnFrame(160, 120, 9), 4, false);
    const std::uint8_t* pixels = packed.bytes.data();
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, packed.stride, 4, false), 9);
    EXPECT_EQ(readFrameNumber(nullptr, 160, 120, packed.stride, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, packed.stride, 2, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 160, 120, 160 * 4 - 1, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 0, 120, packed.stride, 4, false), -1);
    EXPECT_EQ(readFrameNumber(pixels, 30, 20, packed.stride, 4, false), -1);   // too small to hold a strip
}

} // namespace
