#pragma once
// The media player component on libmpv: the one class that talks to mpv's
// client API and the one place where mpv's seconds become frame numbers.
//
// How it keeps the MediaPlayer contract (app/mediaplayer.h):
// * Frames come from the container (app/media_probe.h): positions, their
//   pictures and times from the file's frame timeline (app/frame_timeline.h);
//   program and transport streams count (time - t0) x rate rounded, t0 being
//   the time of frame 0. mpv's clock where it stands after a load (on the
//   first picture) fixes t0 on it. mpv's own frame estimates are not used.
// * Seeks are exact (hr-seek), aimed at the middle of the window of targets
//   for which mpv shows the frame wanted. Until mpv reports the seek done,
//   currentPosition() reads the frame asked for; positionChanged() follows
//   when it is done.
// * The end: mpv flags end-of-file already while standing on the last frame,
//   so the player decides itself: it stands at the end after a seek to the
//   length, after a seek beyond the last frame that really exists (truncated
//   files), and when playback runs into the end of the file.
// * The window thread never waits for mpv's core: changes and commands go
//   through mpv's asynchronous calls (in order), and positions come from the
//   clock mpv reports (observed while playing, read back after each load,
//   seek and halt before those count as done).
// * mpv's events are only queued by its wakeup callback and drained on the
//   user-interface thread; setFileName waits for the load (bounded) in an
//   event loop that keeps drawing mpv's pictures. The container is read once
//   mpv shows the first picture, so nothing competes with mpv on its way there.
// * Each load opens the file once (app/media_file.h): mpv reads it through a
//   stream the player serves, the container reading through libavformat.
// * A seek to the frame the player already stands on (halted, as after a
//   load) costs mpv nothing: it is only reported.

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QTimer>
#include <QVariant>

class QEventLoop;
#include <atomic>
#include <future>
#include <map>
#include <memory>

#include "app/media_probe.h"
#include "app/mediaplayer.h"

struct mpv_handle;
struct mpv_event;

namespace vv {

class MediaFile;
class MpvFileStreams;
class PictureView;

// mpv's placement of the video inside its drawing area: video-zoom is the
// binary logarithm of the scale against the fitted video, the pans move the
// video's centre in units of the scaled video's size.
struct VideoZoomPan {
    double zoom = 0;
    double panX = 0;
    double panY = 0;
};

// The zoom and pan that show a video of the given display aspect (width /
// height; 0 = unknown, taken as the picture's own) fitted and centred inside
// `picture`, for a drawing area of size `window` (both in the same units).
// A rectangle equal to the window gives zoom 0 and no pan.
VideoZoomPan videoZoomPan(QSizeF window, QRectF picture, double videoAspect);

// mpv's volume (0..100, gain = (v / 100)^3) for the component's volume in
// hundredths of a decibel (0 loudest, -600 = -6 dB; clamped to -10000..0).
double mpvVolumeFor(int volume);

class MpvPlayer final : public MediaPlayer {
    Q_OBJECT
public:
    enum class Picture {
        OpenGL,     // a QOpenGLWidget filling the host (never on Qt's offscreen platform)
        Software,   // mpv's software renderer into a widget filling the host
        Offscreen,  // frames are decoded but drawn nowhere (vo=null); grabCurrentFrame works
        None,       // audio only: no video at all
    };
    struct Config {
        Picture picture = Picture::OpenGL;
        bool audio = true;           // false: no sound output (ao=null)
        int loadTimeoutMs = 10000;   // bound of setFileName's wait
    };

    // host: the window the picture fills (ignored for Offscreen and None).
    MpvPlayer(QWidget* host, const Config& config, QObject* parent = nullptr);
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    void applyFixedOptions() override;
    bool setFileName(const QString& path) override;
    QString fileName() const override { return file_; }

    void setPositionUnits(Units units) override { units_ = units; }
    Units positionUnits() const override { return units_; }
    double length() const override;
    double currentPosition() const override;
    void setCurrentPosition(double position) override;
    double streamFrameRate() const override;

    int playState() const override;
    void play() override;
    void stop() override;
    void pause() override;

    double rate() const override { return rate_; }
    void setRate(double rate) override;
    int volume() const override { return volume_; }
    void setVolume(int volume) override;
    bool mute() const override { return mute_; }
    void setMute(bool mute) override;

    QRectF pictureRect() const override { return pictureTw_; }
    void setPictureRect(const QRectF& twips) override;
    bool pictureVisible() const override { return pictureVisible_; }
    void setPictureVisible(bool visible) override;
    QWidget* widget() const override;

