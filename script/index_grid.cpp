#include <algorithm>

#include "app/app.h"
#include "app/twips.h"
#include "index/scene_window.h"
#include "script/index_grid_layout.h"
#include "script/overlays.h"
#include "video/player_window.h"

namespace vv {

// SELECT INDEX: every scene picture in a grid of four by four over the video
// window. The caller shows the "SELECT INDEX" text.
void SHOWindexgrid(App& app)
{
    HIDEall(app);
    PlayerWindow& player = app.Player();
    const QRect playerTwips(player.leftTw(), player.topTw(), player.widthTw(), player.heightTw());
    const int count = std::min<int>(app.st.SceneWindowCount, App::SceneWindowSlots);
    const QVector<QRect> cells = indexGridCells(playerTwips, count);
    for (int k = 0; k < cells.size(); ++k) {
        SceneWindow& scene = app.FormImage(k);
        const QRect& cell = cells[k];
        setGeometryTw(&scene, cell.left(), cell.top(), cell.width(), cell.height());
        scene.show();
        scene.raise();
    }
}

} // namespace vv
