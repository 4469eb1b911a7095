#include "tools/mediamaker/framestrip.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace vvmaker {

namespace {

constexpr int kCells = 20;                 // calibration white, black, data, parity
constexpr int kDataBits = 17;
constexpr int kFirstDataCell = 2;
constexpr int kParityCell = kFirstDataCell + kDataBits;
static_assert(kParityCell == kCells - 1);

constexpr std::uint8_t kWhite = 235;
constexpr std::uint8_t kBlack = 16;

constexpr int kMinContrast = 48;           // white minus black calibration luma
constexpr double kZeroBelow = 0.3;         // cell level relative to black..white
constexpr double kOneAbove = 0.7;
constexpr double kMaxStrayShare = 0.1;     // pixels of a cell on the wrong side
constexpr int kBarLuma = 32;               // rows/columns this dark are bars

int cellLeft(int width, int cell) { return static_cast<int>(static_cast<long long>(width) * cell / kCells); }

bool oddParityBit(int n)
{
    int ones = 0;
    for (int bit = 0; bit < kDataBits; ++bit)
        ones += (n >> bit) & 1;
    return ones % 2 == 0;   // makes the number of ones (data + parity) odd
}

// Luma view of a packed picture.
class LumaView {
public:
    LumaView(const std::uint8_t* pixels, int width, int height, int stride, int bytesPerPixel,
             bool bottomUp)
        : pixels_(pixels), width_(width), height_(height), stride_(stride), bpp_(bytesPerPixel),
          bottomUp_(bottomUp)
    {
    }

    int width() const { return width_; }
    int height() const { return height_; }

    // (R + 2G + B) / 4: the same for RGB and BGR orders.
    int at(int x, int y) const
    {
        const int row = bottomUp_ ? height_ - 1 - y : y;
        const std::uint8_t* p = pixels_ + static_cast<std::ptrdiff_t>(row) * stride_ + x * bpp_;
        return (p[0] + 2 * p[1] + p[2] + 2) / 4;
    }

private:
    const std::uint8_t* pixels_;
    int width_, height_, stride_, bpp_;
    bool bottomUp_;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct CellSample {
    double mean = 0;
    int count = 0;
    int below = 0;   // pixels below the middle level (filled in a second pass)
};

// Middle half of the cell horizontally, middle 60 % of the band vertically.
Rect cellCore(const Rect& picture, int cell)
{
    const int band = std::max(1, picture.height / 8);
    const int x0 = picture.x + cellLeft(picture.width, cell);
    const int x1 = picture.x + cellLeft(picture.width, cell + 1);
    const int w = x1 - x0;
    Rect r;
    r.x = x0 + w / 4;
    r.width = std::max(1, w - 2 * (w / 4));
    r.y = picture.y + band / 5;
    r.height = std::max(1, band - 2 * (band / 5));
    return r;
}

double meanOf(const LumaView& view, const Rect& r)
{
    long long sum = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            sum += view.at(x, y);
    return static_cast<double>(sum) / (static_cast<double>(r.width) * r.height);
}

// The share of pixels in r on the other side of `middle` than `one` says.
double strayShare(const LumaView& view, const Rect& r, double middle, bool one)
{
    int stray = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            stray += (view.at(x, y) > middle) != one;
    return static_cast<double>(stray) / (static_cast<double>(r.width) * r.height);
}

std::optional<int> readIn(const LumaView& view, const Rect& picture)
{
    if (picture.width < 40 || picture.height < 30)
        return std::nullopt;

    const double white = meanOf(view, cellCore(picture, 0));
    const double black = meanOf(view, cellCore(picture, 1));
    if (white - black < kMinContrast)
        return std::nullopt;
    const double middle = (white + black) / 2;

    int value = 0;
    bool parity = false;
    for (int cell = 0; cell < kCells; ++cell) {
        const Rect core = cellCore(picture, cell);
        const double level = (meanOf(view, core) - black) / (white - black);
        bool one;
        if (level > kOneAbove)
            one = true;
        else if (level < kZeroBelow)
            one = false;
        else
            return std::nullopt;
        if (strayShare(view, core, middle, one) > kMaxStrayShare)
            return std::nullopt;

        if (cell == 0 && !one)
            return std::nullopt;
        if (cell == 1 && one)
            return std::nullopt;
        if (cell >= kFirstDataCell && cell < kParityCell)
            value = (value << 1) | (one ? 1 : 0);
        if (cell == kParityCell)
            parity = one;
    }
    if (parity != oddParityBit(value))
        return std::nullopt;
    return value;
}

bool darkRow(const LumaView& view, int y, int x0, int x1)
{
    for (int x = x0; x < x1; ++x)
        if (view.at(x, y) > kBarLuma)
            return false;
    return true;
}

bool darkColumn(const LumaView& view, int x, int y0, int y1)
{
    for (int y = y0; y < y1; ++y)
        if (view.at(x, y) > kBarLuma)
            return false;
    return true;
}

// The picture inside black bars (letterbox above and below, pillarbox left
// and right).
Rect contentRect(const LumaView& view)
{
    int top = 0, bottom = view.height(), left = 0, right = view.width();
    while (top < bottom && darkRow(view, top, left, right))
        ++top;
    while (bottom > top && darkRow(view, bottom - 1, left, right))
        --bottom;
    while (left < right && darkColumn(view, left, top, bottom))
        ++left;
    while (right > left && darkColumn(view, right - 1, top, bottom))
        --right;
    return Rect{left, top, right - left, bottom - top};
}

} // namespace

int maxStripNumber() { return (1 << kDataBits) - 1; }

int stripBandHeight(int height) { return std::max(1, height / 8); }

void drawStrip(std::uint8_t* luma, int width, int height, int linesize, int n)
{
    if (!luma || width <= 0 || height <= 0)
        return;
    const int value = ((n % (maxStripNumber() + 1)) + maxStripNumber() + 1) % (maxStripNumber() + 1);
    const int band = std::min(height, stripBandHeight(height));

    std::uint8_t cells[kCells];
    cells[0] = kWhite;
    cells[1] = kBlack;
    for (int bit = 0; bit < kDataBits; ++bit)
        cells[kFirstDataCell + bit] = ((value >> (kDataBits - 1 - bit)) & 1) ? kWhite : kBlack;
    cells[kParityCell] = oddParityBit(value) ? kWhite : kBlack;

    for (int y = 0; y < band; ++y) {
        std::uint8_t* row = luma + static_cast<std::ptrdiff_t>(y) * linesize;
        for (int cell = 0; cell < kCells; ++cell)
            std::fill(row + cellLeft(width, cell), row + cellLeft(width, cell + 1), cells[cell]);
    }
}

int readFrameNumber(const std::uint8_t* pixels, int width, int height, int stride,
                    int bytesPerPixel, bool bottomUp)
{
    if (!pixels || width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4)
        || stride < width * bytesPerPixel)
        return -1;
    const LumaView view(pixels, width, height, stride, bytesPerPixel, bottomUp);

    const Rect whole{0, 0, width, height};
    if (auto n = readIn(view, whole))
        return *n;
    const Rect content = contentRect(view);
    if (content == whole)
        return -1;
    return readIn(view, content).value_or(-1);
}

} // namespace vvmaker
