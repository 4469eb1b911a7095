#pragma once
// The order in which the preview sheets of a video list are made in the
// background. No threads and no files here: the sheet maker asks it for the
// next video and tells it how each one ended.
//
// Two lanes make sheets: the list lane walks the list, the selection lane
// makes the entry the user selected (the user is waiting for that one).
// Rules:
// * The videos without a sheet are made in list order, each at most once,
//   one at a time; never the same video in both lanes.
// * A selected entry replaces one selected before that has not been started.
// * While a video plays the list lane waits; the selection lane does not.
// * After a sheet could not be written into a folder, the rest of that
//   folder's list entries are skipped (a selected one is still made and
//   shown from memory).
// * Progress counts the list's videos made or skipped out of those without
//   a sheet when the list was given.

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace vv {

class SheetSchedule {
public:
    enum Lane { List = 0, Selection = 1 };

    // A new list of videos without a sheet; replaces the old one and starts
    // the progress anew. Sheets being made go on.
    void setList(const QStringList& videos);
    // The entry the user selected ("" for none).
    void prefer(const QString& video);
    // The lane's next video, now marked as being made; nothing when none is
    // due (the lane busy, all done, the list while a video plays, cancelled).
    std::optional<QString> take(Lane lane, bool videoPlaying = false);
    // A video taken is through; notWritten: its sheet could not be written
    // into its folder.
    void finished(const QString& video, bool notWritten);
    // Takes a video out of the list because it is made elsewhere; false when
    // it is being made here right now.
    bool claim(const QString& video);
    void cancel() { cancelled_ = true; }

    bool cancelled() const { return cancelled_; }
    bool isMaking(const QString& video) const;
    int done() const { return done_; }
    int total() const { return total_; }
    // True until the list is through.
    bool busy() const { return done_ < total_; }

private:
    bool skipped(const QString& video) const;
    // Removes a video from the pending list; true when it was there.
    bool takeOut(const QString& video);

    QStringList pending_;
    QSet<QString> failedFolders_;
    QString preferred_;
    QString making_[2];
    bool makingListed_[2] = {false, false};  // counts towards the progress when through
    int done_ = 0;
    int total_ = 0;
    bool cancelled_ = false;
};

} // namespace vv
