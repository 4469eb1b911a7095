#pragma once
// Start-up and the settings file.

#include <QSize>
#include <QString>

namespace vv {

class App;

// The start-up sequence: notice, screen check, main window, program
// directory, scene windows, settings, picture placement, scan, player
// options, video window and start-up message. Returns false when the program
// must end (screen too small). A file or folder from the command line
// (absolute; at most one of them) is the video directory's stand-in for this
// run; a file plays at once, without the notice and the message.
bool Main(App& app, const QString& file = {}, const QString& folder = {});

// Enables the four buttons that need a video directory.
void enableVideoButtons(App& app);

// Whether a screen of that size in pixels can show the player: at least
// 767 x 576.
bool screenLargeEnough(const QSize& pixels);

// The program directory: the executable's folder when it is writable, else
// the folder "vardellvision" under the user's configuration home (created).
// Always ends in "/".
QString programDirectory(const QString& executableDir);

// Writes settings.ini from the picture's present geometry and the setup
// dialog's three directory fields; enables the four video buttons when a
// video directory is configured. A file that cannot be written gives a
// message box and the program goes on. Returns whether it was written.
bool SAVEsettings(App& app);

// Reads settings.ini into VideoLeft..VideoHeight and the setup dialog's three
// fields. Fields that are missing or unreadable take their first-run values;
// the file is left as it is.
void LOADsettings(App& app);

// The media player's fixed options.
void INITIALIZEmediaplayer(App& app);

// The start-up message shown on the message display.
QString startupMessage();
// The start-up notice shown in a message box.
QString startupNotice();

} // namespace vv
