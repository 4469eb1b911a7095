#include "index/scene_window.h"

#include <QKeyEvent>
#include <algorithm>
#include <QPainter>

#include "app/app.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "control/key_dispatcher.h"
#include "script/overlays.h"
#include "video/loading.h"
#include "video/timecode.h"

namespace vv {

FrameShape::FrameShape(QWidget* parent, int borderWidth) : QWidget(parent), borderWidth_(borderWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FrameShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QPen pen(Qt::red);
    pen.setWidth(borderWidth_);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    const int half = borderWidth_ / 2;
    p.drawRect(rect().adjusted(half, half, -half - (borderWidth_ % 2 ? 0 : 1), -half - (borderWidth_ % 2 ? 0 : 1)));
}

SceneWindow::SceneWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, LightGrey);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);

    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setToolTip(SceneWindowToolTip);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    LabelTime = new QLabel(QStringLiteral("0:00:00-00"), this);
    LabelTime->setFont(LabelTimeFont());
    setColours(LabelTime, LightGrey);
    setGeometryTw(LabelTime, 45, 30, LabelTimeWidth, LabelTimeHeight);
    LabelTime->installEventFilter(this);

    Shape1 = new FrameShape(this, 4);
    Shape1->hide();

    setGeometryTw(this, 0, 0, 4860, 3330);
    hide();
}

QFont SceneWindow::LabelTimeFont()
{
    return designFont(QStringLiteral("MS Sans Serif"), 13.5, true);
}

void SceneWindow::setPicture(const QImage& picture)
{
    picture_ = picture;
    Image1->setPixmap(QPixmap::fromImage(picture));
}

// The label keeps its design size inside the window; the time code's font
// shrinks where it would not fit (a fallback for the label's font may be
// wider).
void SceneWindow::setTimeText(const QString& text)
{
    LabelTime->setFont(LabelTimeFont());
    LabelTime->setText(text);
    fitCaption(LabelTime);
}

void SceneWindow::INITIALIZE(const QString& file, std::int32_t frame)
{
    QImage picture;
    if (picture.load(file))
        setPicture(picture);
    INITIALIZEquick(frame);
}

void SceneWindow::INITIALIZEquick(std::int32_t frame)
{
    Image1->setToolTip(QString::number(frame));
    // The time code is kept current also while the label is hidden: marking
    // the window in a wider main window shows it again.
    setTimeText(FORMATtimecode(frame, app_.st.FrameRate));
    LabelTime->setVisible(app_.MDI().widthPx() >= 800);
}

void SceneWindow::DOimageACTION()
{
    if (app_.st.ActiveMode != 4)
        HIDEall(app_);
    GOTOposition(app_, roundEven32(static_cast<double>(leadingNumber(Image1->toolTip()))));
}

int SceneWindow::number() const
{
    bool ok = false;
    const int n = tag.toInt(&ok);
    if (ok)
        return n;
    for (int i = 0; i < App::SceneWindowSlots; ++i)
        if (app_.FormImageExists(i) && &app_.FormImage(i) == this)
            return i;
    return 0;
}

void SceneWindow::MarkMe()
{
    const int me = number();
    if (me == app_.st.SelectedScene)
        return;
    app_.st.SelectedScene = static_cast<std::int16_t>(me);
    for (int i = 0; i < App::SceneWindowSlots; ++i) {
        if (!app_.FormImageExists(i))
            continue;
        SceneWindow& other = app_.FormImage(i);
        if (&other == this)
            continue;
        other.Shape1->hide();
        other.LabelTime->hide();
    }
    Shape1->show();
    Shape1->raise();
    if (app_.MDI().widthPx() > 800)
        LabelTime->show();
}

void SceneWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Image1->setGeometry(0, 0, width(), height());
    Shape1->setGeometry(0, 0, width(), height());
    LabelTime->raise();
    Shape1->raise();
}

void SceneWindow::keyPressEvent(QKeyEvent* event)
{
    if (KEYcommand(app_, *event))
        return;
    QWidget::keyPressEvent(event);
}

bool SceneWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        DOimageACTION();
        return true;
    }
    if (watched == Image1 && event->type() == QEvent::MouseMove)
        MarkMe();
    return QWidget::eventFilter(watched, event);
}

} // namespace vv
