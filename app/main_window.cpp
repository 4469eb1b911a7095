#include "app/main_window.h"

#include <QCloseEvent>
#include <QResizeEvent>

#include "app/app.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "script/overlays.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv {

MainWindow::MainWindow(App& app) : app_(app), client_(new QWidget(this))
{
    setWindowTitle(MainCaption);
    client_->setAutoFillBackground(true);
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    client_->setPalette(pal);
    setCentralWidget(client_);
}

int MainWindow::leftTw() const { return tw(frameGeometry().x()); }
int MainWindow::topTw() const { return tw(frameGeometry().y()); }
int MainWindow::widthTw() const { return tw(frameGeometry().width()); }
int MainWindow::heightTw() const { return tw(frameGeometry().height()); }
int MainWindow::clientWidthTw() const { return tw(client_->width()); }
int MainWindow::clientHeightTw() const { return tw(client_->height()); }
int MainWindow::widthPx() const { return frameGeometry().width(); }

void MainWindow::setWidthTw(int width)
{
    const int frameX = frameGeometry().width() - geometry().width();
    resize(px(width) - frameX, height());
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    handleResize();
}

void MainWindow::handleResize()
{
    if (resizeGuard_)
        return;
    // The frame above and below the client area (title bar and borders).
    const int frame = frameGeometry().height() - client_->height();

    HIDEall(app_);
    std::int16_t hundred = 100;
    if (isMaximized()) {
        app_.Player().setGeometry(0, 0, client_->width(), client_->height());
        SIZEvideo(app_, hundred, 1);
        return;
    }
    resizeGuard_ = true;
    const int stripWidth = app_.menu().PictureControls1->width();
    int outerWidth = frameGeometry().width();
    if (outerWidth < stripWidth)
        outerWidth = stripWidth;
    const int frameX = frameGeometry().width() - geometry().width();
    const int outerHeight = static_cast<int>(roundEven(outerWidth * 3.0 / 4.0)) + frame;
    const int frameY = frameGeometry().height() - geometry().height();
    const QSize target(outerWidth - frameX, outerHeight - frameY);
    // A window manager may refuse the size (a screen too small for it); ask
    // for a refused size only once, so that the two never argue forever.
    if (target != size() && target != lastRequested_) {
        lastRequested_ = target;
        resize(target);
    }
    // The client area follows the new size at once (layouts run now).
    client_->setGeometry(0, 0, width(), height());
    app_.Player().setGeometry(0, 0, client_->width(), client_->height());
    SIZEvideo(app_, hundred, 1);
    resizeGuard_ = false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    EXITplayer(app_);
}

void MainWindow::FULLSCREENenable() {}
void MainWindow::PictureINpictureENABLE() {}
void MainWindow::FULLSCREENdisable() {}
void MainWindow::ENABLEontop() {}
void MainWindow::DISABLEontop() {}

} // namespace vv
