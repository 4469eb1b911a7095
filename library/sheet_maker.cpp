#include "library/sheet_maker.h"

#include <QEventLoop>
#include <sys/resource.h>
#include <unistd.h>

namespace vv {

namespace {

// The worker yields to everything else of the machine: the highest nice
// value. (The scheduler's idle class would starve it on a busy machine, and
// the user waits for the sheet of the entry selected.)
void lowestPriority()
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

} // namespace

SheetMaker::Make SheetMaker::defaultMake()
{
    return [](const QString& video, bool waitedFor) { return makeSheetFile(video, waitedFor ? 0 : 1); };
}

SheetMaker::SheetMaker(Make make, QObject* parent) : QObject(parent), make_(std::move(make)) {}

SheetMaker::~SheetMaker()
{
    {
        const std::lock_guard lock(mutex_);
        schedule_.cancel();
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        if (worker.joinable())
            worker.join();
    }
}

void SheetMaker::start()
{
    for (SheetSchedule::Lane lane : {SheetSchedule::List, SheetSchedule::Selection}) {
        if (!workers_[lane].joinable())
            workers_[lane] = std::thread([this, lane] { run(lane); });
    }
    wake_.notify_all();
}

void SheetMaker::setList(const QStringList& videos)
{
    {
        const std::lock_guard lock(mutex_);
        schedule_.setList(videos);
    }
    start();
}

void SheetMaker::prefer(const QString& video)
{
    {
        const std::lock_guard lock(mutex_);
        schedule_.prefer(video);
    }
    start();
}

void SheetMaker::setVideoPlaying(bool playing)
{
    {
        const std::lock_guard lock(mutex_);
        if (videoPlaying_ == playing)
            return;
        videoPlaying_ = playing;
    }
    wake_.notify_all();
}

void SheetMaker::claim(const QString& video)
{
    {
        const std::lock_guard lock(mutex_);
        if (schedule_.claim(video))
            return;
    }
    // Its result is queued for this thread or still to come: nothing of it
    // has been delivered since the check above.
    QEventLoop loop;
    connect(this, &SheetMaker::made, &loop, [&](const QString& done) {
        if (done == video)
            loop.quit();
    });
    loop.exec();
}

bool SheetMaker::isMaking(const QString& video) const
{
    const std::lock_guard lock(mutex_);
    return schedule_.isMaking(video);
}

int SheetMaker::done() const
{
    const std::lock_guard lock(mutex_);
    return schedule_.done();
}

int SheetMaker::total() const
{
    const std::lock_guard lock(mutex_);
    return schedule_.total();
}

bool SheetMaker::busy() const
{
    const std::lock_guard lock(mutex_);
    return schedule_.busy();
}

void SheetMaker::run(SheetSchedule::Lane lane)
{
    if (lane == SheetSchedule::List)
        lowestPriority();
    std::unique_lock lock(mutex_);
    for (;;) {
        std::optional<QString> video;
        wake_.wait(lock, [&] { return schedule_.cancelled() || (video = schedule_.take(lane, videoPlaying_)); });
        if (schedule_.cancelled())
            return;
        lock.unlock();
        const MadeSheet sheet = make_(*video, lane == SheetSchedule::Selection);
        lock.lock();
        schedule_.finished(*video, sheet.outcome == MadeSheet::Outcome::NotWritten);
        wake_.notify_all();  // the other lane may wait for this video's end
        QMetaObject::invokeMethod(
            this, [this, video = *video, sheet] { emit made(video, sheet); }, Qt::QueuedConnection);
    }
}

} // namespace vv
