#include "control/keymap.h"

#include "control/virtual_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace vv {
namespace {

TEST(KeyMap, RowsInTheMapsOrderAndNothingElse)
{
    const std::vector<int> order = {
        0x70, 'P', 'N', 0x1B, 'W', 'E', 'R', 'S', 'F', 'B', 'I', 'O',
        '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
        'C', 0x6B, 0x6D, 'L', 0x0C, 0x65, 0x24, 0x67,
    };
    const auto table = keyTable();
    ASSERT_EQ(table.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(table[i].vk, order[i]) << "row " << i;
        EXPECT_EQ(lookupKey(table[i].vk), &table[i]);
    }
    for (int code : {0, vk::OemPlus, vk::OemMinus, vk::Left, vk::Right, vk::Up, vk::Down,
                     int('M'), int('A'), vk::Return, vk::Space, vk::Numpad0, vk::Numpad0 + 1,
                     vk::Numpad0 + 9, vk::F1 + 1, vk::Delete, 0xFFFF, -1})
        EXPECT_EQ(lookupKey(code), nullptr) << code;

    // Without NumLock the pad's 5 and 7 arrive as Clear and Home and zoom
    // in; with it they zoom out / move the other way.
    EXPECT_EQ(lookupKey(vk::Clear)->zoomDelta, 1);
    EXPECT_EQ(lookupKey(vk::Numpad0 + 5)->zoomDelta, -1);
    EXPECT_EQ(lookupKey(vk::Home)->dx, 50);
    EXPECT_EQ(lookupKey(vk::Numpad0 + 7)->dx, -50);
    EXPECT_EQ(lookupKey(vk::Numpad0 + 7)->zoomDelta, 1);
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(lookupKey(vk::Digit0 + d)->digit, d);
}

TEST(KeyMap, ZoomStepsJumpsToTenthsAndSceneWindowsOfTheDigits)
{
    EXPECT_EQ(zoomRequest(100, 5), 105);
    EXPECT_EQ(zoomRequest(100, -5), 95);
    EXPECT_EQ(zoomRequest(32765, 5), 32767);    // pinned, not wrapped
    EXPECT_EQ(zoomRequest(-32766, -5), -32768);
    EXPECT_EQ(zoomText(1000), QStringLiteral("ZOOM 1000%"));

    struct Case {
        std::int32_t duration;
        int digit;
        std::int32_t target;
    } const cases[] = {
        {1000, 9, 900},
        {1005, 5, 502},        // 502.5 -> even
        {1015, 5, 508},        // 507.5 -> even
        {0, 9, 0},
        {999999, 9, 899999},   // 899999.1
        {2000000000, 9, 1800000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tenthsTarget(c.duration, c.digit), c.target) << c.duration << " x " << c.digit;
    EXPECT_EQ(jumpIndexText(0), QStringLiteral("JUMP START"));
    EXPECT_EQ(jumpIndexText(9), QStringLiteral("JUMP INDEX 9"));

    // In the navigation strip the digits address scene windows.
    EXPECT_EQ(navigationSceneWindow(0, 1), 0);
    EXPECT_EQ(navigationSceneWindow(4, 9), 12);
    EXPECT_EQ(navigationSceneWindow(9, 9), 17);
    EXPECT_EQ(navigationSceneWindow(10, 9), -1);   // beyond window 17
    EXPECT_EQ(navigationSceneWindow(0, 0), -1);    // window -1
    EXPECT_EQ(navigationSceneWindow(-1, 1), -1);
}

} // namespace
} // namespace vv
