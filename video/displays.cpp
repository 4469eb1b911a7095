#include "video/displays.h"

#include <QKeyEvent>

#include "app/app.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/twips.h"
#include "control/key_dispatcher.h"
#include "video/player_window.h"
#include "video/timecode.h"

namespace vv {

DisplayWindow::DisplayWindow(App& app, QWidget* parent, const QFont& font, bool passesKeys)
    : QWidget(parent), Label(new QLabel(this)), app_(app), passesKeys_(passesKeys)
{
    setColours(this, Qt::black, Qt::white);
    Label->setPalette(palette());
    Label->setFont(font);
    Label->move(6, 3);
    setFocusPolicy(passesKeys ? Qt::ClickFocus : Qt::NoFocus);
    hide();
}

void DisplayWindow::setCaption(const QString& text)
{
    caption_ = text;
    Label->setText(withLineFeeds(text));
    Label->adjustSize();
    if (fixedSize_.isEmpty())
        resize(Label->width() + 12, Label->height() + 6);
}

void DisplayWindow::keyPressEvent(QKeyEvent* event)
{
    if (passesKeys_) {
        KEYcommand(app_, *event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void DisplayWindow::mousePressEvent(QMouseEvent* event)
{
    if (passesKeys_)
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

InfoDisplayWindow::InfoDisplayWindow(App& app, QWidget* parent)
    : DisplayWindow(app, parent, designFont(QStringLiteral("Arial"), 20, true), true)
{
    QPalette pal = Label->palette();
    pal.setColor(QPalette::WindowText, QColor(0xff, 0xe0, 0x40));
    Label->setPalette(pal);
}

void InfoDisplayWindow::INITIALIZE(const QString& text, std::int32_t d)
{
    PlayerWindow& player = app_.Player();
    const QRectF picture = player.MediaPlayer1().pictureRect();
    moveTw(this, player.leftTw() + picture.left(), player.topTw() + picture.top());
    show();
    raise();
    app_.st.InfoDisplayCountdown = static_cast<std::int16_t>(d);
    setCaption(text);
}

MessageDisplayWindow::MessageDisplayWindow(App& app, QWidget* parent)
    : DisplayWindow(app, parent, designFont(QStringLiteral("MS Sans Serif"), 12, true), false)
{
    setCaption(QStringLiteral("SCANNING FOR MEDIA..."));
}

void MessageDisplayWindow::INITIALIZE(const QString& text, std::int16_t d)
{
    app_.Player().repaint();
    setCaption(text);
    const MainWindow& mdi = app_.MDI();
    moveTw(this, roundEven((mdi.widthTw() - tw(width())) / 2.0),
           roundEven((mdi.heightTw() - tw(height())) / 2.0));
    show();
    raise();
    app_.st.MessageDisplayCountdown = d;
}

TimeDisplayWindow::TimeDisplayWindow(App& app, QWidget* parent)
    : DisplayWindow(app, parent, designFont(QStringLiteral("Arial"), 16, true), true)
{
    // The time display keeps the size of its widest time code, so that its
    // right edge stays on the picture's right edge.
    setCaption(QStringLiteral("00:00:00-00"));
    fixedSize_ = QSize(width() + 12, height());
    resize(fixedSize_);
}

void TimeDisplayWindow::INITIALIZE(std::int16_t d)
{
    PlayerWindow& player = app_.Player();
    const QRectF picture = player.MediaPlayer1().pictureRect();
    moveTw(this, player.leftTw() + picture.left() + picture.width() - tw(width()),
           player.topTw() + picture.top());
    show();
    raise();
    showPosition();
    app_.st.TimeDisplayCountdown = d;
}

void TimeDisplayWindow::showPosition()
{
    const std::int32_t p = roundEven32(app_.video().currentPosition());
    UpdateAnzeige(FORMATtimecode(p, app_.st.FrameRate), p);
}

void TimeDisplayWindow::UpdateAnzeige(const QString& Text, std::int64_t frame)
{
    Label->setToolTip(frameToolTip(frame));
    setCaption(Text);
    raise();
}

} // namespace vv
