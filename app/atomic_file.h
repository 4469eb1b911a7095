#pragma once
// Files that hold the user's data (scripts, settings, preview sheets) are
// written whole into a temporary file beside the target, flushed to the disk
// and then renamed over it: a crash or a full disk never leaves a truncated
// file behind.

#include <QByteArray>
#include <QString>
#include <vector>

namespace vv {

// The temporary beside target is named target + AtomicTempMarker + six
// random characters, so one left behind by a crash is recognisable.
inline constexpr char AtomicTempMarker[] = ".vvtmp-";

// Writes data to path atomically: every write, the flush to the disk (fsync)
// and the rename are checked. On failure the old file (if any) is untouched,
// no temporary remains, false is returned and *error (when given) holds the
// system's reason. After a successful write, temporaries of the same target
// that an interrupted write left behind are removed. A symbolic link is
// followed: the file it names is replaced, the link stays.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// One file of a batch: its bytes are the parts one after the other.
struct AtomicWrite {
    AtomicWrite(QString path, std::vector<QByteArray> parts) : path(std::move(path)), parts(std::move(parts)) {}
    QString path;
    std::vector<QByteArray> parts;
    bool written = false;  // set by writeFilesAtomically
    QString error;         // why not, when !written
};

// Writes several files as writeFileAtomically does, each replaced whole or
// not at all on its own, with one wait for the disk for the whole batch:
// every temporary is written first, then all are flushed, then renamed.
// True when every file was written.
bool writeFilesAtomically(std::vector<AtomicWrite>& files);

// Waits for an atomic write running on another thread and keeps every later
// one from starting (it blocks for good): called right before the process
// ends at once, so that no temporary is left behind.
void stopAtomicWrites();

// True when a file (not a directory) of that name exists; any error counts
// as "does not exist".
bool FileExists(const QString& path);

} // namespace vv
