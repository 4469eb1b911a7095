#include "video/loading.h"

#include <algorithm>

#include "app/app.h"
#include "app/atomic_file.h"
#include "app/numbers.h"
#include "app/startup.h"
#include "control/control_panel.h"
#include "index/preview.h"
#include "index/preview_rules.h"
#include "library/media_scan.h"
#include "script/marks.h"
#include "script/overlays.h"
#include "script/script_io.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv {

QString previewSheetName(const QString& videoPath)
{
    return previewSheetReadName(videoPath);
}

QString scriptFileName(const QString& videoPath)
{
    return besideMedia(videoPath, QStringLiteral("txt"));
}

namespace {

// Nothing is loaded after a failed load: no time base, no script.
void forgetVideo(App& app)
{
    AppState& st = app.st;
    st.LoadedVideo.clear();
    st.ScriptFile.clear();
    st.DurationFrames = 0;
    st.DurationSeconds = 0;
    st.FrameRate = 0;
    ControlPanel& menu = app.menu();
    menu.ListSCRIPT->clearEntries();
    menu.CommandPLAY->setText(QStringLiteral("PLAY"));
    menu.setEnabled(true);
    // No picture of the video before stays on screen.
    app.video().setPictureVisible(false);
}

void enableVideoControls(ControlPanel& menu)
{
    for (QPushButton* b : {menu.CommandFASTBACK, menu.CommandBACK, menu.CommandPREVframe, menu.CommandPLAY,
                           menu.CommandFASTFORWARD, menu.CommandFORWARD, menu.CommandNEXTframe, menu.CommandMarkIN,
                           menu.CommandINTERACT, menu.CommandCRAZY, menu.CommandSLOW, menu.CommandFAST,
                           menu.CommandINDEX})
        b->setEnabled(true);
    for (QPushButton* b : menu.CommandZiffer)
        b->setEnabled(true);
}

} // namespace

void INITIALIZEvideo(App& app, const QString& path, std::int32_t start)
{
    AppState& st = app.st;
    app.MessageDisplay().hide();
    if (path.isEmpty())
        return;
    // The names beside the video are made by cutting its extension off.
    if (path.size() < 3) {
        app.sv.messageBox(QStringLiteral("This is not a video file:\r\n") + path, Services::Icon::Information);
        return;
    }

    const QString sheet = previewSheetName(path);
    const bool quick = FileExists(sheet);
    app.InfoDisplay().INITIALIZE((quick ? QStringLiteral("QUICKLOADING ") : QStringLiteral("LOADING ")) +
                                     QLatin1Char('\r') + st.CurrentVideo + QStringLiteral("..."),
                                 2);

    ControlPanel& menu = app.menu();
    menu.setEnabled(false);
    st.LoadedVideo = path;

    PlayerWindow& window = app.Player();
    MediaPlayer& player = window.MediaPlayer1();
    window.Timer1.stop();
    player.pause();
    player.setFileName(QString());

    RESETmarks(app);
    menu.CommandMarkOUT->setEnabled(false);
    menu.CommandDELETE->setEnabled(false);
    menu.CommandLEARN->setEnabled(true);

    INITIALIZEmediaplayer(app);
    if (!player.setFileName(path)) {
        forgetVideo(app);
        app.sv.messageBox(QStringLiteral("The video cannot be played:\r\n") + path, Services::Icon::Information);
        return;
    }

    // The time base: lengths in seconds and frames, and the frame rate. The
    // player stays in frames from here on.
    player.setPositionUnits(MediaPlayer::Seconds);
    st.DurationSeconds = roundEven32(player.length());
    player.setPositionUnits(MediaPlayer::Frames);
    st.DurationFrames = roundEven32(player.length());
    if (st.DurationSeconds > 0)
        st.FrameRate = roundEven16(static_cast<double>(st.DurationFrames) / st.DurationSeconds);
    else  // shorter than half a second: the stream's own rate
        st.FrameRate = roundEven16(player.streamFrameRate());

    menu.ListSCRIPT->clearEntries();
    st.ScriptFile = scriptFileName(path);
    if (FileExists(st.ScriptFile))
        LOADscript(app, st.ScriptFile);
    else
        NEWscript(app, st.ScriptFile);

    if (quick)
        LOADpreview(app, st.LoadedVideo);
    else
        MAKEpreview(app, path);

    player.setPictureVisible(true);
    GOTOposition(app, start);

    player.play();
    menu.CommandPLAY->setText(QStringLiteral("STOP"));
    window.Timer1.start();

    menu.setEnabled(true);
    enableVideoControls(menu);
    // Keys reach the video after every load, whatever window started it.
    if (QWidget* picture = player.widget())
        picture->setFocus(Qt::OtherFocusReason);

    if (st.ActiveMode == 6)
        SHOWinteraction(app);
}

void GOTOposition(App& app, std::int32_t p)
{
    AppState& st = app.st;
    p = std::clamp(p, 0, std::max(st.DurationFrames, 0));
    MediaPlayer& player = app.video();
    player.setCurrentPosition(p);
    app.TimeDisplay().showPosition();
    if (st.ActiveMode == 1)
        SHOWnavigation(app);
    app.sv.processEvents();
    if (app.menu().meantToPlay())
        player.play();
}

} // namespace vv
