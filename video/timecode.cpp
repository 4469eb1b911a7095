#include "video/timecode.h"

#include "app/numbers.h"

namespace vv {

namespace {

// Decimal text of a non-negative field, one leading "0" when it has a
// single digit.
QString field(std::int64_t value)
{
    QString text = QString::number(value);
    if (text.size() == 1)
        text.prepend(QLatin1Char('0'));
    return text;
}

} // namespace

QString FORMATtimecode(std::int32_t frame, std::int16_t frameRate)
{
    if (frameRate <= 0)
        return QString();
    const std::int64_t r = frameRate;
    const bool negative = frame < 0;
    const std::int64_t f = negative ? -static_cast<std::int64_t>(frame) : frame;
    const std::int64_t seconds = f / r;
    const std::int64_t ff = f - seconds * r;
    const std::int64_t hh = seconds / 3600;
    const std::int64_t mm = (seconds - hh * 3600) / 60;
    const std::int64_t ss = seconds - hh * 3600 - mm * 60;
    QString text;
    if (negative)
        text += QLatin1Char('-');
    text += field(hh) + QLatin1Char(':') + field(mm) + QLatin1Char(':') + field(ss)
            + QLatin1Char('-') + field(ff);
    return text;
}

QString frameToolTip(std::int64_t frame)
{
    return numberText(frame) + QStringLiteral("Frame");
}

} // namespace vv
