#include "control/panel_layout.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(PanelLayout, ThresholdsAndCentring)
{
    struct Case {
        float width;
        PanelLayout layout;
        int x;            // left of the transport and function groups
        int keypadLeft;   // -1: keypad left untouched
        int markingLeft;  // -1: marking group left untouched
    } const cases[] = {
        {7000, PanelLayout::Narrow, 582, -1, -1},      // 582.5 -> even
        {7409, PanelLayout::Narrow, 787, -1, -1},      // one twip short of the keypad
        {7410, PanelLayout::Middle, 0, 5835, -1},      // W1 + W3 exactly
        {11744, PanelLayout::Middle, 2167, 8002, -1},
        {11745, PanelLayout::Wide, 0, 5835, 7410},     // 783 pixels: all four
        {11760, PanelLayout::Wide, 8, 5843, 7418},     // 7.5 -> 8
        {15360, PanelLayout::Wide, 1808, 7643, 9218},  // 1024 pixels: 1807.5 -> 1808
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const PanelPlacement p = layoutPanel(c.width, designPanelGroups());
        EXPECT_EQ(p.layout, c.layout);
        for (int g : {0, 1}) {
            EXPECT_EQ(p.groups[g].left, std::optional<int>(c.x));
            EXPECT_EQ(p.groups[g].visible, std::optional<bool>(true));
        }
        // Functions under transport, the panel two rows high; only the
        // functions group moves vertically.
        EXPECT_EQ(p.groups[1].top, std::optional<float>(570));
        EXPECT_EQ(p.panelHeight, std::optional<float>(1140));
        EXPECT_FALSE(p.groups[0].top || p.groups[2].top || p.groups[3].top);

        EXPECT_EQ(p.groups[2].visible, std::optional<bool>(c.layout != PanelLayout::Narrow));
        EXPECT_EQ(p.groups[2].left.value_or(-1), c.keypadLeft);
        EXPECT_EQ(p.groups[3].left.value_or(-1), c.markingLeft);
        if (c.layout == PanelLayout::Narrow)
            EXPECT_FALSE(p.groups[3].visible) << "the marking group is not touched";
        else
            EXPECT_EQ(p.groups[3].visible, std::optional<bool>(c.layout == PanelLayout::Wide));
        const float used = c.layout == PanelLayout::Narrow ? 5835 : c.layout == PanelLayout::Middle ? 7410 : 11745;
        EXPECT_EQ(p.groupsWidth, std::optional<float>(used));
    }

    // A width below one changes nothing.
    for (float w : {0.5f, -300.0f}) {
        const PanelPlacement p = layoutPanel(w, designPanelGroups());
        EXPECT_EQ(p.layout, PanelLayout::Unchanged);
        EXPECT_FALSE(p.panelHeight);
        for (const auto& g : p.groups)
            EXPECT_FALSE(g.left || g.top || g.visible);
    }

    // Groups moved from the design: the functions stay under transport, and
    // functions wider than transport push the keypad along.
    auto groups = designPanelGroups();
    groups[0].top = 15;
    groups[1].width = 6000;
    const PanelPlacement p = layoutPanel(11745, groups);
    EXPECT_EQ(p.groups[1].top, std::optional<float>(585));
    EXPECT_EQ(p.groups[2].left, std::optional<int>(6000));
    EXPECT_EQ(p.groups[3].left, std::optional<int>(7575));
}

} // namespace
} // namespace vv
