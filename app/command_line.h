#pragma once
// The command line: vardellvision [FILE|DIR], --help and --version.

#include <QString>
#include <QStringList>

namespace vv {

struct CommandLine {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    // For Run: the absolute path of the file to play, or of the folder to
    // open the video list on; "" when none was given.
    QString file;
    QString directory;
    // For Fail: what was wrong, one line.
    QString error;
};

// Reads the arguments that follow the program name. Options come first; "--"
// ends them, so a path may begin with "-". A path must exist; a relative one
// is taken from the current directory.
CommandLine parseCommandLine(const QStringList& arguments);

// The text of --help and of --version.
QString helpText();
QString versionText();

// The video directory for a run that starts on file: videoDir itself when the
// file lies below it, else the file's own folder, ending in "/".
QString videoDirectoryFor(const QString& file, const QString& videoDir);

} // namespace vv
