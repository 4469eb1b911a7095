#include "app/media_file.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vv {

std::shared_ptr<MediaFile> MediaFile::open(const QString& path, QString* error)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    std::shared_ptr<MediaFile> file(new MediaFile(path, fd));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = QStringLiteral("not a regular file");
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return file;
}

MediaFile::~MediaFile()
{
    ::close(fd_);
}

std::int64_t MediaFile::readAt(std::int64_t offset, char* buffer, std::size_t bytes) const
{
    for (;;) {
        const ssize_t got = ::pread(fd_, buffer, bytes, offset);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

std::int64_t MediaFile::size() const
{
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

std::optional<FileStamp> MediaFile::stamp() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return std::nullopt;
    return FileStamp::of(info);
}

std::int64_t MediaFileReader::read(char* buffer, std::size_t bytes)
{
    const std::int64_t got = file_->readAt(offset_, buffer, bytes);
    if (got > 0)
        offset_ += got;
    return got;
}

bool MediaFileReader::seek(std::int64_t offset)
{
    if (offset < 0)
        return false;
    offset_ = offset;
    return true;
}

} // namespace vv
