#include "control/key_dispatcher.h"

#include "app/app.h"
#include "app/main_window.h"
#include "app/numbers.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "control/crazy_vision.h"
#include "control/key_help.h"
#include "control/keymap.h"
#include "control/transport.h"
#include "control/virtual_keys.h"
#include "index/scene_window.h"
#include "script/marks.h"
#include "script/overlay_layout.h"
#include "script/overlays.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/zoom.h"

namespace vv {

namespace {

void digit(App& app, int d)
{
    AppState& st = app.st;
    if (st.ActiveMode == 1) {
        // Every digit names a scene counted from the strip's first picture:
        // 0 the one before it, 8 and 9 those past a short strip.
        const int window = navigationSceneWindow(st.SceneStripFirst, d);
        if (window < 0 || window >= st.SceneWindowCount)
            return;
        RESETmarks(app);
        GOTOposition(app, static_cast<std::int32_t>(leadingNumber(app.FormImage(window).Image1->toolTip())));
        st.TimeDisplayCountdown = 5;
        return;
    }
    if (st.ActiveMode == 6) {
        if (d >= 1 && d <= App::CommandWindowSlots)
            app.FormCommand(d - 1).DOcommandACTION();
        return;
    }
    RESETmarks(app);
    const std::int32_t target = tenthsTarget(st.DurationFrames, d);
    app.InfoDisplay().INITIALIZE(jumpIndexText(d), 2);
    HIDEscenepictures(app);
    GOTOposition(app, target);
}

} // namespace

void KEYcommand(App& app, int keyCode)
{
    const KeyRow* row = lookupKey(keyCode);
    if (!row)
        return;
    AppState& st = app.st;
    switch (row->command) {
    case KeyCommand::KeyboardHelp:
        SHOWkeyboardHELP(app);
        break;
    case KeyCommand::LoadPreviousVideo:
        LOADpreviousVIDEO(app);
        break;
    case KeyCommand::LoadNextVideo:
        LOADnextVIDEO(app);
        break;
    case KeyCommand::VideoList:
        VIDEOLISTswitch(app, st.VideoDir);
        break;
    case KeyCommand::Navigation:
        if (st.ActiveMode == 1)
            HIDEall(app);
        else
            SHOWnavigation(app);
        break;
    case KeyCommand::Interaction:
        if (st.ActiveMode == 6)
            HIDEall(app);
        else
            SHOWinteraction(app);
        break;
    case KeyCommand::Play:
        if (!app.menu().meantToPlay()) {
            app.InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
            app.menu().pressPLAY();
        }
        break;
    case KeyCommand::Stop:
        if (app.menu().meantToPlay()) {
            app.InfoDisplay().INITIALIZE(QStringLiteral("STOP"), 2);
            app.menu().pressPLAY();
        }
        break;
    case KeyCommand::FastForward:
        GOfastFORWARD(app);
        break;
    case KeyCommand::FastRewind:
        GOfastREWIND(app);
        break;
    case KeyCommand::ZoomStep:
        ZOOMvideo(app, 0, 0, zoomRequest(st.ZoomPercent, row->zoomDelta));
        app.InfoDisplay().INITIALIZE(zoomText(st.ZoomPercent), 2);
        break;
    case KeyCommand::Digit:
        digit(app, row->digit);
        break;
    case KeyCommand::CrazyVision:
        CRAZYvisionSWITCH(app);
        break;
    case KeyCommand::Speed:
        SPEEDstep(app, row->speedDelta);
        break;
    case KeyCommand::Mark:
        app.menu().pressMARK();
        break;
    case KeyCommand::ZoomMove:
        ZOOMvideo(app, row->dx, row->dy, zoomRequest(st.ZoomPercent, row->zoomDelta));
        break;
    }
}

bool KEYcommand(App& app, const QKeyEvent& event)
{
    const int code = virtualKey(event);
    if (code)
        KEYcommand(app, code);
    return code != 0;
}

} // namespace vv
