#include "index/cdib.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/atomic_file.h"
#include "app/services.h"
#include "index/le_bytes.h"

namespace vv {

namespace {

const QString crlf = QStringLiteral("\r\n");

// A file descriptor that closes itself.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path)
        : fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
        , openError(fd < 0 ? errno : 0)
    {
    }
    ~ReadOnlyFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return fd >= 0; }
    int error() const { return openError; }

    // The file's size in bytes, -1 (and errno set) on failure.
    std::int64_t size() const
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return -1;
        return st.st_size;
    }

    // Reads exactly count bytes at offset. 0 on success, an error number on
    // an I/O error, -1 when the file ends early.
    int readAt(std::int64_t offset, void* into, std::size_t count) const
    {
        auto* p = static_cast<char*>(into);
        while (count > 0) {
            const ssize_t got = ::pread(fd, p, count, static_cast<off_t>(offset));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (got == 0)
                return -1;
            p += got;
            offset += got;
            count -= static_cast<std::size_t>(got);
        }
        return 0;
    }

private:
    int fd;
    int openError;
};

QString errorDescription(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

QString bitmapOpenFailureText(int errorNumber, const QString& filename, bool* critical)
{
    const bool denied = errorNumber == EACCES || errorNumber == EPERM;
    if (critical)
        *critical = denied;
    if (denied)
        return QStringLiteral("File is locked - cannot access:") + crlf + filename;
    return errorDescription(errorNumber);
}

cDIB::cDIB(Services* services)
    : services(services)
{
}

void cDIB::report(const QString& text, bool critical) const
{
    if (services)
        services->messageBox(text, critical ? Services::Icon::Critical : Services::Icon::Information);
}

void cDIB::setFileHeader(const std::uint8_t* b)
{
    bfType = le::i16(b + 0);
    bfSize = le::i32(b + 2);
    bfReserved1 = le::i16(b + 6);
    bfReserved2 = le::i16(b + 8);
    bfOffBits = le::i32(b + 10);
}

void cDIB::setInfoHeader(const std::uint8_t* b)
{
    biSize = le::i32(b + 0);
    biWidth = le::i32(b + 4);
    biHeight = le::i32(b + 8);
    biPlanes = le::i16(b + 12);
    biBitCount = le::i16(b + 14);
    biCompression = le::i32(b + 16);
    biSizeImage = le::i32(b + 20);
    biXPelsPerMeter = le::i32(b + 24);
    biYPelsPerMeter = le::i32(b + 28);
    biClrUsed = le::i32(b + 32);
    biClrImportant = le::i32(b + 36);
}

bool cDIB::CreateFromFile(const QString& filename)
{
    if (!FileExists(filename)) {
        report(QStringLiteral("File does not exist:") + crlf + filename, true);
        return false;
    }

    ReadOnlyFile file(filename);
    if (!file.isOpen()) {
        bool critical = false;
        const QString text = bitmapOpenFailureText(file.error(), filename, &critical);
        report(text, critical);
        return false;
    }

    const QString unsupported = QStringLiteral("File is not a supported bitmap format:") + crlf + filename;
    // An I/O error reports its description; a file that ends before the
    // header says it does is no bitmap this object can hold.
    auto readFailed = [&](int result) {
        report(result > 0 ? errorDescription(result) : unsupported, false);
        return false;
    };

    const std::int64_t fileSize = file.size();
    if (fileSize < 0)
        return readFailed(errno);

    std::uint8_t header[FileHeaderSize + InfoHeaderSize];
    if (fileSize < FileHeaderSize)
        return readFailed(-1);
    if (int r = file.readAt(0, header, FileHeaderSize))
        return readFailed(r);
    setFileHeader(header);
    if (static_cast<std::uint16_t>(bfType) != BitmapFileType)
        return readFailed(-1);

    // The information header is read whatever biSize says, so the pixels
    // cannot start before its end; offsets and sizes must stay inside the
    // file (which also bounds every allocation by the file's size).
    if (fileSize < FileHeaderSize + InfoHeaderSize)
        return readFailed(-1);
    if (int r = file.readAt(FileHeaderSize, header + FileHeaderSize, InfoHeaderSize))
        return readFailed(r);
    setInfoHeader(header + FileHeaderSize);
    if (bfOffBits < FileHeaderSize + InfoHeaderSize || bfOffBits > fileSize || biSizeImage < 0
        || static_cast<std::int64_t>(bfOffBits) + biSizeImage > fileSize)
        return readFailed(-1);

    QByteArray newBits(biSizeImage, Qt::Uninitialized);
    if (int r = file.readAt(bfOffBits, newBits.data(), static_cast<std::size_t>(newBits.size())))
        return readFailed(r);
    QByteArray newInfo(bfOffBits - FileHeaderSize, Qt::Uninitialized);
    if (int r = file.readAt(FileHeaderSize, newInfo.data(), static_cast<std::size_t>(newInfo.size())))
        return readFailed(r);

    bits = std::move(newBits);
    bitmapInfo = std::move(newInfo);
    packed.clear();
    return true;
}

// Reads and checks the information header of a packed bitmap and sets the
// file header for it; the pixels are left to the caller.
bool cDIB::takePackedHeader(const void* pDIB, std::size_t available)
{
    if (!pDIB || available < static_cast<std::size_t>(InfoHeaderSize))
        return false;
    const auto* p = static_cast<const std::uint8_t*>(pDIB);
    setInfoHeader(p);
    if (biBitCount < 16 || biSizeImage < 1)
        return false;
    // The file size field must stay a positive 32-bit number.
    if (static_cast<std::uint64_t>(biSizeImage) > available - InfoHeaderSize
        || biSizeImage > INT32_MAX - (FileHeaderSize + InfoHeaderSize))
        return false;

    // A packed bitmap of 16 or more bits per pixel carries no colour table.
    bitmapInfo = QByteArray(reinterpret_cast<const char*>(p), InfoHeaderSize);
    bfType = static_cast<std::int16_t>(BitmapFileType);
    bfSize = biSizeImage + FileHeaderSize + InfoHeaderSize;
    bfReserved1 = 0;
    bfReserved2 = 0;
    bfOffBits = FileHeaderSize + InfoHeaderSize;
    return true;
}

bool cDIB::CreateFromPackedDIBPointer(const void* pDIB, std::size_t available)
{
    if (!takePackedHeader(pDIB, available))
        return false;
    bits = QByteArray(static_cast<const char*>(pDIB) + InfoHeaderSize, biSizeImage);
    packed.clear();
    return true;
}

bool cDIB::CreateFromPackedDIB(const QByteArray& bytes)
{
    if (!takePackedHeader(bytes.constData(), static_cast<std::size_t>(bytes.size())))
        return false;
    if (bytes.size() != InfoHeaderSize + biSizeImage) {
        bits = QByteArray(bytes.constData() + InfoHeaderSize, biSizeImage);
        packed.clear();
        return true;
    }
    // `packed` keeps the bytes alive and unchanged while `bits` points into
    // them; it is the information header followed by exactly the pixels.
    const QByteArray keep = bytes;
    bits = QByteArray::fromRawData(keep.constData() + InfoHeaderSize, biSizeImage);
    packed = keep;
    return true;
}

std::vector<QByteArray> cDIB::fileParts() const
{
    QByteArray header(FileHeaderSize, '\0');
    auto* h = reinterpret_cast<std::uint8_t*>(header.data());
    le::put16(h + 0, static_cast<std::uint16_t>(bfType));
    le::put32(h + 2, static_cast<std::uint32_t>(bfSize));
    le::put16(h + 6, static_cast<std::uint16_t>(bfReserved1));
    le::put16(h + 8, static_cast<std::uint16_t>(bfReserved2));
    le::put32(h + 10, static_cast<std::uint32_t>(bfOffBits));
    if (!packed.isEmpty())
        return {header, packed};
    return {header, bitmapInfo, bits};
}

QByteArray cDIB::fileBytes() const
{
    const std::vector<QByteArray> parts = fileParts();
    QByteArray out;
    out.reserve(FileHeaderSize + bitmapInfo.size() + bits.size());
    for (const QByteArray& part : parts)
        out += part;
    return out;
}

bool cDIB::WriteToFile(const QString& filename) const
{
    if (static_cast<std::uint16_t>(bfType) != BitmapFileType)
        return false;  // nothing loaded: there is no bitmap to write
    std::vector<AtomicWrite> file{AtomicWrite(filename, fileParts())};
    return writeFilesAtomically(file);
}
const std::uint8_t* cDIB::PointerToBits() const
{
    return bits.isEmpty() ? nullptr : reinterpret_cast<const std::uint8_t*>(bits.constData());
}

const std::uint8_t* cDIB::PointerToBitmapInfo() const
{
    return bitmapInfo.isEmpty() ? nullptr : reinterpret_cast<const std::uint8_t*>(bitmapInfo.constData());
}

} // namespace vv
