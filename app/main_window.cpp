#include "app/main_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

#include "app/app.h"
#include "app/look.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/transport.h"
#include "library/open_video.h"
#include "script/overlays.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv {

MainWindow::MainWindow(App& app) : app_(app), client_(new QWidget(this))
{
    setWindowTitle(MainCaption);
    setColours(client_, Qt::black);
    setCentralWidget(client_);
    setAcceptDrops(true);
    placementCheck_.setInterval(150);
    connect(&placementCheck_, &QTimer::timeout, this, &MainWindow::checkPlacement);
}

int MainWindow::leftTw() const { return tw(outerRect().x()); }
int MainWindow::topTw() const { return tw(outerRect().y()); }
int MainWindow::widthTw() const { return tw(outerRect().width()); }
int MainWindow::heightTw() const { return tw(outerRect().height()); }
int MainWindow::clientWidthTw() const { return tw(client_->width()); }
int MainWindow::clientHeightTw() const { return tw(client_->height()); }
int MainWindow::widthPx() const { return outerRect().width(); }

void MainWindow::setWidthTw(int width)
{
    const QMargins frame = frameMargins();
    resize(px(width) - frame.left() - frame.right(), height());
    // Without a frame yet the width counts none; it is set again when the
    // window manager's frame arrives.
    pendingOuterWidth_ = frame.isNull() && !windowFlags().testFlag(Qt::FramelessWindowHint) ? px(width) : 0;
}

QMargins MainWindow::frameMargins() const
{
    // The window system reports a changed frame only a little after the
    // change (a window manager decorates a window when it maps it), so what
    // it reports right after a frame change is the old frame. Without a
    // frame there is none; with one, it is the one last seen.
    if (windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const QMargins now = reportedFrame();
    return now.isNull() ? knownFrame_ : now;
}

QMargins MainWindow::reportedFrame() const
{
    // Asked of the native window: the widget's own copy is brought up to
    // date only when the window moves or changes its size.
    const QWindow* native = windowHandle();
    return native ? native->frameMargins() : QMargins();
}

QRect MainWindow::outerRect() const
{
    return geometry().marginsAdded(frameMargins());
}

void MainWindow::noteFrame()
{
    if (windowFlags().testFlag(Qt::FramelessWindowHint))
        return;
    const QMargins now = reportedFrame();
    if (!now.isNull())
        knownFrame_ = now;
}

QRect MainWindow::screenRect() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

void MainWindow::placeOuter(const QRect& outer)
{
    placing_ = outer;
    placingChecks_ = 8;
    placementCheck_.start();
    setGeometry(outer.marginsRemoved(frameMargins()));
}

void MainWindow::checkPlacement()
{
    QWindow* native = windowHandle();
    if (!native || !isVisible() || --placingChecks_ < 0) {
        placementCheck_.stop();
        return;
    }
    // The height is the resize rule's to change.
    const QRect now = native->frameGeometry();
    if (now.topLeft() == placing_.topLeft() && now.width() == placing_.width()) {
        placementCheck_.stop();
        return;
    }
    // Asked of the native window: the widget already believes it is there.
    const QRect wanted(placing_.topLeft(), QSize(placing_.width(), now.height()));
    native->setGeometry(wanted.marginsRemoved(frameMargins()));
}

void MainWindow::placeOuterTw(double left, double top, double width, double height)
{
    placeOuter(QRect(px(left), px(top), px(width), px(height)));
}

void MainWindow::changeWindowFlag(Qt::WindowType flag, bool on, const QRect& outer)
{
    noteFrame();
    Qt::WindowFlags flags = windowFlags();
    if (flags.testFlag(flag) != on) {
        flags.setFlag(flag, on);
        if (QWindow* native = windowHandle()) {
            // Told to the native window as it stands: a window manager redraws
            // the frame or restacks the window while it stays shown, where it
            // is and with its focus. (QWidget::setWindowFlags would hide the
            // window and show it anew, and a window manager may then place it
            // by its own rules.)
            overrideWindowFlags(flags);
            native->setFlags(flags);
        } else {
            setWindowFlags(flags);
        }
    }
    placeOuter(outer);
}

void MainWindow::SETwindowSTYLE(std::uint32_t bit, bool on)
{
    SETwindowSTYLE(bit, on, outerRect());
}

void MainWindow::SETwindowSTYLE(std::uint32_t bit, bool on, const QRect& outer)
{
    style_ = on ? (style_ | bit) : (style_ & ~bit);
    const bool framed = (style_ & (WindowBorder | WindowSizingFrame)) != 0;
    changeWindowFlag(Qt::FramelessWindowHint, !framed, outer);
}

void MainWindow::saveWindowGeometry()
{
    AppState& st = app_.st;
    st.SavedWindowLeft = leftTw();
    st.SavedWindowTop = topTw();
    st.SavedWindowWidth = widthTw();
    st.SavedWindowHeight = heightTw();
}

void MainWindow::setNormalState()
{
    const Qt::WindowStates special = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & special)
        setWindowState(windowState() & ~special);
}

