#include "video/player_window.h"

#include "app/app.h"
#include "app/look.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "video/playback.h"

namespace vv {

PlayerWindow::PlayerWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, Qt::black);

    player_ = app.makePlayer(this);
    connect(player_.get(), &MediaPlayer::keyPressed, this,
            [this](int code) { KEYcommand(app_, code); });
    connect(player_.get(), &MediaPlayer::clicked, this, &PlayerWindow::pictureClicked);
    // A slider not made yet is placed when it is first shown.
    connect(player_.get(), &MediaPlayer::positionChanged, this, [this] {
        if (app_.hasFormSlider())
            app_.FormSlider().followPosition(false);
    });

    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, [this] { playbackTick(app_); });
    Timer2.setInterval(1000);
    connect(&Timer2, &QTimer::timeout, this, [this] { displayTick(app_); });
    Timer2.start();
}

PlayerWindow::~PlayerWindow()
{
    Timer1.stop();
    Timer2.stop();
}

int PlayerWindow::leftTw() const { return tw(x()); }
int PlayerWindow::topTw() const { return tw(y()); }
int PlayerWindow::widthTw() const { return tw(width()); }
int PlayerWindow::heightTw() const { return tw(height()); }

void PlayerWindow::pictureClicked(bool insidePicture)
{
    if (!insidePicture) {
        // A click on the window beside the picture opens the control panel.
        app_.menu().INITIALIZE();
        return;
    }
    if (app_.st.ActiveMode != 0)
        HIDEall(app_);
    else
        SHOWpanels(app_);
}

} // namespace vv
