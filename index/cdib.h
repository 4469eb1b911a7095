#pragma once
// cDIB: one uncompressed device-independent bitmap in memory, as a bitmap
// (.bmp) file carries it: the 14-byte file header, the 40-byte information
// header, the bitmap information bytes that stand in the file between the
// file header and the pixels (the information header and any colour table),
// and the pixel bytes.
//
// It is filled from a bitmap file or from a packed bitmap in memory (an
// information header immediately followed by the pixels, as the frame source
// hands out frames) and writes itself as a bitmap file. All header fields are
// little-endian in files and packed bitmaps; they are read and written byte by
// byte, never by overlaying a struct.
//
// Problems with files are reported through Services::messageBox (titled with
// the application's title); a cDIB made without services reports nothing and
// only returns false.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vv {

class Services;

class cDIB {
public:
    static constexpr std::int32_t FileHeaderSize = 14;
    static constexpr std::int32_t InfoHeaderSize = 40;
    static constexpr std::uint16_t BitmapFileType = 19778;  // "BM"

    explicit cDIB(Services* services = nullptr);

    // Reads a bitmap file. False after a message when the file is missing
    // ("File does not exist:"), cannot be opened ("File is locked - cannot
    // access:" or the error's description), or is no bitmap this object can
    // hold ("File is not a supported bitmap format:"): wrong type, a header
    // that is cut short, or offsets and sizes that point before the pixels'
    // possible start or beyond the end of the file. The object keeps what it
    // held, apart from the header fields already read.
    bool CreateFromFile(const QString& filename);

    // Copies a packed bitmap of `available` bytes: the 40-byte information
    // header, then biSizeImage pixel bytes. Refused without a message (false)
    // when fewer than 16 bits per pixel, no pixel size, or more pixel bytes
    // than available are declared; the information header then keeps the
    // copied values and everything else what it held.
    bool CreateFromPackedDIBPointer(const void* pDIB, std::size_t available);
    // The same for a packed bitmap held in a byte array: its pixels are
    // shared with the array, not copied.
    bool CreateFromPackedDIB(const QByteArray& packed);

    // Writes the bitmap file (file header, bitmap information bytes, pixels)
    // atomically: an existing file is replaced whole or not at all. False when
    // the object holds no bitmap or the file cannot be written.
    bool WriteToFile(const QString& filename) const;

    // The whole bitmap file as WriteToFile writes it.
    QByteArray fileBytes() const;
    // The same in parts to be written one after the other, sharing the
    // object's bytes: they stay valid after the object is gone.
    std::vector<QByteArray> fileParts() const;

    // Information header
    std::int32_t BitCount() const { return biBitCount; }
    std::int32_t Height() const { return biHeight; }
    std::int32_t Width() const { return biWidth; }
    std::int32_t Compression() const { return biCompression; }
    std::int32_t SizeInfoHeader() const { return biSize; }
    std::int32_t SizeImage() const { return biSizeImage; }
    std::int32_t Planes() const { return biPlanes; }
    std::int32_t ClrImportant() const { return biClrImportant; }
    std::int32_t ClrUsed() const { return biClrUsed; }
    std::int32_t XPPM() const { return biXPelsPerMeter; }
    std::int32_t YPPM() const { return biYPelsPerMeter; }

    // File header
    std::int32_t FileType() const { return bfType; }
    std::int32_t SizeFileHeader() const { return bfSize; }  // the file size field
    std::int32_t BitOffset() const { return bfOffBits; }

    // Addresses into the object's own bytes, valid until it is filled again
    // or destroyed; null while the part is empty.
    const std::uint8_t* PointerToBits() const;
    const std::uint8_t* PointerToBitmapInfo() const;
    std::int32_t SizeBitmapInfo() const { return static_cast<std::int32_t>(bitmapInfo.size()); }

private:
    void report(const QString& text, bool critical) const;
    void setFileHeader(const std::uint8_t* bytes);
    void setInfoHeader(const std::uint8_t* bytes);
    bool takePackedHeader(const void* pDIB, std::size_t available);

    Services* services;

    // BITMAPFILEHEADER
    std::int16_t bfType = 0;
    std::int32_t bfSize = 0;
    std::int16_t bfReserved1 = 0;
    std::int16_t bfReserved2 = 0;
    std::int32_t bfOffBits = 0;

    // BITMAPINFOHEADER
    std::int32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::int16_t biPlanes = 0;
    std::int16_t biBitCount = 0;
    std::int32_t biCompression = 0;
    std::int32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::int32_t biClrUsed = 0;
    std::int32_t biClrImportant = 0;

    QByteArray bitmapInfo;
    QByteArray bits;
    QByteArray packed;  // the packed bitmap whose pixels `bits` shares, if any
};

// The message for a bitmap file that exists but cannot be opened, given the
// system's error number: the "locked" text for a denied access, the error's
// description otherwise. `critical` tells which icon goes with it.
QString bitmapOpenFailureText(int errorNumber, const QString& filename, bool* critical);

} // namespace vv
