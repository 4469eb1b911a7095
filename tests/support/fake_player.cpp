#include "tests/support/fake_player.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "app/twips.h"
#include "control/virtual_keys.h"

namespace vv::test {

namespace {

// Fills the host window like the real picture widget and raises the same
// events.
class FakePicture : public QWidget {
public:
    FakePicture(QWidget* host, FakePlayer* player) : QWidget(host), player_(player)
    {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(host->rect());
        host->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (const int code = virtualKey(*event))
            emit player_->keyPressed(code);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const QRectF r = player_->pictureRect();
        const QPointF p(tw(1) * event->position().x(), tw(1) * event->position().y());
        emit player_->clicked(r.contains(p));
    }

private:
    FakePlayer* player_;
};

} // namespace

FakePlayer::FakePlayer(QWidget* host, const FakeCatalogue* catalogue) : catalogue_(catalogue)
{
    if (host)
        widget_ = new FakePicture(host, this);
}

bool FakePlayer::setFileName(const QString& path)
{
    opened << path;
    state_ = Stopped;
    frame_ = 0;
    if (path.isEmpty() || !catalogue_ || !catalogue_->contains(path)) {
        file_.clear();
        return path.isEmpty();
    }
    file_ = path;
    media_ = catalogue_->value(path);
    return true;
}

void FakePlayer::setCurrentPosition(double position)
{
    if (file_.isEmpty())
        return;
    double frame = units_ == Frames ? position : position * media_.fps;
    frame = std::clamp(frame, 0.0, static_cast<double>(media_.frames));
    frame_ = frame;
    seeks << frame;
    emit positionChanged();
}

void FakePlayer::play()
{
    ++playCalls;
    if (!file_.isEmpty())
        state_ = Playing;
}

void FakePlayer::pause()
{
    ++pauseCalls;
    if (!file_.isEmpty())
        state_ = Paused;
}

void FakePlayer::advance(int frames)
{
    if (file_.isEmpty())
        return;
    frame_ = std::clamp(frame_ + frames, 0.0, static_cast<double>(media_.frames));
}

} // namespace vv::test
