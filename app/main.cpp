// VardellVision: the interactive video player.

#include <QApplication>
#include <clocale>
#include <cstdio>

#include "app/app.h"
#include "app/command_line.h"
#include "app/player_factory.h"
#include "app/program_services.h"
#include "app/startup.h"

int main(int argc, char** argv)
{
    // The command line is read before Qt starts, so that --help, --version and
    // a wrong argument need no display. Every argument is the player's own:
    // Qt is configured through its environment variables (QT_QPA_PLATFORM...).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const vv::CommandLine command = vv::parseCommandLine(arguments);
    switch (command.action) {
    case vv::CommandLine::Action::Help:
        std::fputs(vv::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case vv::CommandLine::Action::Version:
        std::fputs(vv::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case vv::CommandLine::Action::Fail:
        std::fprintf(stderr, "vardellvision: %s\nTry 'vardellvision --help' for more information.\n",
                     command.error.toLocal8Bit().constData());
        return 2;
    case vv::CommandLine::Action::Run:
        break;
    }

    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    // The media player needs C number formatting, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(vv::AppTitle);

    vv::ProgramServices services;
    vv::App app(services, [](QWidget* host) { return vv::makeProgramPlayer(host); });
    services.attach(&app);
    app.makeListSheets = true;

    if (!vv::Main(app, command.file, command.directory))
        return 0;
    return QApplication::exec();
}
