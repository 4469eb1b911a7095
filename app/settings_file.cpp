#include "app/settings_file.h"

#include "app/atomic_file.h"
#include "app/numbers.h"
#include "app/text_codec.h"

#include <QFile>

#include <cmath>

namespace vv {

const QStringList SettingsFieldNames = {
    QStringLiteral("VideoLeft"), QStringLiteral("VideoTop"),  QStringLiteral("VideoWidth"),
    QStringLiteral("VideoHeight"), QStringLiteral("VideoDir"), QStringLiteral("CDROMDir"),
    QStringLiteral("MP3Dir"),
};

namespace {

constexpr int NumberFields = 4;
constexpr int FieldCount = 7;

// The field of one line: leading blanks skipped; a field that begins with a
// double quote runs to the closing quote (or the end of the line), any other
// ends at the first comma or the end of the line.
QString fieldOf(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && line.at(i) == QLatin1Char(' '))
        ++i;
    if (i < line.size() && line.at(i) == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
        return close < 0 ? line.mid(i + 1) : line.mid(i + 1, close - i - 1);
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','), i);
    return comma < 0 ? line.mid(i) : line.mid(i, comma - i);
}

// One decimal number with optional sign, fraction and exponent, blanks
// around it allowed.
bool parseNumber(const QString& field, double* value)
{
    const QString text = field.trimmed();
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const char a = c.toLatin1();
        if (!((a >= '0' && a <= '9') || a == '.' || a == '-' || a == '+' || a == 'e' || a == 'E'))
            return false;
    }
    bool ok = false;
    const double v = text.toDouble(&ok);   // QString::toDouble uses the C locale
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace

QString settingsNumberText(float value)
{
    return numberText(static_cast<double>(value)) + QLatin1Char(' ');
}

QByteArray formatSettings(const Settings& s)
{
    QByteArray out;
    const QByteArray crlf("\r\n");
    for (float v : {s.VideoLeft, s.VideoTop, s.VideoWidth, s.VideoHeight})
        out += settingsNumberText(v).toUtf8() + crlf;
    for (const QString* t : {&s.VideoDir, &s.CDROMDir, &s.MP3Dir})
        out += t->toUtf8() + crlf;
    return out;
}

LoadedSettings parseSettings(const QByteArray& data)
{
    LoadedSettings result;
    std::int16_t* numbers[NumberFields] = {&result.VideoLeft, &result.VideoTop,
                                           &result.VideoWidth, &result.VideoHeight};
    QString* texts[FieldCount - NumberFields] = {&result.VideoDir, &result.CDROMDir,
                                                 &result.MP3Dir};
    const QList<QByteArray> lines = splitLines(data);
    for (int f = 0; f < FieldCount; ++f) {
        if (f >= lines.size()) {
            result.defaulted.append(SettingsFieldNames.at(f));
            continue;
        }
        const QString field = fieldOf(decodeTextLine(lines.at(f)));
        if (f >= NumberFields) {
            *texts[f - NumberFields] = field;
            continue;
        }
        double value = 0;
        if (!parseNumber(field, &value)) {
            result.defaulted.append(SettingsFieldNames.at(f));
            continue;
        }
        const std::int64_t whole = roundEven(value);
        *numbers[f] = pinned<std::int16_t>(whole);
        if (*numbers[f] != whole)
            result.clamped.append(SettingsFieldNames.at(f));
    }
    return result;
}

LoadedSettings readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LoadedSettings result;
        result.defaulted = SettingsFieldNames;
        result.error = file.errorString();
        return result;
    }
    // The file is seven short lines; anything beyond a generous limit is not
    // a settings file and is not read into memory whole.
    constexpr qint64 Limit = 1 << 20;
    const QByteArray data = file.read(Limit);
    if (file.error() != QFileDevice::NoError) {
        LoadedSettings result;
        result.defaulted = SettingsFieldNames;
        result.error = file.errorString();
        return result;
    }
    return parseSettings(data);
}

bool writeSettingsFile(const QString& path, const Settings& settings, QString* error)
{
    return writeFileAtomically(path, formatSettings(settings), error);
}

} // namespace vv