    // Beyond the component's members:

    // The decoded frame shown now, at the video's own size (Format_RGB32);
    // null when there is none.
    QImage grabCurrentFrame() const;
    // Why the last setFileName failed ("" after a success).
    QString lastError() const { return lastError_; }
    // What the container says about the loaded file.
    const MediaProbe& media() const { return probe_; }
    // A seek has been asked for and is not done yet.
    bool seeking() const { return seekPending_; }
    // Which picture output this player ended up with.
    Picture pictureKind() const { return picture_; }
    // The value of an mpv property, asked and waited for (diagnostics and
    // tests only); invalid when unavailable.
    QVariant engineProperty(const char* name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct MpvDestroy {
        void operator()(mpv_handle* mpv) const;
    };

    void createPictureView(QWidget* host);
    void drainEvents();
    bool handleEvent(const mpv_event& event);
    struct LoadWait;
    bool waitForLoad(const std::shared_ptr<const MediaFile>& file, MediaProbe* probe, QString* failure);
    void startProbe(LoadWait& wait);
    bool takeLoadEvent(const mpv_event& event);
    void forgetFile();
    void settleEnd();
    bool standsAtEnd() const;
    std::int64_t rawFrame() const;
    double clockTime() const;
    double seekSeconds(std::int64_t position) const;
    void seekToTime(double seconds);
    void applyPause();
    void applyPlacement();
    void restoreVideoAfterRenderer();

    void setOption(const char* name, const char* value);
    void setFlag(const char* name, bool value);
    void setDouble(const char* name, double value);
    void sendCommand(std::uint64_t reply, const char* const* args);
    void requestReads(std::uint64_t tag);
    void readNow();
    void keep(const char* name, const QVariant& value);
    bool readsDone(std::uint64_t tag);
    void halt(int state);

    std::unique_ptr<MpvFileStreams> streams_;   // outlives the core, which reads through it
    std::unique_ptr<mpv_handle, MpvDestroy> mpv_;
    Picture picture_;
    Config config_;
    QPointer<QWidget> host_;
    QPointer<QWidget> viewWidget_;
    PictureView* view_ = nullptr;   // valid while viewWidget_ is
    std::atomic<bool> wakeupQueued_{false};

    // The loaded file.
    QString file_;
    MediaProbe probe_;
    double audioSeconds_ = 0;       // length of an audio-only file
    double zeroTime_ = 0;           // mpv's clock at position 0
    std::int64_t entry_ = -1;       // mpv's playlist entry of the loaded file
    qlonglong videoTrack_ = 1;      // mpv's number of its video track
    bool loading_ = false;
    bool stopPending_ = false;      // the file before is to be stopped
    struct LoadWait {
        QEventLoop* loop = nullptr;
        std::shared_ptr<const MediaFile> file;
        bool started = false;
        bool fileLoaded = false;
        bool done = false;
        bool ok = false;
        bool readsDone = false;
        bool probed = false;
        QString failure;
        std::future<MediaProbe> probing;   // the container, read once the first frame stands
    };
    LoadWait* loadWait_ = nullptr;   // set while setFileName waits
    QString lastError_;

    Units units_ = Seconds;
    int state_ = Stopped;
    bool atEnd_ = false;
    bool seekPending_ = false;
    bool seekAcknowledged_ = false;
    std::uint64_t seekId_ = 0;
    std::uint64_t seekReply_ = 0;       // reply id of the seek command in flight
    double pendingPosition_ = 0;        // frames (video) or seconds (audio only)
    std::int64_t lastSeekFrame_ = -1;
    std::int64_t standingFrame_ = -1;   // the frame mpv stands on exactly, halted; -1 unknown
    QTimer seekGuard_;
    QEventLoop* haltWait_ = nullptr;    // set while stop() or pause() waits

    // mpv's state as it last reported it (observed, or read after a load,
    // a seek or a halt): the window thread never asks mpv and waits.
    double timePos_ = 0;
    bool timePosKnown_ = false;
    bool eofReached_ = false;
    double duration_ = -1;              // -1: unknown
    qlonglong videoTrackShown_ = 0;     // 0: none
    std::map<std::uint64_t, int> readsPending_;   // replies still to come, by tag

    double rate_ = 1.0;
    int volume_ = 0;
    bool mute_ = false;
    QRectF pictureTw_;
    bool pictureVisible_ = true;
};

} // namespace vv
