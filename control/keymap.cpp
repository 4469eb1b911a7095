#include "control/keymap.h"

#include "app/numbers.h"
#include "control/virtual_keys.h"

#include <algorithm>
#include <iterator>

namespace vv {

namespace {

constexpr int key(char letter) { return vk::A + (letter - 'A'); }

constexpr KeyRow digitRow(int d, const char* name)
{
    return {vk::Digit0 + d, KeyCommand::Digit, name, d};
}

constexpr KeyRow Rows[] = {
    {vk::F1, KeyCommand::KeyboardHelp, "F1"},
    {key('P'), KeyCommand::LoadPreviousVideo, "P"},
    {key('N'), KeyCommand::LoadNextVideo, "N"},
    {vk::Escape, KeyCommand::VideoList, "Esc"},
    {key('W'), KeyCommand::Navigation, "W"},
    {key('E'), KeyCommand::Interaction, "E"},
    {key('R'), KeyCommand::Play, "R"},
    {key('S'), KeyCommand::Stop, "S"},
    {key('F'), KeyCommand::FastForward, "F"},
    {key('B'), KeyCommand::FastRewind, "B"},
    {key('I'), KeyCommand::ZoomStep, "I", -1, 5},
    {key('O'), KeyCommand::ZoomStep, "O", -1, -5},
    digitRow(0, "0"), digitRow(1, "1"), digitRow(2, "2"), digitRow(3, "3"), digitRow(4, "4"),
    digitRow(5, "5"), digitRow(6, "6"), digitRow(7, "7"), digitRow(8, "8"), digitRow(9, "9"),
    {key('C'), KeyCommand::CrazyVision, "C"},
    {vk::Add, KeyCommand::Speed, "Num +", -1, 0, 0, 0, 0.1},
    {vk::Subtract, KeyCommand::Speed, "Num -", -1, 0, 0, 0, -0.1},
    {key('L'), KeyCommand::Mark, "L"},
    {vk::Clear, KeyCommand::ZoomMove, "Clear", -1, 1, 0, 0},
    {vk::Numpad0 + 5, KeyCommand::ZoomMove, "Num 5", -1, -1, 0, 0},
    {vk::Home, KeyCommand::ZoomMove, "Home", -1, 1, 50, 50},
    {vk::Numpad0 + 7, KeyCommand::ZoomMove, "Num 7", -1, 1, -50, -50},
};

} // namespace

std::span<const KeyRow> keyTable()
{
    return Rows;
}

const KeyRow* lookupKey(int code)
{
    const auto it = std::find_if(std::begin(Rows), std::end(Rows),
                                 [code](const KeyRow& row) { return row.vk == code; });
    return it == std::end(Rows) ? nullptr : &*it;
}

std::int16_t zoomRequest(std::int16_t zoomPercent, int delta)
{
    return pinned<std::int16_t>(std::int64_t{zoomPercent} + delta);
}

QString zoomText(std::int16_t zoomPercent)
{
    return QStringLiteral("ZOOM") + numberText(std::int64_t{zoomPercent}) + QLatin1Char('%');
}

std::int32_t tenthsTarget(std::int32_t durationFrames, int digit)
{
    const float tenth = static_cast<float>(durationFrames / 10.0);
    return roundEven32(static_cast<double>(tenth * static_cast<float>(digit)));
}

QString jumpIndexText(int digit)
{
    if (digit == 0)
        return QStringLiteral("JUMP START");
    return QStringLiteral("JUMP INDEX") + numberText(std::int64_t{digit});
}

int navigationSceneWindow(int sceneStripFirst, int digit)
{
    const int window = sceneStripFirst + digit - 1;
    return (window >= 0 && window <= 17) ? window : -1;
}

} // namespace vv
