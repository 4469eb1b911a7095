#include "script/index_grid_layout.h"

#include "app/numbers.h"

namespace vv {

QVector<QRect> indexGridCells(const QRect& playerTwips, int sceneCount)
{
    QVector<QRect> cells;
    if (sceneCount <= 0)
        return cells;
    const double playerWidth = playerTwips.width();
    const double playerHeight = playerTwips.height();
    const std::int64_t w = roundEven(playerWidth / 6);
    const std::int64_t h = roundEven(static_cast<double>(w) * 3 / 4);
    const std::int64_t x0 = roundEven((playerWidth - static_cast<double>(4 * w + 800)) / 2 + playerTwips.left());
    const std::int64_t y0 = roundEven((playerHeight - static_cast<double>(4 * h + 800)) / 2 + playerTwips.top());
    cells.reserve(sceneCount);
    for (int k = 0; k < sceneCount; ++k) {
        const int r = k / 4;
        const int c = k % 4;
        cells.append(QRect(static_cast<int>(x0 + c * w + c * 200), static_cast<int>(y0 + r * h + r * 200),
                           static_cast<int>(w), static_cast<int>(h)));
    }
    return cells;
}

} // namespace vv
