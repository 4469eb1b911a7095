#include "script/overlays.h"

#include "app/app.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "index/scene_window.h"
#include "library/video_selection_window.h"
#include "script/slider_window.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"

namespace vv {

namespace {

void hideIfVisible(QWidget* w)
{
    if (w->isVisible())
        w->hide();
}

} // namespace

void SHOWpanels(App& app)
{
    app.menu().INITIALIZE();
    SHOWnavigation(app);
    app.TimeDisplay().INITIALIZE(0);
}

void HIDEscenepictures(App& app)
{
    for (int i = 0; i < app.st.SceneWindowCount && i < App::SceneWindowSlots; ++i)
        if (app.FormImageExists(i))
            hideIfVisible(&app.FormImage(i));
}

void HIDEinteraction(App& app)
{
    for (int i = 0; i < App::CommandWindowSlots; ++i)
        if (app.FormCommandExists(i))
            hideIfVisible(&app.FormCommand(i));
}

void HIDEall(App& app)
{
    if (app.hasDATEIMENU())
        hideIfVisible(&app.DATEIMENU());
    if (app.hasSETUP())
        hideIfVisible(&app.SETUP());
    HIDEscenepictures(app);
    HIDEinteraction(app);
    if (app.hasFormSlider())
        hideIfVisible(&app.FormSlider());
    if (app.hasMenu())
        hideIfVisible(&app.menu());
    if (app.hasTimeDisplay())
        hideIfVisible(&app.TimeDisplay());
    if (app.hasInfoDisplay())
        hideIfVisible(&app.InfoDisplay());
    if (app.hasMessageDisplay())
        app.MessageDisplay().hide();
    app.st.ActiveMode = 0;
}

} // namespace vv
