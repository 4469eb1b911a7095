#include "tools/mediamaker/framepicture.h"

#include "tools/mediamaker/framestrip.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vvmaker {

namespace {

constexpr std::uint8_t kNeutral = 128;
constexpr std::uint8_t kTextLuma = 235;
constexpr std::uint8_t kBoxLuma = 16;
constexpr std::uint8_t kSquareLuma = 215;

// Scene colours as (U, V) pairs: red, green, blue, yellow, purple, cyan,
// orange, teal.
constexpr std::array<std::array<std::uint8_t, 2>, 8> kSceneColours = {{
    {{100, 190}}, {{90, 80}}, {{185, 110}}, {{60, 140}},
    {{170, 170}}, {{160, 70}}, {{80, 175}}, {{140, 95}},
}};

// Seven-segment digits: bit 0 = top, 1 = top right, 2 = bottom right,
// 3 = bottom, 4 = bottom left, 5 = top left, 6 = middle.
constexpr std::array<std::uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                    0x6D, 0x7D, 0x07, 0x7F, 0x6F};

class Painter {
public:
    explicit Painter(const YuvPicture& p) : p_(p) {}

    // Fill a luma rectangle, clipped to the picture.
    void fillLuma(int x, int y, int w, int h, std::uint8_t luma) const
    {
        const int x0 = std::max(0, x), y0 = std::max(0, y);
        const int x1 = std::min(p_.width, x + w), y1 = std::min(p_.height, y + h);
        for (int row = y0; row < y1; ++row)
            if (x1 > x0)
                std::fill(p_.y + row * p_.yStride + x0, p_.y + row * p_.yStride + x1, luma);
    }

    // Fill the chroma covering a luma rectangle.
    void fillChroma(int x, int y, int w, int h, std::uint8_t u, std::uint8_t v) const
    {
        const int cw = (p_.width + 1) / 2, ch = (p_.height + 1) / 2;
        const int x0 = std::max(0, x / 2), y0 = std::max(0, y / 2);
        const int x1 = std::min(cw, (x + w + 1) / 2), y1 = std::min(ch, (y + h + 1) / 2);
        for (int row = y0; row < y1; ++row) {
            if (x1 <= x0)
                continue;
            std::fill(p_.u + row * p_.uStride + x0, p_.u + row * p_.uStride + x1, u);
            std::fill(p_.v + row * p_.vStride + x0, p_.v + row * p_.vStride + x1, v);
        }
    }

    void fill(int x, int y, int w, int h, std::uint8_t luma, std::uint8_t u, std::uint8_t v) const
    {
        fillLuma(x, y, w, h, luma);
        fillChroma(x, y, w, h, u, v);
    }

private:
    const YuvPicture& p_;
};

// Text of digits, ':' and '-' in seven-segment style, glyphs dh rows tall.
class SegmentFont {
public:
    explicit SegmentFont(int digitHeight)
        : dh_(digitHeight), dw_(std::max(3, digitHeight / 2)), t_(std::max(2, digitHeight / 7)),
          gap_(std::max(1, digitHeight / 6))
    {
    }

    int height() const { return dh_; }

    int width(const std::string& text) const
    {
        int w = 0;
        for (char c : text)
            w += glyphWidth(c) + gap_;
        return text.empty() ? 0 : w - gap_;
    }

    void draw(const Painter& painter, int x, int y, const std::string& text) const
    {
        for (char c : text) {
            drawGlyph(painter, x, y, c);
            x += glyphWidth(c) + gap_;
        }
    }

private:
    int glyphWidth(char c) const { return c == ':' ? t_ : dw_; }

    void drawGlyph(const Painter& painter, int x, int y, char c) const
    {
        if (c == ':') {
            painter.fillLuma(x, y + dh_ / 3 - t_ / 2, t_, t_, kTextLuma);
            painter.fillLuma(x, y + 2 * dh_ / 3 - t_ / 2, t_, t_, kTextLuma);
            return;
        }
        std::uint8_t segments = 0;
        if (c == '-')
            segments = 0x40;
        else if (c >= '0' && c <= '9')
            segments = kSegments[c - '0'];
        const int half = dh_ / 2;
        if (segments & 0x01) painter.fillLuma(x, y, dw_, t_, kTextLuma);
        if (segments & 0x02) painter.fillLuma(x + dw_ - t_, y, t_, half + t_ / 2, kTextLuma);
        if (segments & 0x04) painter.fillLuma(x + dw_ - t_, y + half - t_ / 2, t_, dh_ - half + t_ / 2, kTextLuma);
        if (segments & 0x08) painter.fillLuma(x, y + dh_ - t_, dw_, t_, kTextLuma);
        if (segments & 0x10) painter.fillLuma(x, y + half - t_ / 2, t_, dh_ - half + t_ / 2, kTextLuma);
        if (segments & 0x20) painter.fillLuma(x, y, t_, half + t_ / 2, kTextLuma);
        if (segments & 0x40) painter.fillLuma(x, y + half - t_ / 2, dw_, t_, kTextLuma);
    }

