#include "library/open_video.h"

#include <QDir>
#include <QFileInfo>

#include "app/app.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "library/media_scan.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "video/displays.h"
#include "video/loading.h"

namespace vv {

namespace {

// Makes dir the video directory of this run and scans it, unless the list
// already holds it.
void useVideoDirectory(App& app, const QString& dir)
{
    VideoSelectionWindow& list = app.DATEIMENU();
    if (dir == app.st.VideoDir && !list.found().isEmpty())
        return;
    app.st.VideoDir = dir;
    list.SCANMEDIA(dir);
    enableVideoButtons(app);
}

} // namespace

void OPENvideoFile(App& app, const QString& file)
{
    useVideoDirectory(app, videoDirectoryFor(file, app.st.VideoDir));
    VideoSelectionWindow& list = app.DATEIMENU();
    const QString wanted = QDir::cleanPath(file);
    for (int i = 0; i < list.found().count(); ++i) {
        if (QDir::cleanPath(list.found().pathAt(i)) == wanted) {
            list.select(i);
            break;
        }
    }
    HIDEall(app);
    app.st.CurrentVideo = file;
    INITIALIZEvideo(app, file, 0);
}

void OPENvideoFolder(App& app, const QString& folder)
{
    useVideoDirectory(app, folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    app.DATEIMENU().INITIALIZE(app.st.VideoDir);
}

bool OPENdropped(App& app, const QList<QUrl>& urls)
{
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        const QFileInfo info(urls.front().toLocalFile());
        const QString path = QDir::cleanPath(info.absoluteFilePath());
        if (info.isDir()) {
            OPENvideoFolder(app, path);
            return true;
        }
        if (info.isFile() && matchesPatterns(info.fileName(), VideoPatterns)) {
            OPENvideoFile(app, path);
            return true;
        }
    }
    app.InfoDisplay().INITIALIZE(QStringLiteral("DROP ONE VIDEO OR ONE FOLDER!"), 2);
    return false;
}

} // namespace vv
