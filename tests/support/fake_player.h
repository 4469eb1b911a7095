#pragma once
// A scripted media player for unit tests. It knows the media of a catalogue
// (frames, seconds, frame rate per path), "plays" only when a test advances
// it, and raises positionChanged only when a seek happens.

#include <QMap>
#include <QPointer>
#include <algorithm>

#include "app/mediaplayer.h"

namespace vv::test {

struct FakeMedia {
    int frames = 250;
    double seconds = 10.0;
    double fps = 25.0;
};

using FakeCatalogue = QMap<QString, FakeMedia>;

class FakePlayer : public MediaPlayer {
    Q_OBJECT
public:
    // host: the window that shows the picture (a plain widget fills it), or
    // null for an audio-only player. catalogue must outlive the player.
    FakePlayer(QWidget* host, const FakeCatalogue* catalogue);
    ~FakePlayer() override { delete widget_.data(); }

    void applyFixedOptions() override { ++fixedOptionCalls; }
    bool setFileName(const QString& path) override
    {
        opened << path;
        state_ = Stopped;
        frame_ = 0;
        const bool known = catalogue_->contains(path);  // never ""
        file_ = known ? path : QString();
        media_ = catalogue_->value(path);
        return known || path.isEmpty();
    }
    QString fileName() const override { return file_; }
    void setPositionUnits(Units units) override { units_ = units; }
    Units positionUnits() const override { return units_; }
    double length() const override { return file_.isEmpty() ? 0 : units_ == Frames ? media_.frames : media_.seconds; }
    double currentPosition() const override
    {
        return file_.isEmpty() ? 0 : units_ == Frames ? frame_ : frame_ / media_.fps;
    }
    void setCurrentPosition(double position) override
    {
        if (file_.isEmpty())
            return;
        const double frame = units_ == Frames ? position : position * media_.fps;
        frame_ = std::clamp(frame, 0.0, static_cast<double>(media_.frames));
        seeks << frame_;
        emit positionChanged();
    }
    double streamFrameRate() const override { return file_.isEmpty() ? 0 : media_.fps; }
    int playState() const override { return state_; }
    void play() override
    {
        ++playCalls;
        state_ = file_.isEmpty() ? state_ : Playing;
    }
    void stop() override { state_ = file_.isEmpty() ? state_ : Stopped; }
    void pause() override
    {
        ++pauseCalls;
        state_ = file_.isEmpty() ? state_ : Paused;
    }
    double rate() const override { return rate_; }
    void setRate(double rate) override { rate_ = rate; }
    int volume() const override { return volume_; }
    void setVolume(int volume) override { volume_ = std::clamp(volume, -10000, 0); }
    bool mute() const override { return mute_; }
    void setMute(bool mute) override { mute_ = mute; }
    QRectF pictureRect() const override { return rect_; }
    void setPictureRect(const QRectF& twips) override { rect_ = twips; }
    bool pictureVisible() const override { return visible_; }
    void setPictureVisible(bool visible) override { visible_ = visible; }
    QWidget* widget() const override { return widget_; }
    // Keeps the picture filling the host and raises the key and click events
    // from it as the real player does.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Test controls: playback moves on by a number of frames (stops at the
    // end, where the position then equals the length).
    void advance(int frames)
    {
        if (!file_.isEmpty())
            frame_ = std::clamp(frame_ + frames, 0.0, static_cast<double>(media_.frames));
    }
    // Put the position somewhere without a seek (no event), in frames.
    void setFramePosition(double frame) { frame_ = frame; }
    double framePosition() const { return frame_; }

    QList<double> seeks;   // every seek target, in frames
    QStringList opened;    // every path set, "" included
    int fixedOptionCalls = 0;
    int playCalls = 0, pauseCalls = 0;

private:
    const FakeCatalogue* catalogue_;
    QPointer<QWidget> widget_;
    QString file_;
    FakeMedia media_;
    Units units_ = Seconds;
    double frame_ = 0;
    int state_ = Stopped;
    double rate_ = 1.0;
    int volume_ = 0;
    bool mute_ = false;
    QRectF rect_;
    bool visible_ = true;
};

} // namespace vv::test
