#pragma once
// Text files of the player are UTF-8. Files written by older programs come
// in an 8-bit code page (Windows-1252); a line that is not valid UTF-8 is
// read as such, and written back byte for byte.

#include <QByteArray>
#include <QList>
#include <QString>

namespace vv {

// Windows-1252 in both directions. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the characters of the same
// number, so that every byte string survives the round trip.
QString decodeWindows1252(const QByteArray& bytes);
// False (and *out unspecified) when text holds a character the code page
// lacks.
bool encodeWindows1252(const QString& text, QByteArray* out);

// bytes as UTF-8 when they are valid UTF-8, otherwise as Windows-1252;
// *legacy8bit (when given) says which. A byte order mark is kept as a
// character (U+FEFF), so that the bytes round-trip.
QString decodeTextLine(const QByteArray& bytes, bool* legacy8bit = nullptr);

// The lines of a text file's bytes, without their ends. A line ends at CR LF,
// a lone CR or a lone LF; a last line without an end counts when it is not
// empty. A UTF-8 byte order mark at the start is no part of the first line.
QList<QByteArray> splitLines(const QByteArray& data);

// text for a message: characters that cannot be shown (control characters,
// unassigned code points, the replacement for undecodable bytes) are written
// as \xNN or \u{NNNN}; a backslash stays as it is.
QString printableText(const QString& text);

} // namespace vv
