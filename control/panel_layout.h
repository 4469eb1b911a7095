#pragma once
// The control panel's layout for a main window width: two, three or all
// four button groups side by side, centred.

#include <array>
#include <optional>

namespace vv {

// Group 0 transport (PictureControls1), 1 functions (PictureControls2),
// 2 scene index keypad (PictureControls3), 3 range marking
// (PictureControls4). Sizes in twips.
struct PanelGroup {
    float width = 0;
    float height = 0;
    float top = 0;   // present top edge inside the panel
};

// The design sizes: 5835 x 570, 5835 x 570, 1575 x 1125, 4335 x 1170.
std::array<PanelGroup, 4> designPanelGroups();

enum class PanelLayout {
    Unchanged,   // width below 1: nothing is touched
    Narrow,      // transport and functions only
    Middle,      // plus the keypad
    Wide,        // all four groups
};

// What happens to one group. A field without a value leaves the group's
// present value as it is.
struct GroupPlacement {
    std::optional<int> left;
    std::optional<float> top;
    std::optional<bool> visible;
};

struct PanelPlacement {
    PanelLayout layout = PanelLayout::Unchanged;
    std::array<GroupPlacement, 4> groups;
    // Height of the panel (functions under transport); none when Unchanged.
    std::optional<float> panelHeight;
    // Width of the groups in use (the panel's width before it is stretched
    // over the main window's inner width); none when Unchanged.
    std::optional<float> groupsWidth;
};

// With W1, W3, W4 the widths of groups 0, 2 and 3:
// - W < 1: Unchanged.
// - W <= W1 + W3 - 1: Narrow. x = (W - W1) / 2 rounded half to even; group 0
//   at x, group 1 at x under group 0 (top = group 0's top + its height),
//   group 2 hidden, group 3 untouched.
// - W <= W1 + W3 + W4 - 1: Middle. x = (W - (W1 + W3)) / 2; groups 0 and 1 as
//   above, group 2 shown at x + W1, group 3 hidden.
// - otherwise Wide. x = (W - (W1 + W3 + W4)) / 2; groups 0 and 1 as above,
//   group 2 shown to the right of group 1 (x + W2), group 3 shown to the
//   right of group 2.
// Groups 0 and 1 are shown. The tops of groups 0, 2 and 3 are not changed.
// The panel height is the height of group 0 plus that of group 1.
// With the design sizes the thresholds are 7410 and 11745 twips.
PanelPlacement layoutPanel(float mainWindowWidth, const std::array<PanelGroup, 4>& groups);

} // namespace vv
