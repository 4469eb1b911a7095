#include "music/music_window.h"

#include "app/app.h"
#include "app/twips.h"
#include "music/acdc.h"

namespace vv {

MusicWindow::MusicWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(pal);
    LabelTitel = new QLabel(QStringLiteral("SELECT MUSIC..."), this);
    LabelFile1Count = new QLabel(QStringLiteral("1 of 9999"), this);
    lstFoundFiles2 = new QListWidget(this);
    setGeometryTw(lstFoundFiles2, 150, 915, 9555, 6120);
    setGeometryTw(this, 0, 0, 9855, 8085);

    player_ = app.makePlayer(nullptr);
    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, [this] { ACDCtick(app_); });
    Timer1.start();
    hide();
}

MusicWindow::~MusicWindow()
{
    Timer1.stop();
}

void MusicWindow::INITIALIZE(const QString&) {}
void MusicWindow::SCANMEDIA(const QString&) {}
void MusicWindow::InitializeSound(const QString&) {}
QString MusicWindow::getNEXTfromPLAYLIST() { return QString(); }

} // namespace vv