    int dh_, dw_, t_, gap_;
};

std::string timeCodeText(int n, int rate)
{
    const int seconds = n / rate;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d-%02d", seconds / 3600 % 100, seconds / 60 % 60,
                  seconds % 60, n % rate);
    return text;
}

// Background of one scene: a two-level pattern (bands across, bands down,
// diagonal stripes or a checkerboard) in the scene's colour. Luma stays well
// above black so the picture never looks like a black bar. Every row is a
// window into one line of alternating runs, so drawing is copying.
void drawBackground(const YuvPicture& p, int scene)
{
    const int kind = scene % 4;
    const int period = std::max(8, std::min(p.width, p.height) / (6 + scene % 3 * 2));
    const std::uint8_t low = static_cast<std::uint8_t>(70 + 12 * (scene % 3));
    const std::uint8_t high = static_cast<std::uint8_t>(low + 55);

    std::vector<std::uint8_t> line(static_cast<std::size_t>(p.width + 2 * period));
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] = (static_cast<int>(i) / period) & 1 ? high : low;

    for (int y = 0; y < p.height; ++y) {
        std::uint8_t* row = p.y + y * p.yStride;
        const int band = (y / period) & 1;
        switch (kind) {
        case 0:   // bands across
            std::memset(row, band ? high : low, static_cast<std::size_t>(p.width));
            break;
        case 1:   // bands down
            std::memcpy(row, line.data(), static_cast<std::size_t>(p.width));
            break;
        case 2:   // diagonal: ((x + y) / period) & 1
            std::memcpy(row, line.data() + y % (2 * period), static_cast<std::size_t>(p.width));
            break;
        default:  // checkerboard: ((x / period) ^ (y / period)) & 1
            std::memcpy(row, line.data() + band * period, static_cast<std::size_t>(p.width));
            break;
        }
    }
    const auto& colour = kSceneColours[scene % kSceneColours.size()];
    Painter(p).fillChroma(0, 0, p.width, p.height, colour[0], colour[1]);
}

// A bright square crossing the lower part of the picture, half the width in
// each scene.
void drawMovingSquare(const YuvPicture& p, int n, int scene, int framesPerScene)
{
    const int side = std::max(8, p.height / 6);
    const int travel = std::max(1, p.width - side);
    const int step = std::max(1, p.width / std::max(1, 2 * framesPerScene));
    const int x = (n * step) % (2 * travel);
    const int left = x < travel ? x : 2 * travel - x;   // back and forth
    const int top = p.height - side - std::max(2, p.height / 12);
    const auto& colour = kSceneColours[(scene + 4) % kSceneColours.size()];
    Painter(p).fill(left, top, side, side, kSquareLuma, colour[0], colour[1]);
}

void drawNumbers(const YuvPicture& p, int n, int rate)
{
    const Painter painter(p);
    const SegmentFont big(std::max(12, p.height / 4));
    const SegmentFont small(std::max(8, p.height / 10));
    const std::string number = std::to_string(n);
    const std::string timeCode = timeCodeText(n, rate);

    const int pad = std::max(2, p.height / 40);
    const int boxWidth = std::max(big.width(number), small.width(timeCode)) + 2 * pad;
    const int boxHeight = big.height() + small.height() + 3 * pad;
    const int boxLeft = (p.width - boxWidth) / 2;
    const int boxTop = (p.height - boxHeight) / 2;
    painter.fill(boxLeft, boxTop, boxWidth, boxHeight, kBoxLuma, kNeutral, kNeutral);
    big.draw(painter, boxLeft + (boxWidth - big.width(number)) / 2, boxTop + pad, number);
    small.draw(painter, boxLeft + (boxWidth - small.width(timeCode)) / 2,
               boxTop + 2 * pad + big.height(), timeCode);
}

} // namespace

int timeCodeRate(int fpsNum, int fpsDen)
{
    if (fpsNum <= 0 || fpsDen <= 0)
        return 1;
    return std::max(1, (fpsNum + fpsDen / 2) / fpsDen);
}

void drawFramePicture(const YuvPicture& p, int n, int fpsNum, int fpsDen)
{
    const int rate = timeCodeRate(fpsNum, fpsDen);
    const int framesPerScene = 2 * rate;
    const int scene = n / framesPerScene;

    drawBackground(p, scene);
    drawMovingSquare(p, n, scene, framesPerScene);
    drawNumbers(p, n, rate);

    drawStrip(p.y, p.width, p.height, p.yStride, n);
    Painter(p).fillChroma(0, 0, p.width, stripBandHeight(p.height), kNeutral, kNeutral);
}

} // namespace vvmaker
