#pragma once
// The file-system side of the directory chooser, without widgets: the roots
// the chooser offers in place of drives (the file system root, the home
// folder, mounted media), the subdirectories of a directory, and the way a
// directory is written as the chooser's result.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vv {

// A directory as the chooser reports it: absolute, cleaned, the root "/"
// with its separator, every other directory without a trailing "/".
// A relative path is taken from the process's working directory.
QString chooserPathText(const QString& path);

// The directory above path ("/" stays "/").
QString parentDirectory(const QString& path);

// The visible subdirectories of a directory (names beginning with "." are
// left out; links to directories count), in the name order of the media
// scan. Empty when the directory cannot be listed.
QStringList subdirectoryNames(const QString& path);

// The roots the chooser offers, in this order: the file system root, the
// home folder, then the mounted media - the folders below
// <root>/media/<user>, <root>/run/media/<user>, <root>/media (other than the
// user's own folder there) and <root>/mnt, each group in name order.
// systemRoot is "/" in the program; tests pass a folder of their own.
QStringList chooserRoots(const QString& home, const QString& user, const QString& systemRoot = QStringLiteral("/"));

// The root of roots that holds path: the longest root that is path itself or
// one of its ancestors; "" when none does.
QString rootOf(const QStringList& roots, const QString& path);

// The nearest directory that exists: path itself, else the first of its
// ancestors that is a directory ("/" at the end).
QString nearestExistingDirectory(const QString& path);

} // namespace vv
