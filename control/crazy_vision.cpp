#include "control/crazy_vision.h"

#include "app/app.h"
#include "control/crazy_motion.h"
#include "script/overlays.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"
#include "video/zoom.h"

namespace vv {

namespace {

constexpr std::int16_t StartZoomPercent = 150;

// Closes every overlay. The information display that announced the mode has
// just been shown; it stays up for its time instead of vanishing unseen.
void closeOverlaysKeepingAnnouncement(App& app)
{
    const bool announcing =
        app.hasInfoDisplay() && app.InfoDisplay().isVisible() && app.st.InfoDisplayCountdown > 0;
    HIDEall(app);
    if (announcing)
        app.InfoDisplay().show();
}

void runMotion(App& app, const CrazyMotion& motion)
{
    for (const CrazyStep& step : motion.steps) {
        ZOOMvideo(app, step.dx, step.dy, step.zoom.value_or(app.st.ZoomPercent));
        app.sv.runEventsFor(CrazyStepMilliseconds);
    }
}

} // namespace

void CRAZYvisionSWITCH(App& app)
{
    AppState& st = app.st;
    if (st.crazyvision == 0) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("CRAZY VISION ON"), 2);
        st.crazyvision = 1;
        CRAZYvision(app);
    } else if (st.crazyvision == 1) {
        st.motionstop = true;
        app.SETUP().pressRESET();
        // Shown after the reset, so that it stands on the corner of the
        // picture as the user now sees it rather than on a zoomed corner
        // outside the window.
        app.InfoDisplay().INITIALIZE(QStringLiteral("CRAZY VISION OFF"), 2);
        st.crazyvision = 0;
    }
}

void CRAZYvision(App& app)
{
    AppState& st = app.st;
    closeOverlaysKeepingAnnouncement(app);
    app.sv.randomize();
    ZOOMvideo(app, 0, 0, StartZoomPercent);
    st.motionstop = false;

    CrazyMotionGenerator motions([&app] { return app.sv.rnd(); });
    while (!st.motionstop) {
        runMotion(app, motions.next(st.ZoomPercent));
        app.sv.processEvents();
    }

    // Switched off while a motion was running: that motion has zoomed and
    // moved the picture again after the reset, so the reset is repeated. A
    // loop ended by the setup dialog's zoom buttons leaves the picture as the
    // user zoomed it.
    if (st.crazyvision == 0)
        app.SETUP().pressRESET();
}

} // namespace vv
