#pragma once
// A media file opened once per load and read by everyone who reads it: mpv
// (through a stream of its own) and libavformat (through an AVIOContext).
// Each reader keeps its own offset and reads with pread, so readers on
// different threads never disturb each other. Shared by its readers: the
// file stays open until the last of them lets go, whatever happens to its
// name meanwhile (removed, replaced).

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/frame_timeline.h"

namespace vv {

class MediaFile {
public:
    // Opens a regular file for reading; null, with the reason in `error`,
    // when it cannot be opened (a FIFO or a device is refused without
    // waiting for it).
    static std::shared_ptr<MediaFile> open(const QString& path, QString* error);
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    const QString& path() const { return path_; }
    // Up to `bytes` bytes from `offset`: how many were read, 0 at the end,
    // -1 on a read error.
    std::int64_t readAt(std::int64_t offset, char* buffer, std::size_t bytes) const;
    // The size now; -1 when unknown.
    std::int64_t size() const;
    // The version of the file this is, whatever is at its path now.
    std::optional<FileStamp> stamp() const;

private:
    MediaFile(QString path, int fd) : path_(std::move(path)), fd_(fd) {}

    QString path_;
    int fd_;
};

// One reader's place in a MediaFile, moved by its reads and seeks.
class MediaFileReader {
public:
    explicit MediaFileReader(std::shared_ptr<const MediaFile> file) : file_(std::move(file)) {}

    std::int64_t read(char* buffer, std::size_t bytes);
    // Moves to `offset` bytes from the start; false (staying put) before it.
    bool seek(std::int64_t offset);
    std::int64_t offset() const { return offset_; }
    const MediaFile& file() const { return *file_; }

private:
    std::shared_ptr<const MediaFile> file_;
    std::int64_t offset_ = 0;
};

} // namespace vv
