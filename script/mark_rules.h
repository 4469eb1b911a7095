#pragma once
// The decisions of marking and learning, without the windows.

#include <QString>
#include <cstdint>
#include <optional>

namespace vv {

// The entry LEARN makes (description empty, 19 characters):
// - a start mark alone: a JUMP to it;
// - both marks: a LOOP from the start to the end mark;
// - no start mark (none at all, or only an end): a JUMP to the position.
// Marks are -1 when not set. No entry (nullopt) when a frame does not fit
// the six digits of an entry.
std::optional<QString> learnedEntry(std::int32_t markIn, std::int32_t markOut, std::int32_t position);

// The index to select after entry removed has been taken out of a list that
// now holds count entries: the entry that moved up into its place, or the
// first entry when the last one was removed; -1 when the list is empty.
int selectionAfterRemoval(int removed, int count);

// A description as typed: line breaks would split the entry into two lines
// of the script file, so each becomes a blank.
QString cleanDescription(const QString& typed);

// Where the description dialog opens (twips on the screen): the lefts of the
// main window, the video window, the control panel, the panel's keypad group
// and the interaction list added up plus 75; their tops added up plus the
// main window's title bar and borders (outer height - inner height) minus 50.
struct DialogPlace {
    double left = 0;
    double top = 0;
};
struct DialogAnchor {
    double left = 0;
    double top = 0;
};
DialogPlace textEntryPlace(const DialogAnchor (&chain)[5], double mainOuterHeight, double mainInnerHeight);

} // namespace vv
