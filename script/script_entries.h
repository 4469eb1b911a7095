#pragma once
// Script entries and the interaction list.
//
// An entry is one line of text. A range entry is laid out by position:
//   "001250-001875 LOOP Refrain"
//    start  - end    word description
// (start and end six digits each, the action word JUMP or LOOP, a blank on
// either side of it; the first 19 characters are the prefix, the description
// is everything after them). Two pseudo-entries lead to the previous and the
// next video of the playlist.

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

namespace vv {

inline const QString PreviousVideoEntry = QStringLiteral("!00000 PREVIOUS VIDEO");
inline const QString NextVideoEntry = QStringLiteral("999999 NEXT VIDEO");

inline constexpr int EntryPrefixLength = 19;
inline constexpr std::int32_t MaxEntryPosition = 999999;

enum class EntryAction { Jump, Loop };

// True when a frame fits the six digits of an entry (0..999999). The player
// refuses to learn a position that does not.
bool isEntryPosition(std::int64_t frame);

// A range entry: start and end as six digits, "-", " ", the word ("JUMP" or
// "LOOP"), " ", the description. "000100-000300 LOOP " for a freshly learned
// loop (19 characters, trailing blank kept). Positions must satisfy
// isEntryPosition (callers check); a value outside is pinned into 0..999999.
QString formatEntry(std::int32_t start, std::int32_t end, EntryAction word,
                    const QString& description = QString());

// Exact, case-sensitive comparison with the pseudo-entries.
bool isPreviousVideoEntry(const QString& entry);
bool isNextVideoEntry(const QString& entry);

// The leading number of the entry (blanks skipped, stops at the first
// non-digit; 0 when it does not begin with a digit): "!00000 PREVIOUS VIDEO"
// reads 0, "999999 NEXT VIDEO" 999999. Pinned into the 32-bit range.
std::int32_t entryStart(const QString& entry);
// The number read the same way from characters 8 to 13; 0 without digits.
std::int32_t entryEnd(const QString& entry);
// Everything after the 19-character prefix ("" for a shorter entry).
QString entryDescription(const QString& entry);
// JUMP when start equals end, LOOP otherwise - whatever the word says.
EntryAction entryAction(const QString& entry);

// True when the entry's description can be edited: it is no pseudo-entry and
// has the full 19-character prefix.
bool hasEntryPrefix(const QString& entry);
// The entry's first 19 characters followed by description.
QString withDescription(const QString& entry, const QString& description);

// The entries of a new script for a video of durationFrames frames:
// "!00000 PREVIOUS VIDEO", "000000-000000 JUMP Start of video",
// "NNNNNN-NNNNNN JUMP End of video", "999999 NEXT VIDEO". The end is pinned
// into 0..999998, so that it always sorts before the next video.
QStringList newScriptEntries(std::int32_t durationFrames);

// The interaction list: kept in ascending case-insensitive order of the
// case-folded texts ("!" before the digits), equal texts allowed. An entry
// added is inserted after the entries that compare equal to it. Changing an
// entry in place does not move it. At most MaxEntries entries.
class ScriptList {
public:
    static constexpr int MaxEntries = 32767;

    int count() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.isEmpty(); }
    const QString& at(int i) const { return items_.at(i).text; }
    QStringList entries() const;

    // Removes every entry and the selection.
    void clear();

    // Inserts entry at its sorted place and returns its index; -1 (nothing
    // added) when the list is full. The selection keeps pointing at the same
    // entry.
    int insert(const QString& entry);

    // Removes entry i (no-op when i is not an index). A selection of i is
    // dropped (-1); a selection behind i moves up with its entry.
    void removeAt(int i);

    // Replaces the text of entry i in place, without sorting (no-op when i is
    // not an index).
    void replaceAt(int i, const QString& entry);

    // The selected index, -1 for none.
    int selected() const { return selected_; }
    // Selects i; any value that is not an index selects nothing (-1).
    void select(int i);
    // The selected entry's text, "" for none.
    QString selectedEntry() const;

    // The sort order: <0, 0, >0.
    static int compare(const QString& a, const QString& b);

    // Entries read from a file that was not UTF-8 remember it, so that the
    // file writer gives them back their original bytes. Used by the script
    // file reader; an entry inserted with insert() is UTF-8.
    int insertLegacy(const QString& entry, bool legacy8bit);
    bool isLegacy(int i) const { return items_.at(i).legacy8bit; }
    // Appends without sorting (false when full); after a run of these,
    // sortEntries puts the list in the order insertLegacy would have given
    // and drops the selection.
    // Reading a file this way is not quadratic in its unsorted lines.
    bool appendLegacy(const QString& entry, bool legacy8bit);
    void sortEntries();

private:
    struct Item {
        QString text;
        bool legacy8bit = false;
    };
    QVector<Item> items_;
    int selected_ = -1;
};

} // namespace vv
