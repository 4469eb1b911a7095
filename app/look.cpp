#include "app/look.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace vv {

void setColours(QWidget* w, const QColor& background, const QColor& text)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, background);
    if (text.isValid())
        pal.setColor(QPalette::WindowText, text);
    w->setPalette(pal);
}

QString withLineFeeds(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QFont designFont(const QString& family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

namespace {

constexpr double SmallestPoints = 6.0;

// True while the caption needs more room than the control gives it.
bool captionCut(const QWidget* w)
{
    if (const auto* push = qobject_cast<const QPushButton*>(w)) {
        // A push button's size hint has a minimum width of its own; what
        // counts is the room its style leaves for the text.
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        const QRect room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        return QFontMetrics(push->font()).horizontalAdvance(push->text()) > room.width();
    }
    return w->sizeHint().width() > w->width();
}

} // namespace

void fitCaption(QWidget* w)
{
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w))
        return;
    QFont f = w->font();
    while (captionCut(w) && f.pointSizeF() > SmallestPoints) {
        f.setPointSizeF(std::max(SmallestPoints, f.pointSizeF() - 0.25));
        w->setFont(f);
    }
}

} // namespace vv
