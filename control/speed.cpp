#include "control/speed.h"

#include "app/numbers.h"

#include <cmath>

namespace vv {

SpeedSetting speedSetting(float requested)
{
    float rate = std::isnan(requested) ? 1.0f : requested;
    if (rate < MinSpeed)
        rate = MinSpeed;
    if (rate > MaxSpeed)
        rate = MaxSpeed;
    rate = static_cast<float>(static_cast<double>(roundEven(static_cast<double>(rate) * 10.0)) / 10.0);

    QString text = numberText(static_cast<double>(rate)).trimmed();
    if (text.startsWith(QLatin1Char('.')))
        text.prepend(QLatin1Char('0'));
    if (text == QLatin1String("1"))
        text = QStringLiteral("1.0");
    else if (text == QLatin1String("2"))
        text = QStringLiteral("2.0");
    text.truncate(3);
    return {rate, QStringLiteral("SPEED ") + text + QStringLiteral(" x")};
}

float steppedRate(double presentRate, double delta)
{
    return static_cast<float>(presentRate + delta);
}

} // namespace vv
