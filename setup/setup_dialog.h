#pragma once
// The setup dialog: the three start directories, the display and playlist
// options, and the zoom and position of the video picture. Only the
// directories and the picture's geometry are stored (settings.ini); the
// options act at once for this run.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

namespace vv {

class App;

class SetupDialog : public QWidget {
    Q_OBJECT
public:
    SetupDialog(App& app, QWidget* parent);

    // Hides the overlays, centres the dialog on the main window and shows it.
    void INITIALIZE();
    // Copies every found video path into the random playlist.
    void INITIALIZEListRandomPlayback();
    // The directory chooser: the chosen directory, "" after Cancel.
    QString SelectDirectory(const QString& Titel, const QString& StartPath);

    // The DEFAULT button's action as a click would run it (start-up and crazy
    // vision press it).
    void pressRESET();

    QLabel* LabelTitel;
    QLabel* Label5;
    QLabel* Image1;
    QWidget* Picture5;  // DIRECTORIES
    QWidget* Picture3;  // OPTIONS
    QWidget* Picture1;  // ZOOM + POSITION
    QLabel* Label6;
    QLabel* Label2;
    QLabel* Label1;

    QLabel* Label7;
    QLineEdit* TextVideoDir;
    QPushButton* CommandSetVideoDir;
    QLabel* Label8;
    QLineEdit* TextCDROMdir;
    QPushButton* CommandSetCDROM;
    QLabel* Label9;
    QLineEdit* TextMP3dir;
    QPushButton* CommandSETmp3;

    std::array<QRadioButton*, 2> Option1{};
    QCheckBox* CheckFastPreviewMode;
    QCheckBox* CheckRANDOMplaylist;
    QCheckBox* CheckFULLSCREENstart;
    QCheckBox* CheckPIP;
    QCheckBox* CheckAlwaysOnTop;

    QPushButton* CommandSmaller;
    QLabel* LabelZoomFaktor;
    QPushButton* CommandBigger;
    QScrollBar* HScrollZOOM;
    QPushButton* CommandUP;
    QPushButton* CommandLEFT;
    QPushButton* CommandRIGHT;
    QPushButton* CommandDOWN;
    QPushButton* CommandRESET;
    QPushButton* CommandCANCEL;
    QPushButton* CommandSAVESETTINGS;

private:
    void setVideoDir();
    // Puts the chosen directory into field; false after Cancel.
    bool chooseInto(QLineEdit* field);
    // The held +/- buttons: one percent per step until released.
    void holdZoom(QPushButton* button, int step);
    void movePicture(int dx, int dy);
    // Puts the scroll bar on the present zoom without zooming.
    void showZoomOnScrollBar();

    App& app_;
};

// The title of the directory chooser for all three directory rows, and the
// directory it opens at (the file system root).
inline const QString ChooseDirectoryTitle = QStringLiteral("Startverzeichnis der AVI-Dateien...");
inline const QString ChooseDirectoryStart = QStringLiteral("/");

// The pace of the held +/- buttons: one percent per step.
inline constexpr int ZoomStepMilliseconds = 20;

} // namespace vv
