#include "script/script_entries.h"

#include "app/numbers.h"

#include <algorithm>

namespace vv {

namespace {

QString position(std::int32_t frame)
{
    return sixDigits(std::clamp<std::int32_t>(frame, 0, MaxEntryPosition));
}

} // namespace

bool isEntryPosition(std::int64_t frame)
{
    return frame >= 0 && frame <= MaxEntryPosition;
}

QString formatEntry(std::int32_t start, std::int32_t end, EntryAction word, const QString& description)
{
    return position(start) + QLatin1Char('-') + position(end) + QLatin1Char(' ')
           + (word == EntryAction::Jump ? QStringLiteral("JUMP") : QStringLiteral("LOOP"))
           + QLatin1Char(' ') + description;
}

bool isPreviousVideoEntry(const QString& entry)
{
    return entry == PreviousVideoEntry;
}

bool isNextVideoEntry(const QString& entry)
{
    return entry == NextVideoEntry;
}

std::int32_t entryStart(const QString& entry)
{
    return pinned<std::int32_t>(leadingNumber(entry));
}

std::int32_t entryEnd(const QString& entry)
{
    return pinned<std::int32_t>(leadingNumber(entry.mid(7, 6)));
}

QString entryDescription(const QString& entry)
{
    return entry.mid(EntryPrefixLength);
}

EntryAction entryAction(const QString& entry)
{
    return entryStart(entry) == entryEnd(entry) ? EntryAction::Jump : EntryAction::Loop;
}

bool hasEntryPrefix(const QString& entry)
{
    return entry.size() >= EntryPrefixLength && !isPreviousVideoEntry(entry)
           && !isNextVideoEntry(entry);
}

QString withDescription(const QString& entry, const QString& description)
{
    return entry.left(EntryPrefixLength) + description;
}

QStringList newScriptEntries(std::int32_t durationFrames)
{
    // "999999-" would sort after "999999 NEXT VIDEO"; the end of a longer
    // video is pinned one below so that the next video stays last.
    const QString end = position(std::min(durationFrames, MaxEntryPosition - 1));
    return {
        PreviousVideoEntry,
        QStringLiteral("000000-000000 JUMP Start of video"),
        end + QLatin1Char('-') + end + QStringLiteral(" JUMP End of video"),
        NextVideoEntry,
    };
}

// --- ScriptList -------------------------------------------------------------

QStringList ScriptList::entries() const
{
    QStringList list;
    list.reserve(items_.size());
    for (const Item& item : items_)
        list.append(item.text);
    return list;
}

void ScriptList::clear()
{
    items_.clear();
    selected_ = -1;
}

int ScriptList::compare(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

int ScriptList::insert(const QString& entry)
{
    return insertLegacy(entry, false);
}

int ScriptList::insertLegacy(const QString& entry, bool legacy8bit)
{
    if (count() >= MaxEntries)
        return -1;
    const auto at = std::upper_bound(items_.begin(), items_.end(), entry,
                                     [](const QString& text, const Item& item) {
                                         return compare(text, item.text) < 0;
                                     });
    const int index = static_cast<int>(at - items_.begin());
    items_.insert(index, Item{entry, legacy8bit});
    if (selected_ >= index)
        ++selected_;
    return index;
}

bool ScriptList::appendLegacy(const QString& entry, bool legacy8bit)
{
    if (count() >= MaxEntries)
        return false;
    items_.append(Item{entry, legacy8bit});
    return true;
}

void ScriptList::sortEntries()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return compare(a.text, b.text) < 0; });
    selected_ = -1;
}

void ScriptList::removeAt(int i)
{
    if (i < 0 || i >= count())
        return;
    items_.removeAt(i);
    if (selected_ == i)
        selected_ = -1;
    else if (selected_ > i)
        --selected_;
}

void ScriptList::replaceAt(int i, const QString& entry)
{
    if (i < 0 || i >= count())
        return;
    items_[i].text = entry;
}

void ScriptList::select(int i)
{
    selected_ = (i >= 0 && i < count()) ? i : -1;
}

QString ScriptList::selectedEntry() const
{
    return selected_ >= 0 ? items_.at(selected_).text : QString();
}

} // namespace vv
