#include "app/text_codec.h"

#include <QStringDecoder>

namespace vv {

namespace {

// Characters of the bytes 0x80..0x9F; undefined bytes keep their own number.
constexpr char16_t High1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b <= 0x9F ? QChar(High1252[b - 0x80]) : QChar(b));
    }
    return text;
}

bool encodeWindows1252(const QString& text, QByteArray* out)
{
    out->clear();
    out->reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out->append(static_cast<char>(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i) {
            if (High1252[i] == u) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return false;
        out->append(static_cast<char>(0x80 + found));
    }
    return true;
}

QString decodeTextLine(const QByteArray& bytes, bool* legacy8bit)
{
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    const bool legacy = utf8.hasError();
    if (legacy8bit)
        *legacy8bit = legacy;
    return legacy ? decodeWindows1252(bytes) : text;
}

QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qsizetype start = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype n = data.size();
    for (qsizetype i = start; i < n; ++i) {
        const char c = data.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(data.mid(start, i - start));
        if (c == '\r' && i + 1 < n && data.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(data.mid(start));
    return lines;
}

QString printableText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c != 0xFFFD && QChar::isPrint(c))
            out += QString::fromUcs4(&c, 1);
        else if (c < 0x100)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace vv
