#include "script/mark_rules.h"

#include "script/script_entries.h"

namespace vv {

std::optional<QString> learnedEntry(std::int32_t markIn, std::int32_t markOut, std::int32_t position)
{
    std::int32_t start = position;
    std::int32_t end = position;
    EntryAction word = EntryAction::Jump;
    if (markIn != -1 && markOut == -1) {
        start = end = markIn;
    } else if (markIn != -1 && markOut != -1) {
        start = markIn;
        end = markOut;
        word = EntryAction::Loop;
    }
    if (!isEntryPosition(start) || !isEntryPosition(end))
        return std::nullopt;
    return formatEntry(start, end, word);
}

int selectionAfterRemoval(int removed, int count)
{
    if (count <= 0)
        return -1;
    if (removed >= 0 && removed < count)
        return removed;
    return 0;
}

QString cleanDescription(const QString& typed)
{
    QString text = typed;
    for (QChar& c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}

DialogPlace textEntryPlace(const DialogAnchor (&chain)[5], double mainOuterHeight, double mainInnerHeight)
{
    DialogPlace place;
    for (const DialogAnchor& a : chain) {
        place.left += a.left;
        place.top += a.top;
    }
    place.left += 75;
    place.top += mainOuterHeight - mainInnerHeight - 50;
    return place;
}

} // namespace vv
