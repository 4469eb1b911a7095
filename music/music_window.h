#pragma once
// The music window: the sorted list of music files ("*.mp3;*.wav") found
// below the music directory, played by a media player of its own,
// independent of the video. The list is searched the first time the window
// opens and kept for the whole run; the window hides itself when a file has
// been chosen and the file goes on playing. Its tick drives the ACDC
// simulator (music/acdc.h).

#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/mediaplayer.h"
#include "library/found_list_box.h"

namespace vv {

class App;

class MusicWindow : public QWidget {
    Q_OBJECT
public:
    MusicWindow(App& app, QWidget* parent);
    ~MusicWindow() override;

    // Hides the control panel, the slider and the scene pictures, searches
    // StartPath when it is not the music directory or nothing has been found
    // yet, and shows the window centred over the video window.
    void INITIALIZE(const QString& StartPath);
    // Searches StartPath and everything below it for music files. Display
    // names are cut by the length of the music directory setting.
    void SCANMEDIA(const QString& StartPath);
    // Starts a music file from its beginning; the ACDC simulator decides
    // first whether it starts, continues or ends a simulation. "" unloads.
    void InitializeSound(const QString& Datei);
    // Selects the entry after the selected one (the first after the last, or
    // when none is selected) and returns its full path; "" for an empty list.
    QString getNEXTfromPLAYLIST();
    // True while InitializeSound runs (the concert video may be loading and
    // window events run in between): the simulator's tick waits meanwhile.
    bool enteringSound() const { return enteringSound_; }

    MediaPlayer& MediaPlayer1() { return *player_; }

    // The path list (full paths in the order found) and the display list.
    const FoundMedia& found() const { return lstFoundFiles2->found(); }
    const QStringList& lstFoundFiles() const { return found().paths(); }
    // Full path of the selected display entry, "" when none is selected.
    QString selectedPath() const { return lstFoundFiles2->selectedPath(); }
    // Selects display entry i (the position label follows).
    void select(int i) { lstFoundFiles2->select(i); }

    QLabel* LabelTitel;
    QLabel* LabelFile1Count;
    FoundListBox* lstFoundFiles2;
    // The ACDC simulator's tick, 500 ms, running for the whole run.
    QTimer Timer1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged(int index);
    void doubleClicked();
    void enterPressed();

    App& app_;
    std::unique_ptr<MediaPlayer> player_;
    bool enteringSound_ = false;
};

// The position label: "5 OF 12" for the fifth of twelve entries.
QString musicPositionText(int index, int count);

} // namespace vv
