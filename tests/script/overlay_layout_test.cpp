// Where the INTERACT grid and the NAVIGATE strip put their windows.

#include "script/overlay_layout.h"

#include <gtest/gtest.h>

#include "script/script_entries.h"

namespace vv {
namespace {

TEST(CurrentEntry, IsTheLastEntryStartingAtOrBeforeThePosition)
{
    const QStringList script = {
        PreviousVideoEntry,
        QStringLiteral("000000-000000 JUMP Start of video"),
        QStringLiteral("000100-000100 JUMP at 100"),
        QStringLiteral("000100-000300 LOOP from 100"),
        QStringLiteral("000250-000250 JUMP End of video"),
        NextVideoEntry,
    };
    struct Row {
        std::int32_t position;
        int current;
    } const rows[] = {
        {0, 1},        // PREVIOUS VIDEO reads 0 too, but Start of video comes after it
        {99, 1},
        {100, 3},      // both entries at 100: the later one
        {999998, 4},
        {999999, 5},   // NEXT VIDEO reads 999999
        {-1, 0},       // nothing starts that early
    };
    for (const Row& row : rows)
        EXPECT_EQ(currentEntryIndex(script, row.position), row.current) << row.position;
    EXPECT_EQ(currentEntryIndex({}, 100), 0);
    // A hand-made line without digits starts at 0.
    EXPECT_EQ(currentEntryIndex({PreviousVideoEntry, QStringLiteral("just words")}, 0), 1);
    // The scan stops at the first entry that starts later.
    EXPECT_EQ(currentEntryIndex({QStringLiteral("000500-000500 JUMP "), QStringLiteral("000010-000010 JUMP ")}, 20), 0);
}

TEST(ShownEntries, NineAroundTheCurrentEntryKeptInsideTheList)
{
    struct Row {
        int count, current, first, last;
    } const rows[] = {
        {4, 1, 0, 3},   {9, 8, 0, 8},    {1, 0, 0, 0},
        {10, 0, 0, 8},  {10, 4, 0, 8},   {10, 5, 1, 9},  {10, 9, 1, 9},
        {20, 10, 6, 14}, {20, 15, 11, 19}, {20, 16, 11, 19}, {20, 19, 11, 19},
        {20, 3, 0, 8},
    };
    for (const Row& row : rows) {
        const EntryRange range = shownEntryRange(row.count, row.current);
        EXPECT_EQ(range.first, row.first) << row.count << " " << row.current;
        EXPECT_EQ(range.last, row.last) << row.count << " " << row.current;
    }
    EXPECT_EQ(shownEntryRange(0, 0).count(), 0);
}

TEST(InteractionCaptions, PseudoEntriesByNameOthersByDescription)
{
    EXPECT_EQ(interactionCaption(0, PreviousVideoEntry), QStringLiteral("1. PREVIOUS VIDEO"));
    EXPECT_EQ(interactionCaption(3, NextVideoEntry), QStringLiteral("4. NEXT VIDEO"));
    EXPECT_EQ(interactionCaption(2, QStringLiteral("001250-001875 LOOP Refrain")), QStringLiteral("3. Refrain"));
    EXPECT_EQ(interactionCaption(8, QStringLiteral("000100-000100 JUMP ")), QStringLiteral("9. "));
    EXPECT_EQ(interactionCaption(4, QStringLiteral("short line")), QStringLiteral("5. "));
    // Only the exact pseudo-entries are named.
    EXPECT_EQ(interactionText(QStringLiteral("999999 next video")), QString());
    EXPECT_EQ(interactionToolTip(3), QStringLiteral(" 3"));
}

TEST(InteractionGrid, RowsOfThreeEndAHundredAboveTheBottomTheUnneededBelowIt)
{
    // A 768 x 576 pixel video window; w = (11520 - 500) / 3 rounded = 3673,
    // rows of 390 with 100 between.
    const double lefts[3] = {100, 3673 + 200, 2 * 3673 + 300};
    struct Row {
        int entries, rows;
    } const rows[] = {{0, 1}, {1, 1}, {3, 1}, {4, 2}, {6, 2}, {7, 3}, {9, 3}, {30, 3}};
    for (const Row& row : rows) {
        EXPECT_EQ(interactionRows(row.entries), row.rows) << row.entries;
        const auto cells = interactionGrid(11520, 8640, 390.4, row.entries);
        const double top = 8640 - row.rows * 490;
        for (int k = 0; k < 9; ++k) {
            const CellRect& cell = cells.at(static_cast<std::size_t>(k));
            EXPECT_EQ(cell.left, lefts[k % 3]) << k;
            EXPECT_EQ(cell.top, top + k / 3 * 490) << row.entries << " " << k;
            EXPECT_EQ(cell.width, 3673);
            EXPECT_EQ(cell.height, 390);
        }
    }
}

TEST(NavigationStrip, CentredOnTheCurrentSceneAndKeptInsideTheSixteenPictures)
{
    // 250 frames, 16 scenes: spacing round(15.625) = 16.
    struct Row {
        int mainWidth;
        std::int32_t position;
        int pictures, current, first;
    } const rows[] = {
        {768, 0, 7, 0, 0},      // the beginning: pictures 0..6, the first marked
        {1023, 0, 7, 0, 0},     // seven pictures below 1024 pixels, nine from 1024
        {768, 40, 7, 2, 0},     // round(2.5) = 2: still pushed to the left end
        {768, 128, 7, 8, 5},
        {1024, 128, 9, 8, 4},
        {768, 200, 7, 12, 9},   // round(12.5) = 12; 12 + 3 = 15 still fits
        {768, 216, 7, 14, 9},   // the end: the last seven
        {1024, 216, 9, 14, 7},
        {768, 247, 7, 15, 9},
        {768, 248, 7, 15, 9},   // round(15.5) = 16, past the last picture
        {768, 250, 7, 15, 9},
        {1024, 250, 9, 15, 7},
    };
    for (const Row& row : rows) {
        const NavigationStrip strip = navigationStrip(row.mainWidth, 250, 16, row.position, 11520, 7600);
        EXPECT_EQ(navigationPictureCount(row.mainWidth), row.pictures);
        EXPECT_EQ(strip.pictures, row.pictures) << row.position;
        EXPECT_EQ(strip.current, row.current) << row.position;
        EXPECT_EQ(strip.first, row.first) << row.position;
        EXPECT_GE(strip.current, strip.first);
        EXPECT_LT(strip.current, strip.first + strip.pictures);
    }
}

TEST(NavigationStrip, PicturesStandSideBySideOnTheSlider)
{
    // 11520 / 7 = 1645.7 -> 1646 wide; 1646 x 3 / 4 = 1234.5 -> 1234 (halves to even).
    const NavigationStrip seven = navigationStrip(768, 250, 16, 0, 11520, 7600);
    EXPECT_EQ(seven.width, 1646);
    EXPECT_EQ(seven.height, 1234);
    EXPECT_EQ(seven.top, 7600 - 1234);
    EXPECT_EQ(seven.leftAt(0), 0);
    EXPECT_EQ(seven.leftAt(6), 6 * 1646);
    EXPECT_EQ(seven.sceneAt(6), 6);

    // 15360 / 9 = 1706.7 -> 1707; 1280.25 -> 1280.
    const NavigationStrip nine = navigationStrip(1024, 250, 16, 250, 15360, 10935);
    EXPECT_EQ(nine.width, 1707);
    EXPECT_EQ(nine.height, 1280);
    EXPECT_EQ(nine.top, 10935 - 1280);
    EXPECT_EQ(nine.sceneAt(0), 7);
    EXPECT_EQ(nine.sceneAt(8), 15);
}

TEST(NavigationStrip, VideosShorterThanTheScenesAndShortScriptsOfScenes)
{
    // Five frames: a spacing of 0; each frame is its own scene.
    const NavigationStrip tiny = navigationStrip(768, 5, 16, 3, 11520, 7600);
    EXPECT_EQ(tiny.current, 3);
    EXPECT_EQ(tiny.first, 0);
    // No video length at all.
    const NavigationStrip empty = navigationStrip(768, 0, 16, 0, 11520, 7600);
    EXPECT_EQ(empty.current, 0);
    EXPECT_EQ(empty.first, 0);
    // Fewer scene pictures than the strip is long.
    const NavigationStrip few = navigationStrip(1024, 250, 4, 250, 15360, 10935);
    EXPECT_EQ(few.pictures, 4);
    EXPECT_EQ(few.first, 0);
    EXPECT_EQ(few.current, 3);
    EXPECT_EQ(navigationStrip(768, 250, 0, 0, 11520, 7600).pictures, 0);
}

} // namespace
} // namespace vv
