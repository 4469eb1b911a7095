// Where the INTERACT grid, the NAVIGATE strip, the SELECT INDEX grid and the position slider put things.
#include <array>
#include <gtest/gtest.h>

#include "script/index_grid_layout.h"
#include "script/overlay_layout.h"
#include "script/script_entries.h"
#include "script/slider_geometry.h"

namespace vv {
namespace {

TEST(CurrentEntry, IsTheLastEntryStartingAtOrBeforeThePositionAndTheNineAroundItAreShown)
{
    const QStringList script = {PreviousVideoEntry, "000000-000000 JUMP Start of video", "000100-000100 JUMP at 100",
                                "000100-000300 LOOP from 100", "000250-000250 JUMP End of video", NextVideoEntry};
    // PREVIOUS VIDEO reads 0 too, but Start of video comes after it; of both entries at 100 the later
    // one; NEXT VIDEO reads 999999; nothing starts at -1.
    for (const auto& [position, current] : {std::pair{0, 1}, {99, 1}, {100, 3}, {999998, 4}, {999999, 5}, {-1, 0}})
        EXPECT_EQ(currentEntryIndex(script, position), current) << position;
    EXPECT_EQ(currentEntryIndex({}, 100), 0);
    // A hand-made line without digits starts at 0; the scan stops at the first entry that starts later.
    EXPECT_EQ(currentEntryIndex({PreviousVideoEntry, QStringLiteral("just words")}, 0), 1);
    EXPECT_EQ(currentEntryIndex({QStringLiteral("000500-000500 JUMP "), QStringLiteral("000010-000010 JUMP ")}, 20), 0);

    // count, current -> first, last
    for (const auto& [count, current, first, last] :
         std::initializer_list<std::array<int, 4>>{{4, 1, 0, 3}, {9, 8, 0, 8}, {10, 4, 0, 8}, {10, 5, 1, 9},
                                                   {20, 10, 6, 14}, {20, 15, 11, 19}, {20, 16, 11, 19}}) {
        const EntryRange range = shownEntryRange(count, current);
        EXPECT_EQ(std::pair(range.first, range.last), std::pair(first, last)) << count << " " << current;
    }
    EXPECT_EQ(shownEntryRange(0, 0).count(), 0);
}

TEST(InteractionGrid, RowsOfThreeEndAHundredAboveTheBottomTheUnneededBelowIt)
{
    // A 768 x 576 pixel video window; w = (11520 - 500) / 3 rounded = 3673,
    // rows of 390 with 100 between.
    const double lefts[3] = {100, 3673 + 200, 2 * 3673 + 300};
    for (const auto& [entries, rows] : {std::pair{0, 1}, {1, 1}, {3, 1}, {4, 2}, {6, 2}, {7, 3}, {9, 3}, {30, 3}}) {
        EXPECT_EQ(interactionRows(entries), rows) << entries;
        const auto cells = interactionGrid(11520, 8640, 390.4, entries);
        for (std::size_t k = 0; k < 9; ++k) {
            const CellRect& c = cells.at(k);
            EXPECT_EQ(std::vector({c.left, c.top, c.width, c.height}),
                      std::vector<double>({lefts[k % 3], 8640.0 - rows * 490 + k / 3 * 490, 3673, 390}))
                << entries << " " << k;
        }
    }
}

TEST(NavigationStrip, CentredOnTheCurrentSceneInsideThePicturesAndStandingOnTheSlider)
{
    // 250 frames, 16 scenes: spacing round(15.625) = 16. Seven pictures below 1024 pixels on an
    // 11520-twip slider (1645.7 -> 1646 wide, 1234.5 -> 1234 high), nine from 1024 on a 15360-twip one
    // (1706.7 -> 1707, 1280.25 -> 1280).
    // main window width, frames, scenes, position -> pictures, current, first
    const std::array<int, 7> rows[] = {
        // The beginning: pictures 0..6, the first marked; round(2.5) = 2: still pushed to the left end.
        {1023, 250, 16, 0, 7, 0, 0}, {768, 250, 16, 40, 7, 2, 0}, {1024, 250, 16, 128, 9, 8, 4},
        // round(12.5) = 12; 12 + 3 = 15 still fits; the end: the last nine; round(15.5) = 16, past the
        // last picture.
        {768, 250, 16, 200, 7, 12, 9}, {1024, 250, 16, 216, 9, 14, 7}, {768, 250, 16, 248, 7, 15, 9},
        // Five frames: spacing 0, each frame its own scene; no video length at all; fewer scene
        // pictures than the strip is long; none.
        {768, 5, 16, 3, 7, 3, 0}, {768, 0, 16, 0, 7, 0, 0}, {1024, 250, 4, 250, 4, 3, 0}, {768, 250, 0, 0, 0, 0, 0},
    };
    for (const auto& [mainWidth, frames, scenes, position, pictures, current, first] : rows) {
        SCOPED_TRACE(testing::Message() << mainWidth << " " << frames << " " << position);
        const bool wide = mainWidth >= 1024;
        const double sliderTop = wide ? 10935 : 7600;
        const NavigationStrip strip =
            navigationStrip(mainWidth, frames, scenes, position, wide ? 15360 : 11520, sliderTop);
        EXPECT_EQ(std::vector({strip.pictures, strip.current, strip.first}),
                  std::vector({pictures, current, first}));
        if (scenes == 16) {
            EXPECT_EQ(std::tuple(strip.width, strip.height, strip.top),
                      std::tuple(wide ? 1707 : 1646, wide ? 1280 : 1234, sliderTop - (wide ? 1280 : 1234)));
        }
    }
}

TEST(IndexGridLayout, CellSizeAndOriginFollowTheVideoWindow)
{
    // The video window in twips -> the cell size w x h and the place x0, y0 of cell 0. Offset windows
    // move the grid with them. 11523 / 6 = 1920.5 goes to the even 1920; the left edge
    // (11523 - 8480) / 2 = 1521.5 goes to 1522, and with an odd left of 15, 1536.5 goes to 1536.
    // w = 1922: h = 1441.5 goes to 1442; w = 1918: 1438.5 goes to 1438. A window too small for the
    // grid puts it above and left of itself.
    for (const auto& [player, w, h, x0, y0] : std::initializer_list<std::tuple<QRect, int, int, int, int>>{
             {{300, 150, 11520, 8640}, 1920, 1440, 1820, 1190}, {{0, 0, 11523, 8640}, 1920, 1440, 1522, 1040},
             {{15, 0, 11523, 8640}, 1920, 1440, 1536, 1040}, {{0, 0, 11532, 9000}, 1922, 1442, 1522, 1216},
             {{0, 0, 11508, 9000}, 1918, 1438, 1518, 1224}, {{0, 0, 600, 450}, 100, 75, -300, -325}}) {
        SCOPED_TRACE(player.width());
        const QVector<QRect> cells = indexGridCells(player, 16);
        ASSERT_EQ(cells.size(), 16);
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(cells[k], QRect(x0 + k % 4 * (w + 200), y0 + k / 4 * (h + 200), w, h)) << k;
        EXPECT_EQ(indexGridCells(player, 6), cells.mid(0, 6));  // fewer pictures take the first cells
    }
    EXPECT_TRUE(indexGridCells(QRect(0, 0, 12000, 9000), 0).isEmpty());
}

// The position slider's arithmetic: fill, the frame under the mouse, and the
// places of the IN and OUT buttons.
constexpr double Button = 510;

TEST(Slider, WalkingTheBarSkipsNoFrameAndTheMarkButtonsStandAtTheirFills)
{
    // Along the bar the frames never go back and never skip a frame wider
    // than one twip; each whole twip falls into the frame whose fill it ends
    // (the point under the mouse is rounded down).
    for (const std::int32_t frames : {7, 250, 299}) {
        std::int64_t previous = 0;
        for (int x = 0; x <= 11420; ++x) {
            const std::int64_t f = *sliderFrameAt(x, 11420, frames);
            ASSERT_TRUE(f >= previous && f <= previous + 1) << x;
            ASSERT_LE(sliderFillWidth(static_cast<double>(f), 11420, frames), x + 1e-9);
            previous = f;
        }
        EXPECT_EQ(previous, frames);
    }
    // Dragged past either end the frame goes beyond the video (the seek clamps).
    // Several frames a twip; no video or no bar: the press does nothing.
    for (const auto& [x, bar, frames, frame] :
         {std::tuple{9000.0, 6000.0, 250, 375}, {-15.0, 6000.0, 250, -1}, {15.0, 6000.0, 100000, 250},
          {100.0, 6000.0, 0, -9}, {100.0, 0.0, 250, -9}})
        EXPECT_EQ(sliderFrameAt(x, bar, frames).value_or(-9), frame) << x << " " << bar << " " << frames;
    EXPECT_EQ(sliderFillWidth(100, 6000, 0), 0);  // nothing loaded

    // IN stands at the end of its fill inside the bar, OUT at the end of its fill and never on the IN
    // button.
    // A fill shorter than the button, and one past the bar, still leave the
    // button on the bar.
    for (const auto& [fill, left] : {std::pair{0, 0}, {300, 0}, {3000, 2490}, {6000, 5490}, {7000, 5490}})
        EXPECT_EQ(placeInButton(fill, 6000, Button), left) << fill;
    // fills of IN and OUT -> the lefts of IN and OUT: far apart; OUT shortly after IN: directly right of
    // it; both on one frame; touching edges; just clear; both at the very beginning; IN near the right
    // end: IN moves left so both fit; both at the end; OUT before IN stays where it is.
    for (const auto& [inFill, outFill, inLeft, outLeft] : std::initializer_list<std::array<double, 4>>{
             {3000, 5000, 2490, 4490}, {3000, 3200, 2490, 3000}, {3000, 3000, 2490, 3000},
             {3000, 3510, 2490, 3000}, {3000, 3511, 2490, 3001}, {0, 0, 0, 510}, {5900, 5950, 4980, 5490},
             {6000, 6000, 4980, 5490}, {3000, 1500, 2490, 990}}) {
        const MarkButtonPlaces at = placeOutButton(outFill, 6000, placeInButton(inFill, 6000, Button), Button);
        EXPECT_EQ(std::pair(at.inLeft, at.outLeft), std::pair(inLeft, outLeft)) << inFill << " " << outFill;
    }
}

} // namespace
} // namespace vv
