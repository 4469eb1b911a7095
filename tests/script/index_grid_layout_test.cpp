// The SELECT INDEX grid: four by four cells over the video window.

#include <gtest/gtest.h>

#include "script/index_grid_layout.h"

namespace vv {
namespace {

TEST(IndexGridLayout, CellSizeAndOriginFollowTheVideoWindow)
{
    struct Case {
        QRect player;  // twips
        int w, h;      // cell size
        int x0, y0;    // cell 0
    };
    const Case cases[] = {
        // 768 x 576 pixels at the client's origin.
        {QRect(0, 0, 11520, 8640), 1920, 1440, 1520, 1040},
        // Offset windows move the grid with them.
        {QRect(300, 150, 11520, 8640), 1920, 1440, 1820, 1190},
        // 11523 / 6 = 1920.5 goes to the even 1920; the left edge
        // (11523 - 8480) / 2 = 1521.5 goes to 1522.
        {QRect(0, 0, 11523, 8640), 1920, 1440, 1522, 1040},
        // ... and with an odd left of 15, 1536.5 goes to 1536.
        {QRect(15, 0, 11523, 8640), 1920, 1440, 1536, 1040},
        // w = 1922: h = 1441.5 goes to 1442; w = 1918: 1438.5 goes to 1438.
        {QRect(0, 0, 11532, 9000), 1922, 1442, 1522, 1216},
        {QRect(0, 0, 11508, 9000), 1918, 1438, 1518, 1224},
        // A window too small for the grid puts it above and left of itself.
        {QRect(0, 0, 600, 450), 100, 75, -300, -325},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.player.width());
        const QVector<QRect> cells = indexGridCells(c.player, 16);
        ASSERT_EQ(cells.size(), 16);
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(cells[k], QRect(c.x0 + k % 4 * (c.w + 200), c.y0 + k / 4 * (c.h + 200), c.w, c.h)) << k;
        // Fewer pictures take the first cells.
        EXPECT_EQ(indexGridCells(c.player, 6), cells.mid(0, 6));
    }
    EXPECT_TRUE(indexGridCells(QRect(0, 0, 12000, 9000), 0).isEmpty());
}

} // namespace
} // namespace vv
