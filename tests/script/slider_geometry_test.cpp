// The position slider's arithmetic: fill, the frame under the mouse, and the
// places of the IN and OUT buttons.

#include "script/slider_geometry.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

constexpr double Button = 510;

TEST(SliderFrame, FillAndFrameAreInverseAndWalkingTheBarSkipsNoFrame)
{
    for (const std::int32_t frames : {1, 7, 250, 299, 4321, 100000, 999999}) {
        for (const double bar : {1.0, 6000.0, 11420.0}) {
            for (std::int32_t f = 0; f <= frames; f += 1 + frames / 97)
                ASSERT_EQ(sliderFrameAt(sliderFillWidth(f, bar, frames), bar, frames), f) << frames << " " << bar;
        }
    }
    // Along the bar the frames never go back and never skip a frame wider
    // than one twip; each whole twip falls into the frame whose fill it ends
    // (the point under the mouse is rounded down).
    for (const std::int32_t frames : {7, 250, 299}) {
        std::int64_t previous = 0;
        for (int x = 0; x <= 11420; ++x) {
            const std::int64_t f = *sliderFrameAt(x, 11420, frames);
            ASSERT_GE(f, previous);
            ASSERT_LE(f, previous + 1);
            ASSERT_LE(sliderFillWidth(static_cast<double>(f), 11420, frames), x + 1e-9);
            previous = f;
        }
        EXPECT_EQ(previous, frames);
    }
    // Dragged past either end the frame goes beyond the video (the seek clamps).
    EXPECT_EQ(sliderFrameAt(9000, 6000, 250), 375);
    EXPECT_EQ(sliderFrameAt(-15, 6000, 250), -1);
    EXPECT_EQ(sliderFrameAt(15, 6000, 100000), 250);  // several frames per twip
    EXPECT_FALSE(sliderFrameAt(100, 6000, 0));         // no video: the press does nothing
    EXPECT_FALSE(sliderFrameAt(100, 0, 250));
    EXPECT_EQ(sliderFillWidth(100, 6000, 0), 0);       // nothing loaded
}

TEST(MarkButtons, InStandsAtTheEndOfTheFillInsideTheBar)
{
    struct Row {
        double fill, bar, left;
    } const rows[] = {
        {0, 6000, 0},       // marked at the very beginning
        {300, 6000, 0},     // fill shorter than the button
        {3000, 6000, 2490},
        {6000, 6000, 5490},
        {7000, 6000, 5490}, // a fill past the bar still leaves the button on it
    };
    for (const Row& row : rows)
        EXPECT_EQ(placeInButton(row.fill, row.bar, Button), row.left) << row.fill;
}

TEST(MarkButtons, OutStandsAtTheEndOfTheFillAndNeverOnTheInButton)
{
    struct Row {
        const char* what;
        double inFill, outFill;
        double inLeft, outLeft;
    } const rows[] = {
        {"far apart", 3000, 5000, 2490, 4490},
        {"OUT shortly after IN: directly right of it", 3000, 3200, 2490, 3000},
        {"both on one frame", 3000, 3000, 2490, 3000},
        {"touching edges", 3000, 3510, 2490, 3000},
        {"just clear", 3000, 3511, 2490, 3001},
        {"both at the very beginning", 0, 0, 0, 510},
        {"IN near the right end: IN moves left so both fit", 5900, 5950, 4980, 5490},
        {"IN at the end, OUT at the end", 6000, 6000, 4980, 5490},
        {"OUT before IN stays where it is", 3000, 1500, 2490, 990},
    };
    for (const Row& row : rows) {
        const double inLeft = placeInButton(row.inFill, 6000, Button);
        const MarkButtonPlaces places = placeOutButton(row.outFill, 6000, inLeft, Button);
        EXPECT_EQ(places.inLeft, row.inLeft) << row.what;
        EXPECT_EQ(places.outLeft, row.outLeft) << row.what;
        EXPECT_GE(places.inLeft, 0) << row.what;
        EXPECT_LE(places.outLeft + Button, 6000) << row.what;
        if (places.outLeft >= places.inLeft) {
            EXPECT_GE(places.outLeft, places.inLeft + Button) << row.what << ": overlap";
        }
    }
}

} // namespace
} // namespace vv
