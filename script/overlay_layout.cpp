#include "script/overlay_layout.h"

#include <algorithm>

#include "app/numbers.h"
#include "script/script_entries.h"

namespace vv {

int currentEntryIndex(const QStringList& entries, std::int32_t position)
{
    int current = 0;
    for (int i = 0; i < entries.size(); ++i) {
        if (entryStart(entries.at(i)) > position)
            break;
        current = i;
    }
    return current;
}

EntryRange shownEntryRange(int count, int current)
{
    if (count <= InteractionWindowCount)
        return {0, count - 1};
    const int half = InteractionWindowCount / 2;
    if (current - half < 0)
        return {0, InteractionWindowCount - 1};
    if (current + half > count - 1)
        return {count - InteractionWindowCount, count - 1};
    return {current - half, current + half};
}

QString interactionText(const QString& entry)
{
    if (isPreviousVideoEntry(entry))
        return QStringLiteral("PREVIOUS VIDEO");
    if (isNextVideoEntry(entry))
        return QStringLiteral("NEXT VIDEO");
    return entryDescription(entry);
}

QString interactionCaption(int window, const QString& entry)
{
    return QString::number(window + 1) + QStringLiteral(". ") + interactionText(entry);
}

QString interactionToolTip(int index)
{
    return numberText(static_cast<std::int64_t>(index));
}

int interactionRows(int shownEntries)
{
    return std::clamp((shownEntries + 2) / 3, 1, 3);
}

std::array<CellRect, InteractionWindowCount> interactionGrid(double playerWidth, double playerHeight,
                                                              double windowHeight, int shownEntries)
{
    const double w = static_cast<double>(roundEven(static_cast<double>(roundEven(playerWidth - 500)) / 3));
    const double h = static_cast<double>(roundEven(windowHeight));
    const int rows = interactionRows(shownEntries);
    const double top = playerHeight - rows * h - rows * 100;
    std::array<CellRect, InteractionWindowCount> cells;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            CellRect& cell = cells.at(static_cast<std::size_t>(3 * r + c));
            cell.left = c * w + 100 + c * 100;
            cell.top = top + r * h + r * 100;
            cell.width = w;
            cell.height = h;
        }
    }
    return cells;
}

int navigationPictureCount(int mainWindowWidthPixels)
{
    return mainWindowWidthPixels < 1024 ? 7 : 9;
}

NavigationStrip navigationStrip(int mainWindowWidthPixels, std::int32_t durationFrames, int sceneCount,
                                std::int32_t position, double playerWidth, double sliderTop)
{
    NavigationStrip strip;
    if (sceneCount <= 0)
        return strip;
    const int n = std::min(navigationPictureCount(mainWindowWidthPixels), sceneCount);
    strip.pictures = n;

    const std::int64_t spacing = roundEven(static_cast<double>(durationFrames) / sceneCount);
    const std::int64_t s = spacing > 0 ? roundEven(static_cast<double>(position) / static_cast<double>(spacing))
                                       : position;
    strip.current = static_cast<int>(std::clamp<std::int64_t>(s, 0, sceneCount - 1));

    const int half = (n - 1) / 2;
    std::int64_t first = s - half;
    std::int64_t last = s + half;
    if (first < 0) {
        first = 0;
        last = n - 1;
    }
    if (last > sceneCount - 1)
        first = sceneCount - n;
    strip.first = static_cast<int>(first);

    strip.width = static_cast<double>(roundEven(playerWidth / n));
    strip.height = static_cast<double>(roundEven(strip.width * 3 / 4));
    strip.top = static_cast<double>(roundEven(sliderTop - strip.height));
    return strip;
}

} // namespace vv
