#include "video/zoom.h"

#include "app/app.h"
#include "app/numbers.h"
#include "setup/setup_dialog.h"
#include "video/player_window.h"
#include "video/zoom_geometry.h"

namespace vv {

namespace {

PictureRect pictureOf(MediaPlayer& player)
{
    const QRectF r = player.pictureRect();
    return {static_cast<std::int32_t>(roundEven(r.left())), static_cast<std::int32_t>(roundEven(r.top())),
            static_cast<std::int32_t>(roundEven(r.width())), static_cast<std::int32_t>(roundEven(r.height()))};
}

void apply(App& app, const ZoomedPicture& zoomed)
{
    app.video().setPictureRect(QRectF(zoomed.rect.left, zoomed.rect.top, zoomed.rect.width, zoomed.rect.height));
    app.st.ZoomPercent = zoomed.zoomPercent;
    app.SETUP().LabelZoomFaktor->setText(zoomLabelText(zoomed.zoomPercent));
}

} // namespace

void ZOOMvideo(App& app, std::int32_t dx, std::int32_t dy, std::int16_t zoom)
{
    PlayerWindow& window = app.Player();
    apply(app, zoomPicture(pictureOf(window.MediaPlayer1()), window.widthTw(), window.heightTw(), dx, dy, zoom,
                           app.st.ZoomPercent));
}

void SIZEvideo(App& app, std::int16_t& zoom, std::int16_t centre)
{
    if (zoom < MinZoomPercent)
        zoom = MinZoomPercent;
    PlayerWindow& window = app.Player();
    apply(app, sizePicture(pictureOf(window.MediaPlayer1()), window.widthTw(), window.heightTw(), zoom, centre == 1));
}

} // namespace vv
