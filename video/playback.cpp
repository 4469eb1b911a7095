#include "video/playback.h"

#include "app/app.h"
#include "script/overlays.h"
#include "video/displays.h"

namespace vv {

void playbackTick(App&) {}

void displayTick(App& app)
{
    AppState& st = app.st;
    if (st.InfoDisplayCountdown > 0) {
        --st.InfoDisplayCountdown;
        if (st.InfoDisplayCountdown == 0 && app.hasInfoDisplay())
            app.InfoDisplay().hide();
    }
    if (st.TimeDisplayCountdown > 0) {
        --st.TimeDisplayCountdown;
        if (st.TimeDisplayCountdown == 0 && st.ActiveMode != 1) {
            if (app.hasTimeDisplay())
                app.TimeDisplay().hide();
            HIDEall(app);
        }
    }
    if (st.MessageDisplayCountdown > 0) {
        --st.MessageDisplayCountdown;
        if (st.MessageDisplayCountdown == 0 && app.hasMessageDisplay() && app.MessageDisplay().isVisible())
            app.MessageDisplay().hide();
    }
}

QString getNEXTvideo(App&) { return QString(); }
QString getPREVIOUSvideo(App&) { return QString(); }

} // namespace vv
