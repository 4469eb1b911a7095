// The NAVIGATE display: a strip of scene pictures standing on the position
// slider, the picture of the current scene marked, with the time code.

#include <algorithm>

#include "app/app.h"
#include "app/main_window.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "index/scene_window.h"
#include "script/overlay_layout.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv {

void SHOWnavigation(App& app)
{
    AppState& st = app.st;
    if (st.LoadedVideo.isEmpty()) {
        app.InfoDisplay().INITIALIZE(QStringLiteral("LOAD VIDEO FIRST!"), 3);
        return;
    }
    app.InfoDisplay().INITIALIZE(QStringLiteral("NAVIGATE"), 2);

    SliderWindow& slider = app.FormSlider();
    if (!slider.isVisible())
        slider.INITIALIZE();

    const int scenes = std::clamp<int>(st.SceneWindowCount, 0, App::SceneWindowSlots);
    const NavigationStrip strip =
        navigationStrip(app.MDI().widthPx(), st.DurationFrames, scenes,
                        roundEven32(app.video().currentPosition()), app.Player().widthTw(), topTw(&slider));

    // Pictures of an earlier strip or of the index grid that this strip
    // does not use would stand among its pictures.
    for (int i = 0; i < scenes; ++i) {
        const bool inStrip = i >= strip.first && i < strip.first + strip.pictures;
        if (!inStrip && app.FormImageExists(i) && !app.FormImage(i).isHidden())
            app.FormImage(i).hide();
    }
    for (int k = 0; k < strip.pictures; ++k) {
        SceneWindow& picture = app.FormImage(strip.sceneAt(k));
        setGeometryTw(&picture, strip.leftAt(k), strip.top, strip.width, strip.height);
        picture.show();
        picture.raise();
    }
    // The mark of the current scene. A window that counts as marked but shows
    // no frame (nothing has been marked since start-up) is marked afresh.
    if (strip.pictures > 0) {
        SceneWindow& current = app.FormImage(strip.current);
        if (current.Shape1->isHidden() && st.SelectedScene == strip.current)
            st.SelectedScene = -1;
        current.MarkMe();
    }

    st.SceneStripFirst = static_cast<std::int16_t>(strip.first);
    st.ActiveMode = 1;
    app.TimeDisplay().INITIALIZE(-1);
}

} // namespace vv
