#pragma once
// settings.ini: seven lines, no keys. Lines 1-4 are the video picture's left,
// top, width and height in twips, lines 5-7 the video, CD-ROM and music
// directories. Every line ends in CR LF.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace vv {

// What is written: the picture geometry as the player reads it from the
// picture (single precision) and the three directory texts as they stand.
// The defaults are the first-run contents.
struct Settings {
    float VideoLeft = 330;
    float VideoTop = 150;
    float VideoWidth = 6045;
    float VideoHeight = 5355;
    QString VideoDir;
    QString CDROMDir;
    QString MP3Dir;
};

// What is read back. Numbers become 16-bit integers (rounded half to even,
// values outside the 16-bit range clamp).
struct LoadedSettings {
    std::int16_t VideoLeft = 330;
    std::int16_t VideoTop = 150;
    std::int16_t VideoWidth = 6045;
    std::int16_t VideoHeight = 5355;
    QString VideoDir;
    QString CDROMDir;
    QString MP3Dir;

    // Names of the fields ("VideoLeft" .. "MP3Dir") that were missing or
    // unreadable and therefore hold their first-run value. All seven when the
    // file could not be read at all.
    QStringList defaulted;
    // Names of the number fields whose value lay outside the 16-bit range
    // and was pinned to its limit.
    QStringList clamped;
    // Empty when the file was read; otherwise why it could not be read.
    QString error;
};

// The field names, in line order.
extern const QStringList SettingsFieldNames;

// One number line's text without its line end: a blank in place of the sign
// of a non-negative value (a "-" otherwise), the digits, a decimal point and
// fraction digits only when the value is not whole, then one blank:
// " 330 ", " 12.5 ", "-15 ", " .5 ".
QString settingsNumberText(float value);

// The whole file, byte for byte (texts in UTF-8).
QByteArray formatSettings(const Settings& settings);

// Reads the seven fields from the file's bytes. Lines end at CR LF, CR or LF.
// In every line leading blanks are skipped and the field ends at a comma or
// at the end of the line (the rest of a line after a comma is ignored, so a
// directory holding a comma reads back only up to it and the other lines keep
// their meaning). A text field that begins with a double quote runs to the
// closing quote (or to the end of the line). A number field must hold one
// decimal number, blanks around it allowed; anything else - an empty field
// included - is unreadable. Missing and unreadable fields take their first-run
// value and are listed in `defaulted`. Texts are decoded as UTF-8, a line that
// is not valid UTF-8 as Windows-1252.
LoadedSettings parseSettings(const QByteArray& data);

// Reads the file at path. A file that cannot be opened gives all first-run
// values, all seven names in `defaulted` and the reason in `error`. The file
// itself is never changed.
LoadedSettings readSettingsFile(const QString& path);

// Writes the file atomically (a temporary beside it, then a rename): on
// failure the old file stays as it was, false is returned and *error says
// why.
bool writeSettingsFile(const QString& path, const Settings& settings, QString* error = nullptr);

} // namespace vv
