#pragma once
// The script file beside a video: one entry per line, each line ended by
// CR LF, the lines in list order; no header. Trailing blanks are part of an
// entry and are kept.
//
// Lines are UTF-8; a line that is not valid UTF-8 comes from an old 8-bit
// code page and is read as Windows-1252 - it is written back with exactly
// the bytes it was read from.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "script/script_entries.h"

namespace vv {

struct ScriptReadResult {
    // False when the file could not be read; error says why and the list is
    // empty. Such a file must not be overwritten.
    bool ok = true;
    QString error;
    // True when the first entry was not "!00000 PREVIOUS VIDEO" and
    // pseudo-entries were added: the caller writes the list back at once.
    bool repaired = false;
    // Lines not taken because the list was full. When it is not 0, writing
    // the list back would lose those lines of the file.
    int dropped = 0;
    // Lines that are neither entries nor pseudo-entries (a user's own notes
    // in a text file that happens to bear the video's name).
    int foreign = 0;
};

// Empties list and fills it from the file's bytes: lines end at CR LF, CR or
// LF; empty lines and lines of blanks only are skipped; every other line is
// inserted exactly as it stands (no trimming). Then the repair: when the
// first entry is not exactly "!00000 PREVIOUS VIDEO" (an empty list
// included), each pseudo-entry that the list does not hold yet is added and
// `repaired` is set when one was (so a repaired file reads back unchanged
// and is never repaired twice). A file whose first entry is the
// previous-video entry but that lacks the next-video entry is left so.
// A UTF-8 byte order mark at the start is dropped.
ScriptReadResult parseScript(ScriptList& list, const QByteArray& data);

// The most of a script file that is read: room for every entry the list can
// hold at 256 bytes a line. A longer file is read up to its last whole line
// within that and counts as too long (dropped is at least 1).
inline constexpr qint64 MaxScriptFileBytes = qint64(ScriptList::MaxEntries) * 256;

// parseScript on the file at path (at most MaxScriptFileBytes of it). The
// selection is cleared.
ScriptReadResult readScriptFile(ScriptList& list, const QString& path);

// The file's bytes: every entry, in list order, followed by CR LF. Entries
// read from an 8-bit line are written in Windows-1252 (byte-identical to
// what was read) as long as their text still fits it; all else is UTF-8.
QByteArray formatScript(const ScriptList& list);

// Writes the whole list to path atomically (a temporary beside it, then a
// rename). On failure the old file stays as it was, false is returned and
// *error says why.
bool writeScriptFile(const ScriptList& list, const QString& path, QString* error = nullptr);

// Empties list and fills it with the four entries of a new script for a
// video of durationFrames frames (nothing is written).
void fillNewScript(ScriptList& list, std::int32_t durationFrames);

} // namespace vv
