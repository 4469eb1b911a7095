#include "app/app.h"

#include "app/main_window.h"
#include "control/command_window.h"
#include "control/control_panel.h"
#include "index/scene_window.h"
#include "library/directory_chooser.h"
#include "library/video_selection_window.h"
#include "music/music_window.h"
#include "script/slider_window.h"
#include "script/text_entry_dialog.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv {

App::App(Services& services, PlayerFactory playerFactory)
    : sv(services), playerFactory_(std::move(playerFactory))
{
}

App::~App()
{
    // Top-level windows first, then the main window with all its children.
    delete verz_;
    delete textEntry_;
    delete mdi_;
}

MediaPlayer& App::video() { return Player().MediaPlayer1(); }
MediaPlayer& App::music() { return FormMP3().MediaPlayer1(); }

MainWindow& App::MDI()
{
    if (!mdi_)
        mdi_ = new MainWindow(*this);
    return *mdi_;
}

// Child windows live in the main window's client area, above the video window.
PlayerWindow& App::Player()
{
    if (!player_) {
        player_ = new PlayerWindow(*this, MDI().client());
        player_->lower();
    }
    return *player_;
}

InfoDisplayWindow& App::InfoDisplay()
{
    if (!infoDisplay_)
        infoDisplay_ = new InfoDisplayWindow(*this, MDI().client());
    return *infoDisplay_;
}

MessageDisplayWindow& App::MessageDisplay()
{
    if (!messageDisplay_)
        messageDisplay_ = new MessageDisplayWindow(*this, MDI().client());
    return *messageDisplay_;
}

TimeDisplayWindow& App::TimeDisplay()
{
    if (!timeDisplay_)
        timeDisplay_ = new TimeDisplayWindow(*this, MDI().client());
    return *timeDisplay_;
}

ControlPanel& App::menu()
{
    if (!menu_)
        menu_ = new ControlPanel(*this, MDI().client());
    return *menu_;
}

SliderWindow& App::FormSlider()
{
    if (!slider_)
        slider_ = new SliderWindow(*this, MDI().client());
    return *slider_;
}

TextEntryDialog& App::FormTexteingabe()
{
    if (!textEntry_)
        textEntry_ = new TextEntryDialog(*this);
    return *textEntry_;
}

VideoSelectionWindow& App::DATEIMENU()
{
    if (!dateimenu_)
        dateimenu_ = new VideoSelectionWindow(*this, MDI().client());
    return *dateimenu_;
}

DirectoryChooser& App::VERZ()
{
    if (!verz_)
        verz_ = new DirectoryChooser(*this);
    return *verz_;
}

MusicWindow& App::FormMP3()
{
    if (!mp3_)
        mp3_ = new MusicWindow(*this, MDI().client());
    return *mp3_;
}

SetupDialog& App::SETUP()
{
    if (!setup_)
        setup_ = new SetupDialog(*this, MDI().client());
    return *setup_;
}

SceneWindow& App::FormImage(int index)
{
    Q_ASSERT(index >= 0 && index < SceneWindowSlots);
    SceneWindow*& slot = images_.at(static_cast<std::size_t>(index));
    if (!slot) {
        slot = new SceneWindow(*this, MDI().client());
        slot->tag = QString::number(index);
    }
    return *slot;
}

bool App::FormImageExists(int index) const
{
    return index >= 0 && index < SceneWindowSlots && images_.at(static_cast<std::size_t>(index));
}

CommandWindow& App::FormCommand(int index)
{
    Q_ASSERT(index >= 0 && index < CommandWindowSlots);
    CommandWindow*& slot = commands_.at(static_cast<std::size_t>(index));
    if (!slot)
        slot = new CommandWindow(*this, MDI().client());
    return *slot;
}

bool App::FormCommandExists(int index) const
{
    return index >= 0 && index < CommandWindowSlots && commands_.at(static_cast<std::size_t>(index));
}

} // namespace vv
