#pragma once
// The control panel `menu`: a strip across the bottom of the main window with
// every button of the player in four groups (transport, functions, scene
// index keypad, range marking). It adapts to the main window's width by
// showing two, three or all four groups. Showing it announces "NAVIGATE".

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "script/script_list_box.h"

namespace vv {

class App;

class ControlPanel : public QWidget {
    Q_OBJECT
public:
    ControlPanel(App& app, QWidget* parent);

    // Lays the panel out for the main window's present width and shows it.
    void INITIALIZE();

    // Runs the PLAY button's action as a click would (also when the button is
    // disabled: the keys R and S and the load commands use it).
    void pressPLAY();
    // True while the PLAY button reads "STOP": the video is meant to play,
    // whatever a seek or a drag of the slider has paused for the moment.
    bool meantToPlay() const;
    // Runs the MARK button's action (the L key).
    void pressMARK();

    // The four groups.
    QWidget* PictureControls1;
    QWidget* PictureControls2;
    QWidget* PictureControls3;
    QWidget* PictureControls4;
    // Frames inside the groups.
    QWidget* Picture1;  // keypad
    QWidget* Picture2;  // logo
    QWidget* Picture3;  // video, CD, MP3, previous, next
    QWidget* Picture4;  // setup, help, full, crazy, slow, fast
    QWidget* Picture5;  // IN, OUT, MARK
    QWidget* Picture6;  // ACTION
    QWidget* Picture7;  // transport
    QLabel* LabelLogo;

    QPushButton* CommandEXIT;
    QPushButton* CommandFASTBACK;
    QPushButton* CommandBACK;
    QPushButton* CommandPREVframe;
    QPushButton* CommandPLAY;
    QPushButton* CommandNEXTframe;
    QPushButton* CommandFORWARD;
    QPushButton* CommandFASTFORWARD;

    QPushButton* CommandSETUP;
    QPushButton* CommandHELP;
    QPushButton* CommandFULLSCREEN;
    QPushButton* CommandCRAZY;
    QPushButton* CommandSLOW;
    QPushButton* CommandFAST;

    QPushButton* CommandDatei;
    QPushButton* CommandPreviousVideo;
    QPushButton* CommandNextVideo;
    QPushButton* CommandCD;
    QPushButton* CommandMP3;
    QPushButton* CommandINTERACT;

    QPushButton* CommandINDEX;
    std::array<QPushButton*, 10> CommandZiffer{};

    ScriptListBox* ListSCRIPT;
    QPushButton* CommandMarkIN;
    QPushButton* CommandMarkOUT;
    QPushButton* CommandMARK;
    QPushButton* CommandLEARN;
    QPushButton* CommandDELETE;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void passKeysOf(QWidget* w);

    App& app_;
};

} // namespace vv
