#include "control/command_window.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/app.h"
#include "app/look.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "index/scene_window.h"
#include "script/overlays.h"

namespace vv {

CommandWindow::CommandWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setFocusPolicy(Qt::ClickFocus);
    Label1 = new QLabel(QStringLiteral("Do this action!"), this);
    setColours(Label1, Qt::black, Qt::white);
    Label1->setFont(designFont(QStringLiteral("Arial"), 18, true));
    Label1->installEventFilter(this);
    Shape1 = new FrameShape(this, 4);
    Shape1->hide();
    setGeometryTw(this, 0, 0, 4275, 390);
    hide();
}

void CommandWindow::DOcommandACTION()
{
    if (Label1->text().isEmpty())
        return;
    ScriptListBox* list = app_.menu().ListSCRIPT;
    list->setListIndex(roundEven16(static_cast<double>(leadingNumber(Label1->toolTip()))));
    // An index that no longer names an entry (the list changed since the
    // menu was built) performs nothing: an empty text would read as a jump
    // to frame 0. The menu is rebuilt either way.
    if (list->ListIndex() >= 0)
        SCRIPTaction(app_, list->entries().selectedEntry());
    SHOWinteraction(app_);
}

void CommandWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Label1->setGeometry(0, 0, width(), height());
    Shape1->setGeometry(0, 0, width(), height());
    Shape1->raise();
}

void CommandWindow::keyPressEvent(QKeyEvent* event)
{
    if (KEYcommand(app_, *event))
        return;
    QWidget::keyPressEvent(event);
}

bool CommandWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        DOcommandACTION();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vv
