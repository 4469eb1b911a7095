#pragma once
// The music window: the sorted list of music files found below the music
// directory, played by a media player of its own, independent of the video.
// Its tick drives the ACDC simulator.

#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/mediaplayer.h"
#include "library/media_scan.h"

namespace vv {

class App;

class MusicWindow : public QWidget {
    Q_OBJECT
public:
    MusicWindow(App& app, QWidget* parent);
    ~MusicWindow() override;

    // Opens the window (scanning the music directory the first time).
    void INITIALIZE(const QString& StartPath);
    void SCANMEDIA(const QString& StartPath);
    // Starts a music file (the ACDC simulator decides first).
    void InitializeSound(const QString& Datei);
    // Selects the next entry of the list (the first after the last) and
    // returns its full path; "" for an empty list.
    QString getNEXTfromPLAYLIST();

    MediaPlayer& MediaPlayer1() { return *player_; }
    const FoundMedia& found() const { return found_; }

    QLabel* LabelTitel;
    QLabel* LabelFile1Count;
    QListWidget* lstFoundFiles2;
    QTimer Timer1;

private:
    App& app_;
    std::unique_ptr<MediaPlayer> player_;
    FoundMedia found_;
};

} // namespace vv
