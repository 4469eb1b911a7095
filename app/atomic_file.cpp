#include "app/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <memory>
#include <mutex>
#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vv {

namespace {

// Held by every atomic write, and for good by stopAtomicWrites.
std::mutex& writeGate()
{
    static std::mutex gate;
    return gate;
}

// Closes a descriptor once; close() reports late write errors (network file
// systems), so the success path closes explicitly and checks.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

QByteArray randomSuffix()
{
    static constexpr char chars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '0');
    for (char& c : suffix)
        c = chars[QRandomGenerator::global()->bounded(int(sizeof chars - 1))];
    return suffix;
}

// Creates a new temporary beside target. The mode is that of the old file,
// or what the umask allows for a new one.
int createTemporary(const QByteArray& target, QByteArray* name)
{
    struct stat old {};
    const bool hadOld = ::stat(target.constData(), &old) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + AtomicTempMarker + randomSuffix();
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (hadOld)
                ::fchmod(fd, old.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    if (left == 0)
        return true;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The rename itself reaches the disk with the directory; a failure here
// cannot be undone, so it is not reported.
void syncDirectory(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeStaleTemporaries(const QFileInfo& target)
{
    QDir dir = target.dir();
    const QString prefix = target.fileName() + QLatin1String(AtomicTempMarker);
    const QStringList names = dir.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        dir.remove(name);
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    std::vector<AtomicWrite> one{AtomicWrite(path, {data})};
    const bool written = writeFilesAtomically(one);
    if (!written && error)
        *error = one.front().error;
    return written;
}

bool writeFilesAtomically(std::vector<AtomicWrite>& files)
{
    struct Pending {
        AtomicWrite* file;
        QFileInfo target;
        QByteArray tempName;
        std::unique_ptr<Fd> fd;
    };
    auto failed = [](AtomicWrite& file, int code, const QByteArray& tempName) {
        if (!tempName.isEmpty())
            ::unlink(tempName.constData());
        file.written = false;
        file.error = qt_error_string(code);
    };

    const std::lock_guard gate(writeGate());
    // Every temporary written; the disk starts on each at once.
    std::vector<Pending> pending;
    for (AtomicWrite& file : files) {
        file.written = false;
        QFileInfo info(file.path);
        if (info.isSymLink() && info.exists())
            info = QFileInfo(info.canonicalFilePath());
        if (info.isDir()) {
            failed(file, EISDIR, {});
            continue;
        }
        Pending p{&file, info, {}, nullptr};
        p.fd = std::make_unique<Fd>(createTemporary(QFile::encodeName(info.absoluteFilePath()), &p.tempName));
        if (p.fd->get() < 0) {
            failed(file, errno, {});
            continue;
        }
        bool ok = true;
        for (const QByteArray& part : file.parts)
            ok = ok && writeAll(p.fd->get(), part);
        if (!ok) {
            failed(file, errno, p.tempName);
            continue;
        }
        ::sync_file_range(p.fd->get(), 0, 0, SYNC_FILE_RANGE_WRITE);
        pending.push_back(std::move(p));
    }
    // Flushed, then renamed over the targets.
    std::set<QString> folders;
    for (Pending& p : pending) {
        const QByteArray target = QFile::encodeName(p.target.absoluteFilePath());
        if (::fsync(p.fd->get()) != 0 || !p.fd->close() || ::rename(p.tempName.constData(), target.constData()) != 0) {
            failed(*p.file, errno, p.tempName);
            continue;
        }
        p.file->written = true;
        folders.insert(p.target.absolutePath());
    }
    for (const QString& folder : folders)
        syncDirectory(folder);
    bool all = true;
    for (const AtomicWrite& file : files)
        all = all && file.written;
    for (const Pending& p : pending) {
        if (p.file->written)
            removeStaleTemporaries(p.target);
    }
    return all;
}

void stopAtomicWrites()
{
    writeGate().lock();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isFile();
}

} // namespace vv