void MainWindow::FULLSCREENenable()
{
    saveWindowGeometry();
    setNormalState();
    SETwindowSTYLE(WindowBorder, false);
    SETwindowSTYLE(WindowSizingFrame, false);
    // The frame that remains on each side; the client area covers the screen.
    const QMargins frame = frameMargins();
    const std::int16_t bx = roundEven16(tw(frame.left() + frame.right()) / 2.0);
    const std::int16_t by = roundEven16(tw(frame.top() + frame.bottom()) / 2.0);
    const QRect screen = screenRect();
    // Set before the window moves: the resize handling keeps a mode's
    // geometry.
    app_.st.FullScreenMode = -1;
    placeOuterTw(tw(screen.left()) - bx, tw(screen.top()) - by, tw(screen.width()) + 2.0 * bx,
                 tw(screen.height()) + 2.0 * by);
    handleResize();
}

void MainWindow::PictureINpictureENABLE()
{
    saveWindowGeometry();
    setNormalState();
    SETwindowSTYLE(WindowBorder, false);
    SETwindowSTYLE(WindowSizingFrame, false);
    const QRect screen = screenRect();
    app_.st.FullScreenMode = -1;
    placeOuterTw(tw(screen.left()) + tw(screen.width()) / 2.0, tw(screen.top()), tw(screen.width()) / 2.0,
                 tw(screen.height()) / 2.0);
    handleResize();
}

void MainWindow::FULLSCREENdisable()
{
    AppState& st = app_.st;
    setNormalState();
    // Back to the saved rectangle (or, when nothing was ever saved, where the
    // window is), placed together with the frame's return.
    const QRect saved(px(st.SavedWindowLeft), px(st.SavedWindowTop), px(st.SavedWindowWidth),
                      px(st.SavedWindowHeight));
    const QRect target = saved.isEmpty() ? outerRect() : saved;
    SETwindowSTYLE(WindowBorder, true, target);
    SETwindowSTYLE(WindowSizingFrame, true, target);
    st.FullScreenMode = 0;
    handleResize();
}

void MainWindow::ENABLEontop() { changeWindowFlag(Qt::WindowStaysOnTopHint, true, outerRect()); }
void MainWindow::DISABLEontop() { changeWindowFlag(Qt::WindowStaysOnTopHint, false, outerRect()); }

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    noteFrame();
    handleResize();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    noteFrame();
    // A window manager puts its frame around the window after showing it,
    // without changing the client size: the rule, which counts the frame,
    // runs again then.
    if (frameMargins() != ruledFrame_)
        handleResize(true);
}

void MainWindow::fitVideoWindow(bool placePicture)
{
    // The client area follows the window's size at once (layouts run later).
    client_->setGeometry(0, 0, width(), height());
    app_.Player().setGeometry(0, 0, client_->width(), client_->height());
    // Configure events that only move or frame the window keep the picture
    // where the user (or the settings) put it.
    if (!placePicture || size() == fittedSize_)
        return;
    fittedSize_ = size();
    std::int16_t hundred = 100;
    SIZEvideo(app_, hundred, 1);
}

void MainWindow::handleResize(bool framing)
{
    if (resizeGuard_)
        return;
    // The frame above and below the client area (title bar and borders).
    const QMargins margins = frameMargins();
    const int frame = margins.top() + margins.bottom();
    ruledFrame_ = margins;

    HIDEall(app_);
    if (isMaximized() || app_.st.FullScreenMode != 0) {
        fitVideoWindow();
        return;
    }
    resizeGuard_ = true;
    const int stripWidth = app_.menu().PictureControls1->width();
    int outerWidth = outerRect().width();
    if (pendingOuterWidth_ > 0 && !margins.isNull()) {
        outerWidth = pendingOuterWidth_;
        pendingOuterWidth_ = 0;
    }
    if (outerWidth < stripWidth)
        outerWidth = stripWidth;
    const int outerHeight = static_cast<int>(roundEven(outerWidth * 3.0 / 4.0)) + frame;
    const QSize target(outerWidth - margins.left() - margins.right(), outerHeight - frame);
    // A window manager may refuse the size (a screen too small for it); ask
    // for a refused size only once, so that the two never argue forever.
    // The frame's arrival corrects the size by the frame's width at most:
    // the picture placed for the size before stays.
    const bool keepPicture = framing && size() == fittedSize_;
    if (target != size() && target != lastRequested_) {
        lastRequested_ = target;
        resize(target);
    }
    if (keepPicture)
        fittedSize_ = target;
    fitVideoWindow(!keepPicture);
    resizeGuard_ = false;
}

// Every drag is welcome: what cannot be opened is said on the information
// display when it is dropped.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }

void MainWindow::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    // Opened once the drop is over, so the program it came from does not wait
    // for the scan and the load.
    QMetaObject::invokeMethod(this, [this, urls = event->mimeData()->urls()] { OPENdropped(app_, urls); },
                              Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    EXITplayer(app_);
}

} // namespace vv
