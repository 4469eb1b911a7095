#include "index/preview.h"

#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "app/app.h"
#include "app/atomic_file.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "index/preview_rules.h"
#include "index/scene_grab.h"
#include "index/scene_window.h"
#include "index/sheet_file.h"
#include "video/displays.h"

namespace vv {

namespace {

// The videos whose scenes are being grabbed right now, per application. The
// grab lets window events run while it waits, and those may ask for the same
// video again (Enter in the video list while its sheet is being made) or for
// another one (a video loaded from the list meanwhile).
std::map<const App*, QStringList>& runningGrabs()
{
    static std::map<const App*, QStringList> grabs;
    return grabs;
}

// Registers one grab; refuses a second one of the same video. The wait
// cursor is up while any grab of the application runs.
class GrabRegistration {
public:
    GrabRegistration(App& app, const QString& video) : app_(app), video_(video)
    {
        QStringList& running = runningGrabs()[&app];
        if (running.contains(video))
            return;
        entered_ = true;
        running.append(video);
        if (running.size() == 1)
            app.sv.setWaitCursor(true);
    }
    ~GrabRegistration()
    {
        if (!entered_)
            return;
        auto it = runningGrabs().find(&app_);
        it->second.removeOne(video_);
        if (it->second.isEmpty()) {
            runningGrabs().erase(it);
            app_.sv.setWaitCursor(false);
        }
    }
    GrabRegistration(const GrabRegistration&) = delete;
    GrabRegistration& operator=(const GrabRegistration&) = delete;

    bool entered() const { return entered_; }

private:
    App& app_;
    QString video_;
    bool entered_ = false;
};

// "INDEXING" with one to three dots that grow while the grab runs, shown in
// the information display. Afterwards the display gets back what it showed
// before, unless something else has been shown in the meantime.
class IndexingNote {
public:
    explicit IndexingNote(App& app) : app_(app)
    {
        InfoDisplayWindow& info = app.InfoDisplay();
        wasShown_ = !info.isHidden();
        caption_ = info.caption();
        countdown_ = app.st.InfoDisplayCountdown;
    }
    ~IndexingNote()
    {
        if (shown_.isEmpty())
            return;
        InfoDisplayWindow& info = app_.InfoDisplay();
        if (info.caption() != shown_ || info.isHidden())
            return;
        if (wasShown_) {
            info.INITIALIZE(caption_, countdown_);
        } else {
            info.hide();
            app_.st.InfoDisplayCountdown = countdown_;
        }
    }
    IndexingNote(const IndexingNote&) = delete;
    IndexingNote& operator=(const IndexingNote&) = delete;

    void show(const QString& text)
    {
        if (text == shown_)
            return;
        shown_ = text;
        app_.InfoDisplay().INITIALIZE(text, -1);
    }

private:
    App& app_;
    bool wasShown_ = false;
    QString caption_;
    std::int16_t countdown_ = 0;
    QString shown_;
};

constexpr std::chrono::milliseconds GrabPoll{40};

// The note for the n-th look at a running grab (every poll, 40 ms).
QString indexingText(int polls)
{
    return QStringLiteral("INDEXING") + QString(1 + (polls / 8) % 3, QLatin1Char('.'));
}

// Grabs the scenes on a worker thread; the user-interface thread lets window
// events run meanwhile, so that the windows keep painting.
SceneGrab grabWhileWindowsRun(App& app, const QString& video, IndexingNote& note)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        SceneGrab grab;
    };
    auto shared = std::make_shared<Shared>();
    std::thread worker([shared, video] {
        SceneGrab grab = grabScenes(video, SceneCount);
        const std::lock_guard lock(shared->mutex);
        shared->grab = std::move(grab);
        shared->done = true;
        shared->finished.notify_all();
    });
    for (int polls = 0;; ++polls) {
        {
            std::unique_lock lock(shared->mutex);
            if (shared->finished.wait_for(lock, GrabPoll, [&] { return shared->done; }))
                break;
        }
        note.show(indexingText(polls));
        app.sv.processEvents();
    }
    worker.join();
    return std::move(shared->grab);
}

// Writes a sheet as an uncompressed 24-bit bitmap file, atomically. A sheet
// that cannot be written stays in memory; the first failure in a folder is
// shown.
void writeSheet(App& app, const QImage& sheet, const QString& file)
{
    const QByteArray bytes = sheetFileBytes(sheet);
    if (bytes.isEmpty())
        return;
    QString error;
    if (writeFileAtomically(file, bytes, &error)) {
        app.st.UnsavedSheets.remove(file);
        return;
    }
    qWarning("%s: %s", qPrintable(file), qPrintable(error));
    keepUnsavedSheet(app, file, sheet);
}

} // namespace

