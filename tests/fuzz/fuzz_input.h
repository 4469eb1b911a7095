#pragma once
// The readers take files, so each input is written to a file first and read
// through the same function the player calls.

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace vv::fuzz {

// Writes the input to name in a folder of its own for the whole run; returns
// the file's path.
inline QString inputFile(const std::uint8_t* data, std::size_t size, const QString& name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

} // namespace vv::fuzz
