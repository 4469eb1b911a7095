// The rules of the control panel: crazy-vision motions, the key map, the panel layout and the speed.
#include <gtest/gtest.h>
#include <limits>

#include "control/crazy_motion.h"
#include "control/keymap.h"
#include "control/panel_layout.h"
#include "control/speed.h"
#include "control/virtual_keys.h"

namespace vv {
namespace {

// The motions of crazy vision, drawn from scripted random numbers: a zoom drift of `count` steps from
// `from` on by `step`, or `moves` pans by dx, dy.
std::vector<CrazyStep> drift(int from, int step, int count)
{
    std::vector<CrazyStep> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back({0, 0, static_cast<std::int16_t>(from + i * step)});
    return steps;
}

std::vector<CrazyStep> pan(std::int32_t dx, std::int32_t dy, std::size_t moves)
{
    return std::vector<CrazyStep>(moves, CrazyStep{dx, dy, std::nullopt});
}

TEST(CrazyMotionTest, DriftsAndPansFollowTheirDraws)
{
    using Kind = CrazyMotion::Kind;
    constexpr float Largest = 0.99999994f;  // the largest float below 1
    // name, the picture's zoom at the motion's start, the draws (k, n, d for a drift; k, n, dx, dy for a
    // pan) -> the motion
    const std::tuple<const char*, std::int16_t, std::vector<float>, Kind, std::vector<CrazyStep>> cases[] = {
        // k = 1, n = 6, d = 151: the longest drift, 26 steps inwards.
        {"longest inwards", 150, {0.0f, 0.0f, 0.0f}, Kind::ZoomDrift, drift(150, 6, 26)},
        {"no change: one step", 320, {0.1f, 0.5f, 0.504f}, Kind::ZoomDrift, drift(320, 0, 1)},
        // Above 200 percent an inward drift is turned outwards; at 200 it may still go inwards; an
        // outward one stays outward.
        {"inwards at 200", 200, {0.0f, 0.95f, 0.0f}, Kind::ZoomDrift, drift(200, 15, 11)},
        {"turned outwards at 201", 201, {0.0f, 0.95f, 0.0f}, Kind::ZoomDrift, drift(201, -15, 11)},
        {"outwards above 200", 500, {0.0f, 0.4f, 0.9f}, Kind::ZoomDrift, drift(500, -10, 12)},
        // k = 4 would pan, so k comes from a small draw; n = 15 and d = -148 are the ends of their ranges.
        {"drift at the ends", 1000, {0.49f, Largest, Largest}, Kind::ZoomDrift, drift(1000, -15, 10)},
        // k = 3, n = 11: i = 1, 12, ..., 100 is ten moves; dx from Int(0), dy from Int(5.94).
        {"most moves", 250, {0.5f, 0.0f, 0.0f, 0.99f}, Kind::Pan, pan(200, -300, 10)},
        {"pan at the ends", 250, {Largest, Largest, Largest, 0.0f}, Kind::Pan, pan(-300, 200, 5)},
        // 1.0 and negative values are no uniform draws: pinned to the nearest end of each range.
        {"draws outside the unit range", 250, {1.0f, 1.0f, 1.0f, -0.5f}, Kind::Pan, pan(-300, 200, 5)},
    };
    for (const auto& [name, zoom, draws, kind, steps] : cases) {
        SCOPED_TRACE(name);
        std::size_t used = 0;  // more draws than scripted get 0 and fail the count
        CrazyMotionGenerator generator([&] { return used < draws.size() ? draws[used++] : (++used, 0.0f); });
        const CrazyMotion motion = generator.next(zoom);
        EXPECT_EQ(std::tuple(motion.kind, motion.steps == steps, used), std::tuple(kind, true, draws.size()));
    }
}

TEST(KeyMap, LookupZoomStepsTenthsAndSceneWindowsOfTheDigits)
{
    for (int code : {0, vk::OemPlus, vk::Left, int('M'), vk::Space, vk::Numpad0, vk::Numpad0 + 9, vk::F1 + 1, -1})
        EXPECT_EQ(lookupKey(code), nullptr) << code;
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(lookupKey(vk::Digit0 + d)->digit, d);
    // Without NumLock the pad's 5 and 7 arrive as Clear and Home and zoom
    // in; with it they zoom out / move the other way.
    for (const auto& [code, zoomDelta, d] : {std::tuple{vk::Clear, 1, 0}, {vk::Numpad0 + 5, -1, 0}, {vk::Home, 1, 50},
                                             {vk::Numpad0 + 7, 1, -50}}) {
        const KeyRow* row = lookupKey(code);
        EXPECT_EQ(std::tuple(row->zoomDelta, row->dx, row->dy), std::tuple(zoomDelta, d, d)) << code;
    }

    EXPECT_EQ(zoomRequest(32765, 5), 32767);  // pinned, not wrapped
    EXPECT_EQ(zoomRequest(-32766, -5), -32768);
    // duration, digit -> target; halves go to even
    for (const auto& [duration, digit, target] :
         {std::tuple{1005, 5, 502}, {1015, 5, 508}, {999999, 9, 899999}, {2000000000, 9, 1800000000}})
        EXPECT_EQ(tenthsTarget(duration, digit), target) << duration << " x " << digit;

    // In the navigation strip the digits address scene windows 0 to 17.
    const std::tuple<int, int, int> windows[] = {{0, 1, 0}, {9, 9, 17}, {10, 9, -1}, {0, 0, -1}, {-1, 1, -1}};
    for (const auto& [first, digit, window] : windows)
        EXPECT_EQ(navigationSceneWindow(first, digit), window) << first << " " << digit;
}

TEST(PanelLayout, ThresholdsAndCentring)
{
    // The panel width -> the layout, the left of the transport and
    // function groups, of the keypad and of the marking group (-1: left
    // untouched). 582.5 goes to the even 582; 7409 is one twip short of the
    // keypad, 7410 W1 + W3 exactly; 11745 (783 pixels) shows all four; 7.5
    // goes to 8; 1024 pixels: 1807.5 goes to 1808.
    for (const auto& [width, layout, x, keypadLeft, markingLeft] :
         std::initializer_list<std::tuple<float, PanelLayout, int, int, int>>{
             {7000, PanelLayout::Narrow, 582, -1, -1}, {7409, PanelLayout::Narrow, 787, -1, -1},
             {7410, PanelLayout::Middle, 0, 5835, -1}, {11744, PanelLayout::Middle, 2167, 8002, -1},
             {11745, PanelLayout::Wide, 0, 5835, 7410}, {11760, PanelLayout::Wide, 8, 5843, 7418},
             {15360, PanelLayout::Wide, 1808, 7643, 9218}}) {
        SCOPED_TRACE(width);
        const PanelPlacement p = layoutPanel(width, designPanelGroups());
        EXPECT_EQ(p.layout, layout);
        const bool narrow = layout == PanelLayout::Narrow;
        EXPECT_EQ(std::tuple(p.groups[0].left, p.groups[1].left, p.groups[0].visible, p.groups[1].visible),
                  std::tuple(x, x, true, true));
        // Functions under transport, the panel two rows high; only the functions group moves vertically.
        EXPECT_EQ(std::tuple(p.groups[1].top, p.panelHeight), std::tuple(570.0f, 1140.0f));
        EXPECT_FALSE(p.groups[0].top || p.groups[2].top || p.groups[3].top);
        EXPECT_EQ(std::tuple(p.groups[2].visible, p.groups[2].left.value_or(-1), p.groups[3].left.value_or(-1)),
                  std::tuple(!narrow, keypadLeft, markingLeft));
        // The marking group is not touched in the narrow layout.
        const auto marking = narrow ? std::nullopt : std::optional(layout == PanelLayout::Wide);
        const float used = narrow ? 5835 : layout == PanelLayout::Middle ? 7410 : 11745;
        EXPECT_EQ(std::tuple(p.groups[3].visible, p.groupsWidth), std::tuple(marking, used));
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

TEST(Speed, ClampsRoundsAndNamesTheRateAndStepsWalkTheRangeInTenths)
{
    // requested -> rate, text: below and above the range; halves to even; not a number: normal speed.
    for (const auto& [requested, rate, text] :
         {std::tuple{0.5f, 0.5f, "0.5"}, {0.05f, 0.1f, "0.1"}, {2.1f, 2.0f, "2.0"}, {1.25f, 1.2f, "1.2"},
          {0.75f, 0.8f, "0.8"}, {std::numeric_limits<float>::quiet_NaN(), 1.0f, "1.0"}}) {
        const SpeedSetting s = speedSetting(requested);
        EXPECT_FLOAT_EQ(s.rate, rate) << requested;
        EXPECT_EQ(s.text, QStringLiteral("SPEED %1 x").arg(QLatin1String(text))) << requested;
    }

    // Faster from normal speed to the top and beyond, then slower to the
    // bottom and beyond: every tenth is shown once, no drift.
    double rate = 1.0;
    const auto step = [&rate](double by) {
        const SpeedSetting s = speedSetting(steppedRate(rate, by));
        rate = s.rate;
        return s.text;
    };
    const auto text = [](int tenths) { return QStringLiteral("SPEED %1.%2 x").arg(tenths / 10).arg(tenths % 10); };
    for (int tenths = 11; tenths <= 22; ++tenths)
        EXPECT_EQ(step(0.1), text(std::min(tenths, 20)));
    for (int tenths = 19; tenths >= 0; --tenths)
        EXPECT_EQ(step(-0.1), text(std::max(tenths, 1)));
}

} // namespace
} // namespace vv
