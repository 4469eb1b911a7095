#include "control/panel_layout.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

struct LayoutCase {
    float width;
    PanelLayout layout;
    int x;            // left of the transport and function groups
    int keypadLeft;   // -1: keypad left untouched
    int markingLeft;  // -1: marking group left untouched
};

TEST(PanelLayout, ThresholdsAndCentring)
{
    const LayoutCase cases[] = {
        {1, PanelLayout::Narrow, -2917, -1, -1},
        {7000, PanelLayout::Narrow, 582, -1, -1},      // 582.5 -> even
        {7395, PanelLayout::Narrow, 780, -1, -1},      // 493 pixels
        {7409, PanelLayout::Narrow, 787, -1, -1},      // one twip short of the keypad
        {7410, PanelLayout::Middle, 0, 5835, -1},      // W1 + W3 exactly
        {9000, PanelLayout::Middle, 795, 6630, -1},
        {11730, PanelLayout::Middle, 2160, 7995, -1},  // 782 pixels
        {11744, PanelLayout::Middle, 2167, 8002, -1},
        {11745, PanelLayout::Wide, 0, 5835, 7410},     // 783 pixels: all four
        {11760, PanelLayout::Wide, 8, 5843, 7418},     // 7.5 -> 8
        {11790, PanelLayout::Wide, 22, 5857, 7432},    // 22.5 -> 22
        {15360, PanelLayout::Wide, 1808, 7643, 9218},  // 1024 pixels: 1807.5 -> 1808
    };
    const auto groups = designPanelGroups();
    for (const auto& c : cases) {
        const PanelPlacement p = layoutPanel(c.width, groups);
        EXPECT_EQ(p.layout, c.layout) << c.width;
        ASSERT_TRUE(p.groups[0].left && p.groups[1].left) << c.width;
        EXPECT_EQ(*p.groups[0].left, c.x) << c.width;
        EXPECT_EQ(*p.groups[1].left, c.x) << c.width;
        EXPECT_EQ(p.groups[0].visible, std::optional<bool>(true));
        EXPECT_EQ(p.groups[1].visible, std::optional<bool>(true));
        // Functions under transport, the panel two rows high.
        EXPECT_EQ(p.groups[1].top, std::optional<float>(570));
        EXPECT_EQ(p.panelHeight, std::optional<float>(1140));
        // Only the functions group moves vertically.
        EXPECT_FALSE(p.groups[0].top || p.groups[2].top || p.groups[3].top);

        EXPECT_EQ(p.groups[2].visible, std::optional<bool>(c.layout != PanelLayout::Narrow));
        EXPECT_EQ(p.groups[2].left.value_or(-1), c.keypadLeft) << c.width;
        EXPECT_EQ(p.groups[3].left.value_or(-1), c.markingLeft) << c.width;
        if (c.layout == PanelLayout::Narrow)
            EXPECT_FALSE(p.groups[3].visible) << "the marking group is not touched";
        else
            EXPECT_EQ(p.groups[3].visible, std::optional<bool>(c.layout == PanelLayout::Wide));
        // The groups in use give the panel's width.
        const float used = c.layout == PanelLayout::Narrow ? 5835 : c.layout == PanelLayout::Middle ? 7410 : 11745;
        EXPECT_EQ(p.groupsWidth, std::optional<float>(used)) << c.width;
    }
}

TEST(PanelLayout, WidthBelowOneChangesNothing)
{
    for (float w : {0.0f, 0.5f, -300.0f}) {
        const PanelPlacement p = layoutPanel(w, designPanelGroups());
        EXPECT_EQ(p.layout, PanelLayout::Unchanged);
        EXPECT_FALSE(p.panelHeight);
        for (const auto& g : p.groups)
            EXPECT_FALSE(g.left || g.top || g.visible);
    }
}

TEST(PanelLayout, GroupsFollowTheirNeighboursMovedFromTheDesign)
{
    auto groups = designPanelGroups();
    groups[0].top = 15;       // functions stay under transport
    groups[1].width = 6000;   // functions wider than transport: the keypad follows them
    const PanelPlacement p = layoutPanel(11745, groups);
    EXPECT_EQ(p.groups[1].top, std::optional<float>(585));
    EXPECT_EQ(p.groups[2].left, std::optional<int>(6000));
    EXPECT_EQ(p.groups[3].left, std::optional<int>(7575));
}

} // namespace
} // namespace vv
