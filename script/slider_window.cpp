#include "script/slider_window.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/app.h"
#include "app/look.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "script/slider_geometry.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv {

namespace {

constexpr double ButtonTop = 45;

QWidget* box(QWidget* parent, const QColor& colour, const QString& toolTip)
{
    auto* w = new QWidget(parent);
    setColours(w, colour);
    w->setToolTip(toolTip);
    w->setFocusPolicy(Qt::ClickFocus);
    return w;
}

} // namespace

SliderWindow::SliderWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, Qt::black);

    const QString tip = QStringLiteral("Videoposition (Setzen mit Mausklick).");
    SliderPicture = box(this, LightGrey, tip);
    setGeometryTw(SliderPicture, 50, 30, 6000, 330);
    Slider = box(SliderPicture, QColor(64, 64, 64), tip);
    setGeometryTw(Slider, 0, 0, 0, 420);
    CommandMarkIN = new QPushButton(QStringLiteral("IN"), SliderPicture);
    CommandMarkIN->setToolTip(QStringLiteral("Zum aktuell gesetzten Bereichsstart springen."));
    setGeometryTw(CommandMarkIN, 0, ButtonTop, 510, 240);
    CommandMarkIN->hide();
    CommandMarkOUT = new QPushButton(QStringLiteral("OUT"), SliderPicture);
    CommandMarkOUT->setToolTip(QStringLiteral("Zum aktuell gesetzten Bereichsende springen."));
    setGeometryTw(CommandMarkOUT, 0, ButtonTop, 510, 240);
    CommandMarkOUT->hide();
    for (QPushButton* b : {CommandMarkIN, CommandMarkOUT}) {
        QFont f = b->font();
        f.setPointSizeF(7);
        b->setFont(f);
    }

    SliderPicture->installEventFilter(this);
    Slider->installEventFilter(this);
    connect(CommandMarkIN, &QPushButton::clicked, this, &SliderWindow::CommandMarkIN_Click);
    connect(CommandMarkOUT, &QPushButton::clicked, this, &SliderWindow::CommandMarkOUT_Click);

    setGeometryTw(this, 0, 0, 6100, 405);
    hide();
}

void SliderWindow::INITIALIZE()
{
    PlayerWindow& player = app_.Player();
    const int height = heightTw(this);
    double top = player.heightTw() - height;
    if (app_.hasMenu() && app_.menu().isVisible())
        top = topTw(&app_.menu()) - height;
    setGeometryTw(this, 0, top, player.widthTw(), height);
    const int barBefore = widthTw(SliderPicture);
    setGeometryTw(SliderPicture, 50, topTw(SliderPicture), widthTw(this) - 100, heightTw(SliderPicture));
    followPosition(false);
    if (widthTw(SliderPicture) != barBefore)
        layOutMarkButtons();
    show();
    raise();
}

double SliderWindow::fillFor(double frame) const
{
    return sliderFillWidth(frame, widthTw(SliderPicture), app_.st.DurationFrames);
}

void SliderWindow::followPosition(bool repaint)
{
    const std::int32_t duration = app_.st.DurationFrames;
    if (duration <= 0)
        return;
    const double fill = fillFor(app_.video().currentPosition());
    setGeometryTw(Slider, 0, topTw(Slider), fill, heightTw(Slider));
    if (repaint)
        Slider->repaint();
}

void SliderWindow::placeInButton()
{
    // The fill may lag behind (the tick only moves it while the slider is
    // up): bring it to the present position first.
    followPosition(false);
    inFrame_ = app_.video().currentPosition();
    moveTw(CommandMarkIN,
           vv::placeInButton(fillFor(inFrame_), widthTw(SliderPicture), widthTw(CommandMarkIN)), ButtonTop);
    CommandMarkIN->show();
    CommandMarkIN->raise();
}

