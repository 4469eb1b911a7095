#pragma once
// Opening a video or a folder named from outside the player: the command line
// and a drop on the main window. The video directory changes for this run
// only; settings.ini keeps its own.

#include <QList>
#include <QString>
#include <QUrl>

namespace vv {

class App;

// Plays file at once. The playlist is the video list of the video directory
// when the file lies below it, else of the file's own folder (scanned now).
void OPENvideoFile(App& app, const QString& file);

// Makes folder the video directory and opens the video list on it.
void OPENvideoFolder(App& app, const QString& folder);

// A drop: one video file plays, one folder opens the video list; anything
// else changes nothing and says so on the information display. Returns
// whether the drop was taken.
bool OPENdropped(App& app, const QList<QUrl>& urls);

} // namespace vv
