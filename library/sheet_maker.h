#pragma once
// Makes preview sheets in the order of a SheetSchedule: the list's on one
// worker thread at the lowest priority, the selected entry's on another at
// the normal one (the user is waiting for it). The user-interface thread
// hands it the list and the selected entry and hears of every sheet through
// made(); it never waits for a sheet (except in claim()).
//
// Every sheet is written atomically; destroying the maker cancels what is
// due and waits for the sheet being made, so no partial file is left.

#include <QObject>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "index/sheet_file.h"
#include "library/sheet_schedule.h"

namespace vv {

class SheetMaker : public QObject {
    Q_OBJECT
public:
    // make runs on a worker thread; waitedFor: the user waits for this
    // sheet, so it may take a second decoder thread.
    using Make = std::function<MadeSheet(const QString& video, bool waitedFor)>;

    explicit SheetMaker(Make make = defaultMake(), QObject* parent = nullptr);
    static Make defaultMake();
    ~SheetMaker() override;
    SheetMaker(const SheetMaker&) = delete;
    SheetMaker& operator=(const SheetMaker&) = delete;

    // All calls on the thread that made the maker.
    void setList(const QStringList& videos);
    void prefer(const QString& video);
    // While a video plays only the selected entry is made.
    void setVideoPlaying(bool playing);
    // Takes the video out of the list because it is about to be made
    // elsewhere; when the worker is making it right now, lets window events
    // run until that sheet is through.
    void claim(const QString& video);

    bool isMaking(const QString& video) const;
    int done() const;
    int total() const;
    bool busy() const;

signals:
    // A sheet is through (written, not written, or no picture). Delivered on
    // the maker's thread, after the progress has counted it.
    void made(const QString& video, const vv::MadeSheet& sheet);

private:
    void start();
    void run(SheetSchedule::Lane lane);

    Make make_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    SheetSchedule schedule_;
    bool videoPlaying_ = false;
    std::thread workers_[2];  // one per lane
};

} // namespace vv
