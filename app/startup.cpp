#include "app/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include "app/app.h"
#include "app/atomic_file.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "library/open_video.h"
#include "library/video_selection_window.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv {

namespace {

const QString WebAddress = QStringLiteral("www.vardellvision.example.org");

} // namespace

void enableVideoButtons(App& app)
{
    ControlPanel& menu = app.menu();
    for (QPushButton* b : {menu.CommandDatei, menu.CommandPLAY, menu.CommandPreviousVideo, menu.CommandNextVideo})
        b->setEnabled(true);
}

QString startupNotice()
{
    const QStringList lines = {
        QStringLiteral("VARDELLVISION 2001"),
        WebAddress,
        QStringLiteral("Version 0.1"),
        QString(),
        QStringLiteral("Dieses Programm ist eine Testversion des Players aus dem VardellVision-Projekt. "
                       "Ohne die Grundlagen dieses Projekts ist das Programm ohne Nutzen. "
                       "Alle Fakten über das Projekt finden sich auf der Webseite des Projekts."),
        QString(),
        QStringLiteral("Installationsvoraussetzungen:"),
        QStringLiteral("1. Betriebssystem: Windows ME"),
        QStringLiteral("2. Windows Mediaplayer Version 7 (wird mit ME installiert)"),
        QStringLiteral("3. Benötigte MPEG4-Video-Codecs MÜSSEN installiert sein!"),
        QStringLiteral("4. Player läuft in aktueller Version nur mit Videos die sich auf FESTPLATTE (NICHT AUF CD!) befinden!"),
        QString(),
        QStringLiteral("Anmerkung zum Betriebbsystem: Der Player sollte auch auf sämtlichen Windows 95/98/ME ") +
            QStringLiteral("Installationen laufen, auf denen AUCH der Windows Mediaplayer 7 installiert ist. Dafür ") +
            QStringLiteral("gibt es im Moment noch keine Gewähr. Unter Windows NT/2000 ist der Player derzeit NICHT lauffähig!"),
        QString(),
        QString(),
    };
    return lines.join(QLatin1Char('\r'));
}

QString startupMessage()
{
    return WebAddress.toUpper() + QLatin1Char('\r') + QStringLiteral("VARDELLVISION 2001");
}

bool screenLargeEnough(const QSize& pixels)
{
    return pixels.width() >= 767 && pixels.height() >= 576;
}

