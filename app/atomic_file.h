#pragma once
// Files that hold the user's data (scripts, settings, preview sheets) are
// written whole into a temporary file beside the target and then renamed
// over it: a crash or a full disk never leaves a truncated file behind.

#include <QByteArray>
#include <QString>

namespace vv {

// Writes data to path atomically. On failure the old file (if any) is
// untouched, false is returned and *error (when given) says why.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// True when a file (not a directory) of that name exists; any error counts
// as "does not exist".
bool FileExists(const QString& path);

} // namespace vv
