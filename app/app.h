#pragma once
// The application object: owns the process-wide state, the outside services,
// the media players and every window. Windows are created on first use and
// live until the App is destroyed; they reach each other and the state only
// through the App.

#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "app/mediaplayer.h"
#include "app/services.h"
#include "app/state.h"

class QWidget;

namespace vv {

class MainWindow;
class PlayerWindow;
class InfoDisplayWindow;
class MessageDisplayWindow;
class TimeDisplayWindow;
class ControlPanel;
class CommandWindow;
class SliderWindow;
class TextEntryDialog;
class VideoSelectionWindow;
class DirectoryChooser;
class SceneWindow;
class MusicWindow;
class SetupDialog;

inline const QString AppTitle = QStringLiteral("VardellVision");
inline const QString MainCaption = QStringLiteral("VardellVision 0.1");

class App {
public:
    // Makes a media player. host is the window that shows the picture, or
    // null for the audio-only player of the music window.
    using PlayerFactory = std::function<std::unique_ptr<MediaPlayer>(QWidget* host)>;

    App(Services& services, PlayerFactory playerFactory);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    AppState st;
    Services& sv;
    // The folder of the executable ("" = the running program's own); the
    // program directory is derived from it at start-up.
    QString executableDir;
    // After a scan of the video list, the missing preview sheets of the whole
    // list are made in the background (the program; tests that want it).
    bool makeListSheets = false;

    std::unique_ptr<MediaPlayer> makePlayer(QWidget* host) const { return playerFactory_(host); }

    // The video window's player (MediaPlayer1 of the video window).
    MediaPlayer& video();
    // The music window's player.
    MediaPlayer& music();

    MainWindow& MDI();
    PlayerWindow& Player();
    InfoDisplayWindow& InfoDisplay();
    MessageDisplayWindow& MessageDisplay();
    TimeDisplayWindow& TimeDisplay();
    ControlPanel& menu();
    SliderWindow& FormSlider();
    TextEntryDialog& FormTexteingabe();
    VideoSelectionWindow& DATEIMENU();
    DirectoryChooser& VERZ();
    MusicWindow& FormMP3();
    SetupDialog& SETUP();

    // Scene image windows 0..17 and interaction windows 0..8, created when
    // first addressed.
    static constexpr int SceneWindowSlots = 18;
    static constexpr int CommandWindowSlots = 9;
    SceneWindow& FormImage(int index);
    bool FormImageExists(int index) const;
    CommandWindow& FormCommand(int index);
    bool FormCommandExists(int index) const;

    // Whether a window has been created yet (asking does not create it).
    bool hasMenu() const { return menu_ != nullptr; }
    bool hasDATEIMENU() const { return dateimenu_ != nullptr; }
    bool hasSETUP() const { return setup_ != nullptr; }
    bool hasFormSlider() const { return slider_ != nullptr; }
    bool hasFormMP3() const { return mp3_ != nullptr; }
    bool hasTimeDisplay() const { return timeDisplay_ != nullptr; }
    bool hasInfoDisplay() const { return infoDisplay_ != nullptr; }
    bool hasMessageDisplay() const { return messageDisplay_ != nullptr; }

private:
    PlayerFactory playerFactory_;
    // Qt parents own the windows; the MDI is the parent of every child
    // window and is deleted by the destructor.
    MainWindow* mdi_ = nullptr;
    PlayerWindow* player_ = nullptr;
    InfoDisplayWindow* infoDisplay_ = nullptr;
    MessageDisplayWindow* messageDisplay_ = nullptr;
    TimeDisplayWindow* timeDisplay_ = nullptr;
    ControlPanel* menu_ = nullptr;
    SliderWindow* slider_ = nullptr;
    TextEntryDialog* textEntry_ = nullptr;
    VideoSelectionWindow* dateimenu_ = nullptr;
    DirectoryChooser* verz_ = nullptr;
    MusicWindow* mp3_ = nullptr;
    SetupDialog* setup_ = nullptr;
    std::array<SceneWindow*, SceneWindowSlots> images_{};
    std::array<CommandWindow*, CommandWindowSlots> commands_{};
};

} // namespace vv