QString programDirectory(const QString& executableDir)
{
    QString dir = executableDir;
    const QFileInfo info(dir);
    if (dir.isEmpty() || !info.isDir() || !info.isWritable()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/vardellvision");
        QDir().mkpath(dir);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

namespace {

// Writes the settings with the given picture geometry and the setup
// dialog's three fields.
bool writeSettings(App& app, Settings s)
{
    SetupDialog& setup = app.SETUP();
    s.VideoDir = setup.TextVideoDir->text();
    s.CDROMDir = setup.TextCDROMdir->text();
    s.MP3Dir = setup.TextMP3dir->text();
    QString error;
    const bool written = writeSettingsFile(app.st.SettingsFile, s, &error);
    if (!written)
        app.sv.messageBox(QStringLiteral("The settings cannot be written:\r\n") + app.st.SettingsFile +
                              QStringLiteral("\r\n") + error,
                          Services::Icon::Critical);
    if (!app.st.VideoDir.isEmpty())
        enableVideoButtons(app);
    return written;
}

} // namespace

bool SAVEsettings(App& app)
{
    Settings s;
    const QRectF picture = app.video().pictureRect();
    s.VideoLeft = static_cast<float>(picture.left());
    s.VideoTop = static_cast<float>(picture.top());
    s.VideoWidth = static_cast<float>(picture.width());
    s.VideoHeight = static_cast<float>(picture.height());
    return writeSettings(app, s);
}

void LOADsettings(App& app)
{
    const LoadedSettings s = readSettingsFile(app.st.SettingsFile);
    app.st.VideoLeft = s.VideoLeft;
    app.st.VideoTop = s.VideoTop;
    app.st.VideoWidth = s.VideoWidth;
    app.st.VideoHeight = s.VideoHeight;
    SetupDialog& setup = app.SETUP();
    setup.TextVideoDir->setText(s.VideoDir);
    setup.TextCDROMdir->setText(s.CDROMDir);
    setup.TextMP3dir->setText(s.MP3Dir);
}

void INITIALIZEmediaplayer(App& app)
{
    app.video().applyFixedOptions();
}

bool Main(App& app, const QString& file, const QString& folder)
{
    AppState& st = app.st;
    if (file.isEmpty())
        app.sv.messageBox(startupNotice());

    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
    if (!screenLargeEnough(screen)) {
        app.sv.messageBox(QStringLiteral("Bitte mindestens Bildschirmgrösse 768 x 576 oder 800 x 600 einstellen!"));
        app.sv.endProgram();
        return false;
    }

    MainWindow& mdi = app.MDI();
    mdi.resize(768, 576);
    mdi.show();
    mdi.setWidthTw(tw(768));

    st.ProgramDir = programDirectory(app.executableDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                                                 : app.executableDir);
    st.SceneWindowCount = 16;
    st.IndexCellWidth = roundEven16(640.0 / 4 * TwipsPerPixel);
    st.IndexCellHeight = roundEven16(st.IndexCellWidth * 3.0 / 4);
    st.MarkIn = -1;
    st.MarkOut = -1;
    st.SceneStripFirst = -1;
    st.ActiveMode = 0;
    st.ZoomPercent = 100;

    // The scene windows, each numbered by its tag as it is made.
    for (int i = 0; i < st.SceneWindowCount; ++i)
        app.FormImage(i);

    st.SettingsFile = st.ProgramDir + QStringLiteral("settings.ini");
    // The first settings file holds the picture's design geometry (the main
    // window has already fitted the picture to itself by now).
    if (!FileExists(st.SettingsFile))
        writeSettings(app, Settings{});
    LOADsettings(app);

    SetupDialog& setup = app.SETUP();
    st.VideoDir = setup.TextVideoDir->text();
    st.CDROMDir = setup.TextCDROMdir->text();
    st.MP3Dir = setup.TextMP3dir->text();
    // Only this run: the setup dialog and settings.ini keep their directory.
    if (!file.isEmpty())
        st.VideoDir = videoDirectoryFor(file, st.VideoDir);
    else if (!folder.isEmpty())
        st.VideoDir = folder;

    app.video().setPictureRect(QRectF(st.VideoLeft, st.VideoTop, st.VideoWidth, st.VideoHeight));

    if (st.VideoDir.isEmpty()) {
        app.sv.messageBox(QStringLiteral(
            "ACHTUNG: Es wurde noch kein Verzeichnis festgelegt, ab dem nach Videodateien gesucht werden soll! "
            "Bitte dies zu erst im Setup-Menü erledigen!"));
        setup.INITIALIZE();
        setup.pressRESET();
    } else {
        enableVideoButtons(app);
    }

    if (!st.VideoDir.isEmpty())
        app.DATEIMENU().SCANMEDIA(st.VideoDir);

    INITIALIZEmediaplayer(app);

    PlayerWindow& player = app.Player();
    player.show();

    if (file.isEmpty())
        app.MessageDisplay().INITIALIZE(startupMessage(), 3);

    if (st.VideoDir.isEmpty())
        setup.INITIALIZE();

    // Keys work at once: the keyboard focus rests on the video picture.
    if (QWidget* picture = app.video().widget())
        picture->setFocus(Qt::OtherFocusReason);
    if (!file.isEmpty())
        OPENvideoFile(app, file);
    else if (!folder.isEmpty())
        OPENvideoFolder(app, folder);
    return true;
}

} // namespace vv
