// VardellVision: the interactive video player.

#include <QApplication>
#include <clocale>

#include "app/app.h"
#include "app/player_factory.h"
#include "app/program_services.h"
#include "app/startup.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The media player needs C number formatting, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(vv::AppTitle);

    vv::ProgramServices services;
    vv::App app(services, [](QWidget* host) { return vv::makeProgramPlayer(host); });
    services.attach(&app);

    if (!vv::Main(app))
        return 0;
    return QApplication::exec();
}
