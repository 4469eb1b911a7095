#include "library/sheet_schedule.h"

namespace vv {

namespace {

QString folderOf(const QString& video)
{
    return video.left(video.lastIndexOf(QLatin1Char('/')));
}

} // namespace

void SheetSchedule::setList(const QStringList& videos)
{
    pending_.clear();
    QSet<QString> listed;
    makingListed_[List] = makingListed_[Selection] = false;
    for (const QString& video : videos) {
        if (listed.contains(video))
            continue;
        listed.insert(video);
        bool made = false;
        for (int lane : {List, Selection}) {
            if (video == making_[lane])
                made = makingListed_[lane] = true;
        }
        if (!made)
            pending_.append(video);
    }
    done_ = 0;
    total_ = static_cast<int>(listed.size());
}

void SheetSchedule::prefer(const QString& video)
{
    preferred_ = isMaking(video) ? QString() : video;
}

bool SheetSchedule::isMaking(const QString& video) const
{
    return !video.isEmpty() && (making_[List] == video || making_[Selection] == video);
}

bool SheetSchedule::skipped(const QString& video) const
{
    return failedFolders_.contains(folderOf(video));
}

bool SheetSchedule::takeOut(const QString& video)
{
    return pending_.removeOne(video);
}

std::optional<QString> SheetSchedule::take(Lane lane, bool videoPlaying)
{
    if (cancelled_ || !making_[lane].isEmpty())
        return std::nullopt;
    if (lane == Selection) {
        if (preferred_.isEmpty())
            return std::nullopt;
        making_[lane] = preferred_;
        preferred_.clear();
        makingListed_[lane] = takeOut(making_[lane]);
        return making_[lane];
    }
    if (videoPlaying)
        return std::nullopt;
    while (!pending_.isEmpty()) {
        const QString next = pending_.takeFirst();
        if (skipped(next)) {
            ++done_;
            continue;
        }
        if (next == preferred_)
            preferred_.clear();
        making_[lane] = next;
        makingListed_[lane] = true;
        return next;
    }
    return std::nullopt;
}

void SheetSchedule::finished(const QString& video, bool notWritten)
{
    for (int lane : {List, Selection}) {
        if (video.isEmpty() || making_[lane] != video)
            continue;
        making_[lane].clear();
        if (makingListed_[lane])
            ++done_;
        makingListed_[lane] = false;
        if (notWritten)
            failedFolders_.insert(folderOf(video));
        return;
    }
}

bool SheetSchedule::claim(const QString& video)
{
    if (isMaking(video))
        return false;
    if (preferred_ == video)
        preferred_.clear();
    if (takeOut(video))
        ++done_;
    return true;
}

} // namespace vv
