#include "tests/support/fake_player.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/twips.h"
#include "control/virtual_keys.h"

namespace vv::test {

FakePlayer::FakePlayer(QWidget* host, const FakeCatalogue* catalogue) : catalogue_(catalogue)
{
    if (!host)
        return;
    widget_ = new QWidget(host);
    widget_->setFocusPolicy(Qt::StrongFocus);
    widget_->setGeometry(host->rect());
    host->installEventFilter(this);
    widget_->installEventFilter(this);
}

bool FakePlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (widget_ && watched == widget_->parent() && event->type() == QEvent::Resize)
        widget_->setGeometry(widget_->parentWidget()->rect());
    if (watched != widget_)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = virtualKey(*static_cast<QKeyEvent*>(event));
        if (key)
            emit keyPressed(key);
        return key != 0;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    emit clicked(rect_.contains(tw(1) * mouse->position()));
    return true;
}

} // namespace vv::test