void SliderWindow::placeOutButton(bool exchanged)
{
    followPosition(false);
    const double now = app_.video().currentPosition();
    const double bar = widthTw(SliderPicture);
    const double width = widthTw(CommandMarkIN);
    double inLeft = leftTw(CommandMarkIN);
    if (exchanged) {
        // The start now lies where the end was just taken, the end where the
        // start button stood.
        outFrame_ = inFrame_;
        inFrame_ = now;
        inLeft = vv::placeInButton(fillFor(inFrame_), bar, width);
    } else {
        outFrame_ = now;
    }
    const MarkButtonPlaces places = vv::placeOutButton(fillFor(outFrame_), bar, inLeft, width);
    moveTw(CommandMarkIN, places.inLeft, ButtonTop);
    moveTw(CommandMarkOUT, places.outLeft, ButtonTop);
    CommandMarkOUT->show();
    CommandMarkOUT->raise();
}

void SliderWindow::layOutMarkButtons()
{
    const double bar = widthTw(SliderPicture);
    const double width = widthTw(CommandMarkIN);
    double inLeft = leftTw(CommandMarkIN);
    if (!CommandMarkIN->isHidden())
        inLeft = vv::placeInButton(fillFor(inFrame_), bar, width);
    if (!CommandMarkOUT->isHidden()) {
        const MarkButtonPlaces places = vv::placeOutButton(fillFor(outFrame_), bar, inLeft, width);
        inLeft = places.inLeft;
        moveTw(CommandMarkOUT, places.outLeft, ButtonTop);
    }
    moveTw(CommandMarkIN, inLeft, ButtonTop);
}

void SliderWindow::hideMarkButtons()
{
    CommandMarkIN->hide();
    CommandMarkOUT->hide();
}

void SliderWindow::CommandMarkIN_Click()
{
    if (app_.st.MarkIn >= 0)
        GOTOposition(app_, app_.st.MarkIn);
}

void SliderWindow::CommandMarkOUT_Click()
{
    if (app_.st.MarkOut >= 0)
        GOTOposition(app_, app_.st.MarkOut);
}

void SliderWindow::barPressed(double x)
{
    // Without a video there is nothing to seek in.
    if (app_.st.LoadedVideo.isEmpty() || !sliderFrameAt(x, widthTw(SliderPicture), app_.st.DurationFrames))
        return;
    if (app_.menu().meantToPlay()) {
        app_.video().pause();
        app_.Player().Timer1.stop();
    }
    app_.st.SliderDrag = true;
    seekToBarPoint(x);
}

void SliderWindow::barDragged(double x)
{
    if (app_.st.SliderDrag)
        seekToBarPoint(x);
}

void SliderWindow::barReleased()
{
    // Only a press that started a drag has something to end.
    if (!app_.st.SliderDrag)
        return;
    if (app_.menu().meantToPlay()) {
        app_.video().play();
        app_.Player().Timer1.start();
    }
    app_.st.SliderDrag = false;
}

void SliderWindow::seekToBarPoint(double x)
{
    // Each seek lets pending events run, among them further moves of the
    // drag: those only leave their point here, and the newest is sought when
    // the running seek returns.
    if (seeking_) {
        pendingPoint_ = x;
        return;
    }
    seeking_ = true;
    std::optional<double> point = x;
    while (point) {
        pendingPoint_.reset();
        if (const auto frame = sliderFrameAt(*point, widthTw(SliderPicture), app_.st.DurationFrames))
            GOTOposition(app_, *frame);
        point = pendingPoint_;
    }
    seeking_ = false;
}

void SliderWindow::hideEvent(QHideEvent* event)
{
    // Hidden in the middle of a drag (the overlays were closed), the window
    // gets no release: end the drag here so that the tick is not left off.
    barReleased();
    QWidget::hideEvent(event);
}

bool SliderWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != SliderPicture && watched != Slider)
        return QWidget::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const double x = tw(widget->mapTo(SliderPicture, mouse->position().toPoint()).x());
        if (event->type() == QEvent::MouseMove) {
            barDragged(x);
        } else if (mouse->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonRelease) {
                barReleased();
            } else {
                widget->setFocus(Qt::MouseFocusReason);
                barPressed(x);
            }
        }
        return true;
    }
    case QEvent::KeyPress:
        if (KEYcommand(app_, *static_cast<QKeyEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vv
