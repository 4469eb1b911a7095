#pragma once
// The media player component: the one boundary through which the player
// opens, plays, seeks and measures media. The program uses the libmpv
// implementation (MpvPlayer); unit tests use a scripted fake.
//
// Contract (what callers may rely on):
//
// * Everything is called on the user-interface thread. Only setFileName, and
//   stop() or pause() of a playing video, wait for the player, bounded and
//   in an event loop that keeps timers and pictures going (input waits).
// * setFileName(path) opens the file and returns once it is loaded (true) or
//   has failed (false, nothing is loaded afterwards). setFileName("") unloads
//   and returns true. fileName() is "" while nothing is loaded, otherwise the
//   path that was set. A freshly loaded file stands paused on its first frame.
// * Units: setPositionUnits(Seconds) or (Frames) selects the unit of length(),
//   currentPosition() and setCurrentPosition(). Frame 0 is the first frame.
//   In frames, length() is the number of frames N of the video stream; in
//   seconds, the length of the video stream (not of the whole file).
//   With nothing loaded both read 0.
// * currentPosition() is a whole frame number (in frame units) between 0 and
//   N - 1 while playing or standing inside the video, and exactly N while the
//   player stands at the end of the file. So "position equals length" means
//   "at the end".
// * setCurrentPosition(p) seeks exactly: afterwards the picture shows frame p
//   (p = N shows the last frame and stands at the end). Values outside 0..N
//   are clamped. A seek keeps the play state (a playing video goes on
//   playing from the new frame) and raises positionChanged once.
// * playState(): Stopped (0), Paused (1), Playing (2).
//   play() starts or resumes at the current position; stop() and pause()
//   halt and keep the position.
// * rate(): 1 = normal speed. volume(): 0 is loudest, negative values are
//   hundredths of a decibel (-600 = -6 dB); clamped to -10000..0. mute().
// * The picture: its rectangle inside the host window in twips (left, top,
//   width, height). It may be larger than the window and shifted; the window
//   clips it. The video keeps its aspect ratio inside that rectangle.
//   Visibility of the picture is separate from the rectangle.
// * Events: keyPressed(vk) for a key pressed while the picture has the focus
//   (vk: the virtual-key code of the key map), clicked(insidePicture) for a
//   left click on the host window, positionChanged() after each seek.

#include <QObject>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace vv {

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum Units { Seconds = 0, Frames = 1 };
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };

    using QObject::QObject;
    ~MediaPlayer() override = default;

    // The fixed options of the component: no controls, no context menu, no
    // key handling of its own, nothing starts by itself after a load.
    virtual void applyFixedOptions() = 0;

    virtual bool setFileName(const QString& path) = 0;
    virtual QString fileName() const = 0;

    virtual void setPositionUnits(Units units) = 0;
    virtual Units positionUnits() const = 0;
    virtual double length() const = 0;
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double position) = 0;

    // The frame rate of the loaded video stream as the container states it
    // (0 when nothing is loaded or the file has no video).
    virtual double streamFrameRate() const = 0;

    virtual int playState() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;

    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    virtual bool mute() const = 0;
    virtual void setMute(bool mute) = 0;

    virtual QRectF pictureRect() const = 0;             // twips
    virtual void setPictureRect(const QRectF& twips) = 0;
    virtual bool pictureVisible() const = 0;
    virtual void setPictureVisible(bool visible) = 0;

    // The widget that shows the picture, filling its host window; null for an
    // audio-only player. Keyboard focus on it means focus on the picture.
    virtual QWidget* widget() const = 0;

signals:
    void keyPressed(int virtualKey);
    void clicked(bool insidePicture);
    void positionChanged();
};

} // namespace vv
