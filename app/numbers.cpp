#include "app/numbers.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace vv {

std::int64_t roundEven(double value)
{
    if (std::isnan(value))
        return 0;
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless somebody changed it; make sure of it.
    const int saved = std::fegetround();
    if (saved != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (saved != FE_TONEAREST)
        std::fesetround(saved);
    constexpr double lo = static_cast<double>(std::numeric_limits<std::int64_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<std::int64_t>::max());
    if (r <= lo)
        return std::numeric_limits<std::int64_t>::min();
    if (r >= hi)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(r);
}

std::int32_t roundEven32(double value) { return pinned<std::int32_t>(roundEven(value)); }

std::int16_t roundEven16(double value) { return pinned<std::int16_t>(roundEven(value)); }

QString numberText(std::int64_t value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString numberText(double value)
{
    // Seven significant digits, no exponent for the ranges the player shows,
    // no leading zero before the decimal point.
    QString digits = QString::number(static_cast<float>(std::fabs(value)), 'g', 7);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    const bool negative = value < 0 && digits != QLatin1String("0");
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + digits;
}

std::int64_t leadingNumber(const QString& text)
{
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (value > limit) {
            value = std::numeric_limits<std::int64_t>::max();
            break;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return negative ? -value : value;
}

QString sixDigits(std::int64_t value)
{
    if (value < 0)
        value = -value;
    return QString::number(value).rightJustified(6, QLatin1Char('0'));
}

} // namespace vv