// The scene pictures of a video, grabbed from its frames: each written as
// k.bmp into the program directory, and the sixteen together as the preview
// sheet beside the video. Nothing happens (no message, no sheet) when the
// video cannot be opened or yields no picture at all.
//
// Only the loaded video's pictures go into the scene windows: a sheet made
// for another video (the video list makes the sheets of the videos the user
// moves to) leaves the windows with the pictures of the video that plays.
void MAKEpreview(App& app, const QString& path)
{
    GrabRegistration registration(app, path);
    if (!registration.entered())
        return;
    SceneGrab grab;
    {
        IndexingNote note(app);
        grab = grabWhileWindowsRun(app, path, note);
    }
    if (!grab.ok || grab.scenes.empty())
        return;

    // From here on no window event runs until the sheet is written, so the
    // windows and the sheet show the same pictures.
    const bool loaded = path == app.st.LoadedVideo;
    const QList<QImage> pictures = writeSceneFiles(grab, app.st.ProgramDir);
    if (!loaded) {
        writeSheet(app, buildPreviewSheet(pictures), previewSheetWriteName(path));
        return;
    }
    for (const GrabbedScene& scene : grab.scenes) {
        if (scene.scene < 0 || scene.scene >= SceneCount || pictures[scene.scene].isNull())
            continue;
        // The window takes the picture as it would read it back from the
        // scene file (a 24-bit bitmap loads as RGB32), without the reading.
        SceneWindow& window = app.FormImage(scene.scene);
        window.setPicture(pictures[scene.scene].convertToFormat(QImage::Format_RGB32));
        window.INITIALIZEquick(scene.position);
    }
    // The windows no longer hold the pictures of the sheet cut last, unless
    // that was this video's own.
    if (app.st.LastLoadedSheet != previewSheetReadName(path))
        app.st.LastLoadedSheet.clear();
    SAVEpreview(app, path);
}

// The pictures of scene windows 0 to 15, each scaled into its 160 x 120 cell
// of the 640 x 480 sheet; a window without a picture leaves its cell black.
void SAVEpreview(App& app, const QString& path)
{
    QList<QImage> pictures;
    for (int k = 0; k < SceneCount; ++k)
        pictures.append(app.FormImageExists(k) ? app.FormImage(k).picture() : QImage());
    writeSheet(app, buildPreviewSheet(pictures), previewSheetWriteName(path));
}

void keepUnsavedSheet(App& app, const QString& file, const QImage& sheet)
{
    AppState& st = app.st;
    st.UnsavedSheets.insert(file, sheet);
    const QString folder = QFileInfo(file).absolutePath();
    if (!st.UnsavedSheetFolders.contains(folder)) {
        st.UnsavedSheetFolders.insert(folder);
        app.InfoDisplay().INITIALIZE(QStringLiteral("PREVIEW CANNOT BE SAVED!"), 3);
    }
}

bool hasPreviewSheet(const App& app, const QString& path)
{
    return app.st.UnsavedSheets.contains(previewSheetWriteName(path)) || FileExists(previewSheetReadName(path));
}

QImage previewSheet(const App& app, const QString& path)
{
    const auto kept = app.st.UnsavedSheets.constFind(previewSheetWriteName(path));
    if (kept != app.st.UnsavedSheets.constEnd())
        return *kept;
    QImage sheet;
    sheet.load(previewSheetReadName(path));
    return sheet;
}

// The sixteen cells of the video's sheet into the scene windows, scene k at
// k x (DurationFrames / 16, rounded). Skipped when the windows already hold
// this sheet; a sheet that cannot be read is made anew from the video.
void LOADpreview(App& app, const QString& path)
{
    AppState& st = app.st;
    const QString sheet = previewSheetReadName(path);
    if (sheet == st.LastLoadedSheet)
        return;
    const QImage image = previewSheet(app, path);
    if (image.isNull()) {
        MAKEpreview(app, path);
        return;
    }
    st.LastLoadedSheet = sheet;
    const QList<QImage> cells = cutPreviewSheet(image, px(st.IndexCellWidth), px(st.IndexCellHeight));
    // At least one frame apart, as the grab spaces them: the scenes of a
    // video shorter than 9 frames stand on frames 0, 1, 2, ...
    const std::int64_t step = std::max<std::int64_t>(1, roundEven32(static_cast<double>(st.DurationFrames) / SceneCount));
    for (int k = 0; k < SceneCount && k < cells.size(); ++k) {
        SceneWindow& window = app.FormImage(k);
        window.setPicture(cells[k]);
        window.INITIALIZEquick(pinned<std::int32_t>(k * step));
    }
}

} // namespace vv
