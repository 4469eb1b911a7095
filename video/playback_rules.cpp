#include "video/playback_rules.h"

#include "app/numbers.h"

#include <cmath>

namespace vv {

bool loopJumpBackDue(std::int32_t markIn, std::int32_t markOut, bool playing, double position)
{
    return markIn != -1 && markOut != -1 && playing && position > markOut;
}

bool atEndOfVideo(double position, std::int32_t durationFrames)
{
    // A file of no frames has no end to reach while it plays.
    return durationFrames > 0 && position == static_cast<double>(durationFrames);
}

PreviewJumps fastPreviewJumps(std::int32_t durationFrames, std::int16_t frameRate, double position)
{
    PreviewJumps jumps;
    const double half = durationFrames / 2.0;
    const std::int64_t a = roundEven(half + std::int64_t{frameRate} * 10);
    const std::int64_t b = std::int64_t{durationFrames} - std::int64_t{frameRate} * 30;
    const std::int64_t q = roundEven(position);
    if (q >= 1 && half > static_cast<double>(q))
        jumps.targets[jumps.count++] = roundEven32(half + 1);
    if (a < q && q < b)
        jumps.targets[jumps.count++] = pinned<std::int32_t>(b + 1);
    return jumps;
}

int nextPlaylistIndex(int count, int selected)
{
    if (count <= 0 || selected < -1 || selected >= count)
        return -1;
    const int next = selected + 1;
    return next == count ? -1 : next;
}

int previousPlaylistIndex(int count, int selected)
{
    if (count <= 0 || selected < 1 || selected >= count)
        return -1;
    return selected - 1;
}

int randomIndex(int count, double r)
{
    if (count <= 0)
        return -1;
    const double scaled = std::floor(count * r);
    if (!(scaled >= 0))   // also NaN
        return 0;
    return scaled >= count ? count - 1 : static_cast<int>(scaled);
}

QString pickRandom(QStringList& randomList, const QStringList& foundPaths, double r)
{
    if (randomList.isEmpty())
        randomList = foundPaths;
    const int i = randomIndex(static_cast<int>(randomList.size()), r);
    if (i < 0)
        return QString();
    return randomList.takeAt(i);
}

} // namespace vv
