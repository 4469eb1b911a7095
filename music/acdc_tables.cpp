#include "music/acdc_tables.h"

#include <algorithm>
#include <cmath>

namespace vv {

namespace {

template <std::size_t N>
std::int32_t entry(const std::array<std::int32_t, N>& table, int k)
{
    const int index = std::clamp(k, 1, static_cast<int>(N)) - 1;
    return table.at(static_cast<std::size_t>(index));
}

} // namespace

int acdcDraw(float r, int count)
{
    if (count < 1)
        return 1;
    // Single precision, as the generator delivers it; the product is cut
    // down to a whole number.
    const float product = std::isfinite(r) ? r * static_cast<float>(count) : 0.0f;
    const int k = static_cast<int>(std::floor(product)) + 1;
    return std::clamp(k, 1, count);
}

std::int32_t acdcIntroScene(int k) { return entry(AcdcIntroScenes, k); }

std::int32_t acdcClosingScene(int k, std::int16_t frameRate)
{
    return entry(AcdcClosingSceneStarts, k) - 10 * static_cast<std::int32_t>(frameRate);
}

std::int32_t acdcActionScene(int k) { return entry(AcdcActionScenes, k); }

bool acdcTakesPart(const QString& path)
{
    return path.toLower().contains(QLatin1String("acdc"));
}

QString concertVideoPath(const QString& musicDir)
{
    QString dir = musicDir;
    while (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir + QLatin1Char('/') + ConcertVideoName;
}

} // namespace vv
