#include "control/transport.h"

#include "app/app.h"
#include "app/main_window.h"
#include "app/numbers.h"
#include "control/control_panel.h"
#include "control/speed.h"
#include "control/keymap.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/playback.h"
#include "video/player_window.h"

namespace vv {

namespace {

// A step of d frames from the present position, with its confirmation.
void step(App& app, const QString& text, std::int16_t timeSeconds, double d)
{
    app.InfoDisplay().INITIALIZE(text, 2);
    app.TimeDisplay().INITIALIZE(timeSeconds);
    const double p = app.video().currentPosition();
    GOTOposition(app, roundEven32(p + d));
}

// Thirty seconds in frames, computed wide: a frame rate above 1092 would
// overflow a 16-bit product.
double thirtySeconds(const App& app)
{
    return 30.0 * app.st.FrameRate;
}

void loadNeighbour(App& app, const QString& text, bool next)
{
    app.InfoDisplay().INITIALIZE(text, 2);
    app.InfoDisplay().repaint();
    const QString path = next ? getNEXTvideo(app) : getPREVIOUSvideo(app);
    INITIALIZEvideo(app, path, 0);
    // Nothing to play when the load failed or there was no such entry.
    if (!app.st.LoadedVideo.isEmpty() && !app.menu().meantToPlay())
        app.menu().pressPLAY();
}

// The scene pictures belong to the loaded video; without one they would show
// another video's scenes (or none) and lead nowhere.
bool refuseWithoutVideo(App& app)
{
    if (!app.st.LoadedVideo.isEmpty())
        return false;
    app.InfoDisplay().INITIALIZE(QStringLiteral("LOAD VIDEO FIRST!"), 3);
    return true;
}

} // namespace

void PLAYstop(App& app)
{
    MediaPlayer& player = app.video();
    ControlPanel& menu = app.menu();
    if (player.playState() == MediaPlayer::Playing) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("STOP"), 2);
        app.Player().Timer1.stop();
        player.stop();
        menu.CommandPLAY->setText(QStringLiteral("PLAY"));
        menu.CommandPLAY->repaint();
    } else {
        app.InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
        player.play();
        menu.CommandPLAY->setText(QStringLiteral("STOP"));
        menu.CommandPLAY->repaint();
        app.Player().Timer1.start();
    }
}

void GOnextFRAME(App& app) { step(app, QStringLiteral("NEXT FRAME"), 5, 1); }
void GOpreviousFRAME(App& app) { step(app, QStringLiteral("PREVIOUS FRAME"), 3, -1); }
void GOforward(App& app) { step(app, QStringLiteral("FORWARD"), 3, app.st.FrameRate); }
void GOrewind(App& app) { step(app, QStringLiteral("REWIND"), 3, -app.st.FrameRate); }
void GOfastFORWARD(App& app) { step(app, QStringLiteral("FAST FORWARD"), 3, thirtySeconds(app)); }
void GOfastREWIND(App& app) { step(app, QStringLiteral("FAST REWIND"), 3, -thirtySeconds(app)); }

void SPEEDup(App& app) { SPEEDstep(app, 0.1); }
void SPEEDdown(App& app) { SPEEDstep(app, -0.1); }

void SPEEDstep(App& app, double delta)
{
    float rate = steppedRate(app.video().rate(), delta);
    SETspeed(app, rate);
}

void SETspeed(App& app, float& rate)
{
    const SpeedSetting setting = speedSetting(rate);
    rate = setting.rate;
    app.InfoDisplay().INITIALIZE(setting.text, 1);
    app.video().setRate(rate);
}

void JUMPindex(App& app, std::int16_t n)
{
    if (refuseWithoutVideo(app))
        return;
    HIDEscenepictures(app);
    app.InfoDisplay().INITIALIZE(jumpIndexText(n), 2);
    const int k = n != 0 ? 2 * n - 1 : 0;
    app.st.SelectedScene = static_cast<std::int16_t>(k);
    const auto target = static_cast<std::int32_t>(leadingNumber(app.FormImage(k).Image1->toolTip()));
    for (int i = 1; i < App::SceneWindowSlots; i += 2) {
        SceneWindow& w = app.FormImage(i);
        w.Shape1->setVisible(i == k);
        w.LabelTime->setVisible(i == k);
    }
    GOTOposition(app, target);
}

void SELECTindex(App& app)
{
    if (refuseWithoutVideo(app))
        return;
    if (app.st.ActiveMode == 4) {
        HIDEall(app);
        return;
    }
    SHOWindexgrid(app);
    app.InfoDisplay().INITIALIZE(QStringLiteral("SELECT INDEX"), -1);
}

void LOADpreviousVIDEO(App& app) { loadNeighbour(app, QStringLiteral("LOAD PREVIOUS"), false); }
void LOADnextVIDEO(App& app) { loadNeighbour(app, QStringLiteral("LOAD NEXT"), true); }

void FULLSCREENswitch(App& app)
{
    HIDEall(app);
    if (app.st.FullScreenMode != 0)
        app.MDI().FULLSCREENdisable();
    else
        app.MDI().FULLSCREENenable();
}

void VIDEOLISTswitch(App& app, const QString& startDirectory)
{
    if (app.st.ActiveMode == 3)
        HIDEall(app);
    else
        app.DATEIMENU().INITIALIZE(startDirectory);
}

void EXITplayer(App& app)
{
    // At once: unloading a playing video first would keep the user waiting,
    // and nothing is left to save.
    app.sv.endProgram();
}

void CommandPLAY_Click(App& app)
{
    if (app.video().fileName().isEmpty()) {
        const QString path = getNEXTvideo(app);
        if (!path.isEmpty()) {
            INITIALIZEvideo(app, path, 0);
            return;
        }
    }
    PLAYstop(app);
}

} // namespace vv
