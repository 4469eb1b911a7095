#include "app/command_line.h"

#include <QDir>
#include <QFileInfo>

#include "app/app.h"

namespace vv {

namespace {

QString withSlash(const QString& dir) { return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'); }

CommandLine fail(const QString& error)
{
    CommandLine c;
    c.action = CommandLine::Action::Fail;
    c.error = error;
    return c;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine c;
    QStringList paths;
    bool options = true;
    for (const QString& a : arguments) {
        if (options && a == QStringLiteral("--")) {
            options = false;
        } else if (options && (a == QStringLiteral("--help") || a == QStringLiteral("-h"))) {
            c.action = CommandLine::Action::Help;
            return c;
        } else if (options && (a == QStringLiteral("--version") || a == QStringLiteral("-V"))) {
            c.action = CommandLine::Action::Version;
            return c;
        } else if (options && a.startsWith(QLatin1Char('-')) && a != QStringLiteral("-")) {
            return fail(QStringLiteral("unknown option '%1'").arg(a));
        } else {
            paths << a;
        }
    }
    if (paths.size() > 1)
        return fail(QStringLiteral("one FILE or DIR only, not %1").arg(paths.size()));
    if (paths.isEmpty())
        return c;
    const QFileInfo info(paths.front());
    if (!info.exists())
        return fail(QStringLiteral("'%1': no such file or folder").arg(paths.front()));
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (info.isDir())
        c.directory = withSlash(path);
    else
        c.file = path;
    return c;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: vardellvision [OPTION] [FILE|DIR]\n"
        "An interactive video player.\n"
        "\n"
        "  FILE           play this video at once; the playlist is the video list of the\n"
        "                 video directory when the file lies below it, else the file's\n"
        "                 own folder (for this run; settings.ini is not changed)\n"
        "  DIR            open the video list on this folder (for this run)\n"
        "  -h, --help     show this help and exit\n"
        "  -V, --version  show the version and exit\n"
        "  --             end of options: what follows is a path, even if it begins with -\n"
        "\n"
        "Without an argument the player starts on the video directory of settings.ini.\n"
        "Exit status: 0, or 2 for a wrong command line.\n");
}

QString versionText() { return MainCaption + QLatin1Char('\n'); }

QString videoDirectoryFor(const QString& file, const QString& videoDir)
{
    const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    if (!videoDir.isEmpty()) {
        const QString dir = withSlash(QDir::cleanPath(QFileInfo(videoDir).absoluteFilePath()));
        if (path.startsWith(dir))
            return videoDir;
    }
    return withSlash(QFileInfo(path).absolutePath());
}

} // namespace vv
