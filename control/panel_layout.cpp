#include "control/panel_layout.h"

#include "app/numbers.h"

namespace vv {

std::array<PanelGroup, 4> designPanelGroups()
{
    return {{{5835, 570, 0}, {5835, 570, 0}, {1575, 1125, 0}, {4335, 1170, 0}}};
}

PanelPlacement layoutPanel(float W, const std::array<PanelGroup, 4>& groups)
{
    PanelPlacement placement;
    if (!(W >= 1))
        return placement;
    const float W1 = groups[0].width;
    const float W3 = groups[2].width;
    const float W4 = groups[3].width;

    float used;
    if (W <= W1 + W3 - 1) {
        placement.layout = PanelLayout::Narrow;
        used = W1;
    } else if (W <= W1 + W3 + W4 - 1) {
        placement.layout = PanelLayout::Middle;
        used = W1 + W3;
    } else {
        placement.layout = PanelLayout::Wide;
        used = W1 + W3 + W4;
    }
    const int x = static_cast<int>(roundEven(static_cast<double>((W - used) / 2.0f)));

    auto& g = placement.groups;
    g[0].left = x;
    g[0].visible = true;
    g[1].left = x;
    g[1].top = groups[0].top + groups[0].height;
    g[1].visible = true;
    switch (placement.layout) {
    case PanelLayout::Narrow:
        g[2].visible = false;
        break;
    case PanelLayout::Middle:
        g[2].left = static_cast<int>(roundEven(x + static_cast<double>(W1)));
        g[2].visible = true;
        g[3].visible = false;
        break;
    case PanelLayout::Wide:
        // The keypad follows the function group here, the marking group the
        // keypad.
        g[2].left = static_cast<int>(roundEven(x + static_cast<double>(groups[1].width)));
        g[2].visible = true;
        g[3].left = static_cast<int>(roundEven(*g[2].left + static_cast<double>(W3)));
        g[3].visible = true;
        break;
    case PanelLayout::Unchanged:
        break;
    }
    placement.panelHeight = groups[0].height + groups[1].height;
    placement.groupsWidth = used;
    return placement;
}

} // namespace vv
