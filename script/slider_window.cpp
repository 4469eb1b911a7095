#include "script/slider_window.h"

#include "app/app.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "video/player_window.h"

namespace vv {

namespace {

QWidget* box(QWidget* parent, const QColor& colour, const QString& toolTip)
{
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setToolTip(toolTip);
    return w;
}

} // namespace

SliderWindow::SliderWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    const QString tip = QStringLiteral("Videoposition (Setzen mit Mausklick).");
    SliderPicture = box(this, QColor(224, 224, 224), tip);
    setGeometryTw(SliderPicture, 50, 30, 6000, 330);
    Slider = box(SliderPicture, QColor(64, 64, 64), tip);
    setGeometryTw(Slider, 0, 0, 0, 420);
    CommandMarkIN = new QPushButton(QStringLiteral("IN"), SliderPicture);
    CommandMarkIN->setToolTip(QStringLiteral("Zum aktuell gesetzten Bereichsstart springen."));
    setGeometryTw(CommandMarkIN, 0, 45, 510, 240);
    CommandMarkIN->hide();
    CommandMarkOUT = new QPushButton(QStringLiteral("OUT"), SliderPicture);
    CommandMarkOUT->setToolTip(QStringLiteral("Zum aktuell gesetzten Bereichsende springen."));
    setGeometryTw(CommandMarkOUT, 0, 45, 510, 240);
    CommandMarkOUT->hide();

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
    setGeometryTw(SliderPicture, 50, topTw(SliderPicture), widthTw(this) - 100, heightTw(SliderPicture));
    show();
    raise();
}

void SliderWindow::followPosition(bool repaint)
{
    const std::int32_t duration = app_.st.DurationFrames;
    if (duration <= 0)
        return;
    const double fill = app_.video().currentPosition() * (widthTw(SliderPicture) / static_cast<double>(duration));
    setGeometryTw(Slider, 0, topTw(Slider), fill, heightTw(Slider));
    if (repaint)
        Slider->repaint();
}

} // namespace vv
