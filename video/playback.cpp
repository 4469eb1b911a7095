#include "video/playback.h"

#include "app/app.h"
#include "control/control_panel.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback_rules.h"
#include "video/player_window.h"

namespace vv {

namespace {

void followSlider(App& app)
{
    if (app.hasFormSlider() && app.FormSlider().isVisible())
        app.FormSlider().followPosition(true);
}

void enforceLoop(App& app)
{
    const AppState& st = app.st;
    MediaPlayer& player = app.video();
    if (loopJumpBackDue(st.MarkIn, st.MarkOut, player.playState() == MediaPlayer::Playing,
                        player.currentPosition()))
        GOTOposition(app, st.MarkIn);
}

void advanceAtEnd(App& app)
{
    if (!atEndOfVideo(app.video().currentPosition(), app.st.DurationFrames) || !app.menu().meantToPlay())
        return;
    const QString path = getNEXTvideo(app);
    INITIALIZEvideo(app, path, 0);
}

void fastPreview(App& app)
{
    if (!app.hasSETUP() || !app.SETUP().CheckFastPreviewMode->isChecked())
        return;
    const PreviewJumps jumps =
        fastPreviewJumps(app.st.DurationFrames, app.st.FrameRate, app.video().currentPosition());
    for (int i = 0; i < jumps.count; ++i) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("PREVIEW JUMP"), 2);
        GOTOposition(app, jumps.targets.at(static_cast<std::size_t>(i)));
    }
}

// Selects entry index of the ordinary playlist and makes it the current
// video; returns its path ("" for index -1: no such entry).
QString selectPlaylistEntry(App& app, VideoSelectionWindow& list, int index)
{
    if (index < 0)
        return QString();
    list.select(index);
    app.st.CurrentVideo = list.found().nameAt(index);
    return list.found().pathAt(index);
}

// One step of a display's countdown; true when it ran out on this tick.
bool countDown(std::int16_t& countdown)
{
    if (countdown <= 0)
        return false;
    --countdown;
    return countdown == 0;
}

} // namespace

void playbackTick(App& app)
{
    app.TimeDisplay().showPosition();
    followSlider(app);
    enforceLoop(app);
    advanceAtEnd(app);
    fastPreview(app);
}

void displayTick(App& app)
{
    AppState& st = app.st;
    if (countDown(st.InfoDisplayCountdown) && app.hasInfoDisplay())
        app.InfoDisplay().hide();
    if (countDown(st.TimeDisplayCountdown) && st.ActiveMode != 1) {
        if (app.hasTimeDisplay())
            app.TimeDisplay().hide();
        HIDEall(app);
    }
    if (countDown(st.MessageDisplayCountdown) && app.hasMessageDisplay() && app.MessageDisplay().isVisible())
        app.MessageDisplay().hide();
}

QString getNEXTvideo(App& app)
{
    const bool random = app.hasSETUP() && app.SETUP().CheckRANDOMplaylist->isChecked();
    VideoSelectionWindow& list = app.DATEIMENU();
    if (!random) {
        const int next = nextPlaylistIndex(list.found().count(), list.lstFoundFiles2->currentRow());
        return selectPlaylistEntry(app, list, next);
    }
    app.sv.randomize();
    const float r = app.sv.rnd();
    const QString path = pickRandom(app.Player().ListRandomPlayback, list.lstFoundFiles(), r);
    app.st.CurrentVideo = path;
    return path;
}

QString getPREVIOUSvideo(App& app)
{
    VideoSelectionWindow& list = app.DATEIMENU();
    const int previous = previousPlaylistIndex(list.found().count(), list.lstFoundFiles2->currentRow());
    return selectPlaylistEntry(app, list, previous);
}

} // namespace vv
