#pragma once
// The video window: holds the video picture (the media player), the
// playback tick, the display tick and the hidden random playlist.

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/mediaplayer.h"

namespace vv {

class App;

class PlayerWindow : public QWidget {
    Q_OBJECT
public:
    PlayerWindow(App& app, QWidget* parent);
    ~PlayerWindow() override;

    MediaPlayer& MediaPlayer1() { return *player_; }

    // Playback tick, 500 ms, off until a video is loaded.
    QTimer Timer1;
    // Display tick, 1000 ms, always on.
    QTimer Timer2;
    // The random playlist: full paths, each removed when it is picked.
    QStringList ListRandomPlayback;

    // Geometry in twips inside the main window's client area.
    int leftTw() const;
    int topTw() const;
    int widthTw() const;
    int heightTw() const;

private:
    void pictureClicked(bool insidePicture);

    App& app_;
    std::unique_ptr<MediaPlayer> player_;
};

} // namespace vv
