#include "control/keymap.h"

#include "control/virtual_keys.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

TEST(KeyMap, LookupZoomStepsTenthsAndSceneWindowsOfTheDigits)
{
    for (int code : {0, vk::OemPlus, vk::Left, int('M'), vk::Space, vk::Numpad0, vk::Numpad0 + 9, vk::F1 + 1, -1})
        EXPECT_EQ(lookupKey(code), nullptr) << code;
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(lookupKey(vk::Digit0 + d)->digit, d);
    // Without NumLock the pad's 5 and 7 arrive as Clear and Home and zoom
    // in; with it they zoom out / move the other way.
    struct Move {
        int code, zoomDelta, dx;
    } const moves[] = {{vk::Clear, 1, 0}, {vk::Numpad0 + 5, -1, 0}, {vk::Home, 1, 50}, {vk::Numpad0 + 7, 1, -50}};
    for (const Move& m : moves) {
        EXPECT_EQ(lookupKey(m.code)->zoomDelta, m.zoomDelta) << m.code;
        EXPECT_EQ(lookupKey(m.code)->dx, m.dx) << m.code;
        EXPECT_EQ(lookupKey(m.code)->dy, m.dx) << m.code;
    }

    EXPECT_EQ(zoomRequest(32765, 5), 32767);  // pinned, not wrapped
    EXPECT_EQ(zoomRequest(-32766, -5), -32768);
    struct Tenth {
        std::int32_t duration;
        int digit;
        std::int32_t target;
    } const tenths[] = {
        {1005, 5, 502}, {1015, 5, 508},  // halves to even
        {999999, 9, 899999}, {2000000000, 9, 1800000000},
    };
    for (const Tenth& c : tenths)
        EXPECT_EQ(tenthsTarget(c.duration, c.digit), c.target) << c.duration << " x " << c.digit;

    // In the navigation strip the digits address scene windows 0 to 17.
    const std::tuple<int, int, int> windows[] = {{0, 1, 0}, {9, 9, 17}, {10, 9, -1}, {0, 0, -1}, {-1, 1, -1}};
    for (const auto& [first, digit, window] : windows)
        EXPECT_EQ(navigationSceneWindow(first, digit), window) << first << " " << digit;
}

} // namespace
} // namespace vv
