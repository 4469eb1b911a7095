#include "app/mpv_player.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <future>
#include <mutex>
#include <utility>
#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include "app/media_file.h"
#include "app/mpv_render.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "control/virtual_keys.h"

namespace vv {
namespace {

// mpv's own messages are informational (an exact seek into an MPEG stream
// makes the audio decoder complain about the cut frame): shown with
// QT_LOGGING_RULES="vv.mpv.info=true".
Q_LOGGING_CATEGORY(lcMpv, "vv.mpv", QtWarningMsg)

// Every name of mpv's options, properties and commands that the player uses.
namespace mpvname {
// Options fixed before the core starts.
constexpr char Config[] = "config";
constexpr char LoadScripts[] = "load-scripts";
constexpr char LoadStatsOverlay[] = "load-stats-overlay";
constexpr char LoadConsole[] = "load-osd-console";
constexpr char Terminal[] = "terminal";
constexpr char InputTerminal[] = "input-terminal";
constexpr char Idle[] = "idle";
constexpr char VideoOutput[] = "vo";
constexpr char AudioOutput[] = "ao";
constexpr char AudioFallbackToNull[] = "audio-fallback-to-null";
constexpr char ResumePlayback[] = "resume-playback";
constexpr char Ytdl[] = "ytdl";
constexpr char GpuHwdecInterop[] = "gpu-hwdec-interop";

// Options fixed at start-up and at every load.
constexpr char InputDefaultBindings[] = "input-default-bindings";
constexpr char InputVoKeyboard[] = "input-vo-keyboard";
constexpr char InputCursor[] = "input-cursor";
constexpr char Osc[] = "osc";
constexpr char OsdLevel[] = "osd-level";
constexpr char OsdBar[] = "osd-bar";
constexpr char OsdOnSeek[] = "osd-on-seek";
constexpr char OsdPlayingMessage[] = "osd-playing-msg";
constexpr char KeepOpen[] = "keep-open";
constexpr char KeepOpenPause[] = "keep-open-pause";
constexpr char HrSeek[] = "hr-seek";
constexpr char HrSeekFramedrop[] = "hr-seek-framedrop";
constexpr char Hwdec[] = "hwdec";
constexpr char AutoSafe[] = "auto-safe";
constexpr char AudioDisplay[] = "audio-display";
constexpr char SubAuto[] = "sub-auto";
constexpr char AudioFileAuto[] = "audio-file-auto";
constexpr char SubtitleTrack[] = "sid";
constexpr char LoopFile[] = "loop-file";
constexpr char LoopPlaylist[] = "loop-playlist";
constexpr char Keepaspect[] = "keepaspect";
constexpr char Panscan[] = "panscan";

// Per file.
constexpr char HrSeekDemuxerOffset[] = "hr-seek-demuxer-offset";
constexpr char VideoTrack[] = "vid";

// Properties.
constexpr char Pause[] = "pause";
constexpr char TimePos[] = "time-pos";
constexpr char EofReached[] = "eof-reached";
constexpr char Duration[] = "duration";
constexpr char Speed[] = "speed";
constexpr char Volume[] = "volume";
constexpr char Mute[] = "mute";
constexpr char VideoZoom[] = "video-zoom";
constexpr char VideoPanX[] = "video-pan-x";
constexpr char VideoPanY[] = "video-pan-y";

// Commands and their arguments.
constexpr char LoadFile[] = "loadfile";
constexpr char Replace[] = "replace";
constexpr char Stop[] = "stop";
constexpr char Seek[] = "seek";
constexpr char SeekAbsoluteExact[] = "absolute+exact";
constexpr char ScreenshotRaw[] = "screenshot-raw";
constexpr char ScreenshotVideo[] = "video";
constexpr char ScreenshotWidth[] = "w";       // fields of screenshot-raw's result
constexpr char ScreenshotHeight[] = "h";
constexpr char ScreenshotStride[] = "stride";
constexpr char ScreenshotFormat[] = "format";
constexpr char ScreenshotData[] = "data";

// Values.
constexpr char Yes[] = "yes";
constexpr char No[] = "no";
constexpr char Auto[] = "auto";
constexpr char NullOutput[] = "null";
constexpr char SoundOutputs[] = "pipewire,pulse,alsa,jack";
constexpr char RenderApiOutput[] = "libmpv";
constexpr char LogLevel[] = "error";
} // namespace mpvname

struct FixedOption {
    const char* name;
    const char* value;
};

// No controls, no key or mouse handling, no messages of its own; exact seeks;
// a file stays open at its end; nothing but the file. (Hardware decoding
// follows the picture output, chosen when the player is made.)
constexpr FixedOption FixedOptions[] = {
    {mpvname::InputDefaultBindings, mpvname::No},
    {mpvname::InputVoKeyboard, mpvname::No},
    {mpvname::InputCursor, mpvname::No},
    {mpvname::Osc, mpvname::No},
    {mpvname::OsdLevel, "0"},
    {mpvname::OsdBar, mpvname::No},
    {mpvname::OsdOnSeek, mpvname::No},
    {mpvname::OsdPlayingMessage, ""},
    {mpvname::KeepOpen, mpvname::Yes},
    {mpvname::KeepOpenPause, mpvname::Yes},
    {mpvname::HrSeek, mpvname::Yes},
    {mpvname::HrSeekFramedrop, mpvname::Yes},
    {mpvname::AudioDisplay, mpvname::No},
    {mpvname::SubAuto, mpvname::No},
    {mpvname::AudioFileAuto, mpvname::No},
    {mpvname::SubtitleTrack, mpvname::No},
    {mpvname::LoopFile, mpvname::No},
    {mpvname::LoopPlaylist, mpvname::No},
    {mpvname::Keepaspect, mpvname::Yes},
    {mpvname::Panscan, "0"},
};

// How far before an exact seek target the demuxer starts reading. Open GOPs
// (B-frames referring back across a keyframe) need the previous GOP decoded;
// MPEG program streams need about a second or they land late.
double demuxerOffsetFor(ContainerKind kind)
{
    return kind == ContainerKind::MpegProgram || kind == ContainerKind::MpegTransport ? 1.0 : 0.2;
}

// An exact seek to time t shows the first frame whose time is at least
// t - 5 ms, so frame f (at t0 + f / fps) is shown for any target in
// (t0 + (f - 1) / fps + 5 ms, t0 + f / fps + 5 ms]. The player aims at the
// middle of that window: half a frame before the frame plus the 5 ms, safe
// from timestamp rounding in either direction at any frame rate.
constexpr double HrSeekTolerance = 0.005;
// A file without video counts its frames at the common PAL rate, so that it
// plays, loops and ends in the frame units a video does.
constexpr double AudioOnlyFrameRate = 25.0;

// What mpv's replies to asynchronous requests belong to (reply_userdata).
// A seek's command carries an even id 2n; the reads that settle it, 2n + 1.
constexpr std::uint64_t NoReply = 0;
constexpr std::uint64_t LoadReply = 1;       // the loadfile command
constexpr std::uint64_t LoadReadsTag = 3;    // the reads once the first picture stands
constexpr std::uint64_t HaltReadsTag = 5;    // the reads after playback was halted
constexpr std::uint64_t FirstSeekId = 8;
// Observed properties (reply_userdata of their change events).
constexpr std::uint64_t Observed = 1;

// How long stop() and pause() wait for mpv to tell where playback halted.
constexpr int HaltWaitMs = 1000;

constexpr double MaxSpeed = 100.0;
constexpr double MinSpeed = 0.01;
constexpr int SeekGuardMs = 10000;

QVariant fromNode(const mpv_node& node)
{
    switch (node.format) {
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG:
        return node.u.flag != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(node.u.int64);
    case MPV_FORMAT_DOUBLE:
        return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        for (int i = 0; i < node.u.list->num; ++i)
            list << fromNode(node.u.list->values[i]);
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        for (int i = 0; i < node.u.list->num; ++i)
            map.insert(QString::fromUtf8(node.u.list->keys[i]), fromNode(node.u.list->values[i]));
        return map;
    }
    default:
        return {};
    }
}

const mpv_node* mapValue(const mpv_node& map, const char* key)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

// The protocol of the streams through which mpv reads the files the player
// opened.
constexpr char StreamProtocol[] = "vvmedia";

} // namespace

// mpv reads the file of a load from the player's own open file: its URL
// carries the number of the load, then the file's name (mpv guesses the
// container from the name's extension first). Only the file of the current
// load can be opened, and only until the load is over; each stream mpv opens
// keeps the file open as long as mpv reads it.
class MpvFileStreams {
public:
    QByteArray offer(std::shared_ptr<const MediaFile> file)
    {
        const std::lock_guard lock(mutex_);
        file_ = std::move(file);
        return prefix() + QByteArray::number(++load_) + '/' + QFile::encodeName(QFileInfo(file_->path()).fileName());
    }

    void withdraw()
    {
        const std::lock_guard lock(mutex_);
        file_.reset();
    }

    // Called by mpv (on a thread of its own) to open a URL.
    static int open(void* streams, char* url, mpv_stream_cb_info* info)
    {
        std::shared_ptr<const MediaFile> file = static_cast<MpvFileStreams*>(streams)->find(url);
        auto* reader = file ? new (std::nothrow) MediaFileReader(std::move(file)) : nullptr;
        if (!reader)
            return MPV_ERROR_LOADING_FAILED;
        info->cookie = reader;
        info->read_fn = [](void* cookie, char* buffer, std::uint64_t bytes) -> std::int64_t {
            return static_cast<MediaFileReader*>(cookie)->read(buffer, bytes);
        };
        info->seek_fn = [](void* cookie, std::int64_t offset) -> std::int64_t {
            return static_cast<MediaFileReader*>(cookie)->seek(offset) ? offset : std::int64_t{MPV_ERROR_GENERIC};
        };
        info->size_fn = [](void* cookie) -> std::int64_t {
            const std::int64_t size = static_cast<MediaFileReader*>(cookie)->file().size();
            return size >= 0 ? size : std::int64_t{MPV_ERROR_UNSUPPORTED};
        };
        info->close_fn = [](void* cookie) { delete static_cast<MediaFileReader*>(cookie); };
        return 0;
    }

private:
    static QByteArray prefix() { return QByteArray(StreamProtocol) + "://"; }

    std::shared_ptr<const MediaFile> find(const char* url)
    {
        const QByteArray text(url);
        if (!text.startsWith(prefix()))
            return nullptr;
        bool number = false;
        const std::uint64_t load = text.mid(prefix().size()).split('/').value(0).toULongLong(&number);
        const std::lock_guard lock(mutex_);
        return number && load == load_ ? file_ : nullptr;
    }

    std::mutex mutex_;
    std::uint64_t load_ = 0;
    std::shared_ptr<const MediaFile> file_;   // the file of load number load_
};

VideoZoomPan videoZoomPan(QSizeF window, QRectF picture, double videoAspect)
{
    if (window.width() <= 0 || window.height() <= 0 || picture.width() <= 0 || picture.height() <= 0)
        return {};
    const double aspect = videoAspect > 0 ? videoAspect : picture.width() / picture.height();
    // mpv fits the video into the window, then scales and shifts it.
    const double fittedWidth = std::min(window.width(), window.height() * aspect);
    const double wantedWidth = std::min(picture.width(), picture.height() * aspect);
    const double wantedHeight = wantedWidth / aspect;
    VideoZoomPan result;
    result.zoom = std::log2(wantedWidth / fittedWidth);
    result.panX = (picture.center().x() - window.width() / 2) / wantedWidth;
    result.panY = (picture.center().y() - window.height() / 2) / wantedHeight;
    return result;
}

double mpvVolumeFor(int volume)
{
    const int hundredthsDb = std::clamp(volume, -10000, 0);
    // gain = 10^(dB / 20) and gain = (v / 100)^3, so v = 100 * 10^(dB / 60).
    return 100.0 * std::pow(10.0, hundredthsDb / 6000.0);
}

void MpvPlayer::MpvDestroy::operator()(mpv_handle* mpv) const
{
    mpv_terminate_destroy(mpv);
}

MpvPlayer::MpvPlayer(QWidget* host, const Config& config, QObject* parent)
    : MediaPlayer(parent), streams_(std::make_unique<MpvFileStreams>()), picture_(config.picture), config_(config)
{
    // mpv parses and prints numbers the C way; the program sets this at
    // start-up, and a player must never run with anything else.
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || std::strcmp(numeric, "C") != 0) {
        qCWarning(lcMpv) << "LC_NUMERIC was" << numeric << "- set to C for libmpv";
        std::setlocale(LC_NUMERIC, "C");
    }

    // Qt's offscreen platform has no OpenGL: a QOpenGLWidget shown there crashes.
    const QString platform = QGuiApplication::platformName();
    if (picture_ == Picture::OpenGL && (platform == "offscreen" || platform == "minimal"))
        picture_ = Picture::Software;
    if ((picture_ == Picture::OpenGL || picture_ == Picture::Software) && !host)
        picture_ = Picture::Offscreen;

    mpv_.reset(mpv_create());
    if (!mpv_)
        qFatal("libmpv: mpv_create failed");
    mpv_handle* mpv = mpv_.get();

    const bool drawn = picture_ == Picture::OpenGL || picture_ == Picture::Software;
    const FixedOption startOptions[] = {
        {mpvname::Config, mpvname::No},
        {mpvname::LoadScripts, mpvname::No},
        {mpvname::LoadStatsOverlay, mpvname::No},
        {mpvname::LoadConsole, mpvname::No},
        {mpvname::Terminal, mpvname::No},
        {mpvname::InputTerminal, mpvname::No},
        {mpvname::Idle, mpvname::Yes},
        {mpvname::ResumePlayback, mpvname::No},
        {mpvname::Ytdl, mpvname::No},
        // A GPU draws the OpenGL picture: let it decode as well.
        {mpvname::GpuHwdecInterop, picture_ == Picture::OpenGL ? mpvname::Auto : mpvname::No},
        {mpvname::Hwdec, picture_ == Picture::OpenGL ? mpvname::AutoSafe : mpvname::No},
        {mpvname::VideoOutput, drawn ? mpvname::RenderApiOutput : mpvname::NullOutput},
        // With sound, the first sound server or device that answers; a
        // machine without one plays silently at normal speed. (SDL is left
        // out: it takes over the process's signal handlers.)
        {mpvname::AudioOutput, config.audio ? mpvname::SoundOutputs : mpvname::NullOutput},
        {mpvname::AudioFallbackToNull, mpvname::Yes},
        {mpvname::VideoTrack, picture_ == Picture::None ? mpvname::No : mpvname::Auto},
        {mpvname::Pause, mpvname::Yes},
    };
    for (const FixedOption& option : startOptions) {
        if (mpv_set_option_string(mpv, option.name, option.value) < 0)
            qCDebug(lcMpv) << "option unavailable:" << option.name;
    }
    for (const FixedOption& option : FixedOptions)
        mpv_set_option_string(mpv, option.name, option.value);
    if (mpv_initialize(mpv) < 0)
        qFatal("libmpv: mpv_initialize failed");

    if (mpv_stream_cb_add_ro(mpv, StreamProtocol, streams_.get(), &MpvFileStreams::open) < 0)
        qFatal("libmpv: cannot serve the player's own files");
    mpv_request_log_messages(mpv, mpvname::LogLevel);
    mpv_observe_property(mpv, Observed, mpvname::EofReached, MPV_FORMAT_NODE);
    mpv_observe_property(mpv, Observed, mpvname::TimePos, MPV_FORMAT_NODE);
    mpv_set_wakeup_callback(
        mpv,
        [](void* self) {
            auto* player = static_cast<MpvPlayer*>(self);
            if (!player->wakeupQueued_.exchange(true))
                QMetaObject::invokeMethod(player, &MpvPlayer::drainEvents, Qt::QueuedConnection);
        },
        this);

    seekGuard_.setSingleShot(true);
    seekGuard_.setInterval(SeekGuardMs);
    connect(&seekGuard_, &QTimer::timeout, this, [this] {
        if (seekPending_)
            qCWarning(lcMpv) << "seek not finished in time";
        seekPending_ = false;
    });

    // The render context must exist before the first file is loaded, or the
    // video output has nothing to draw into.
    if (drawn)
        createPictureView(host);
}

MpvPlayer::~MpvPlayer()
{
    // Fixed order: no more wakeups, then the render context, then the core.
    mpv_set_wakeup_callback(mpv_.get(), nullptr, nullptr);
    if (viewWidget_) {
        view_->releaseRenderer();
        delete viewWidget_.data();
    }
    mpv_.reset();
}

void MpvPlayer::createPictureView(QWidget* host)
{
    host_ = host;
    if (picture_ == Picture::OpenGL) {
        auto* view = new MpvGlWidget(mpv_.get(), host);
        view_ = view;
        viewWidget_ = view;
    } else {
        auto* view = new MpvSoftwareWidget(mpv_.get(), host);
        view_ = view;
        viewWidget_ = view;
    }
    view_->onRendererCreated = [this] { restoreVideoAfterRenderer(); };
    viewWidget_->setGeometry(host->rect());
    viewWidget_->lower();
    viewWidget_->show();
    viewWidget_->installEventFilter(this);
    host->installEventFilter(this);
}

QWidget* MpvPlayer::widget() const
{
    return viewWidget_.data();
}

// ------------------------------------------------------------------ options

// Every change goes to mpv asynchronously, in order with the commands: the
// window thread never waits for mpv's core. A refusal comes back as a reply.
void MpvPlayer::setOption(const char* name, const char* value)
{
    const char* text = value;
    mpv_set_property_async(mpv_.get(), NoReply, name, MPV_FORMAT_STRING, &text);
}

void MpvPlayer::setFlag(const char* name, bool value)
{
    int flag = value ? 1 : 0;
    mpv_set_property_async(mpv_.get(), NoReply, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::setDouble(const char* name, double value)
{
    mpv_set_property_async(mpv_.get(), NoReply, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvPlayer::sendCommand(std::uint64_t reply, const char* const* args)
{
    const int rc = mpv_command_async(mpv_.get(), reply, const_cast<const char**>(args));
    if (rc < 0)
        qCDebug(lcMpv) << "command" << args[0] << "refused:" << mpv_error_string(rc);
}

// ------------------------------------------------------------ what mpv reports

// Asks for the values the player keeps of mpv's state; the replies come back
// as events, after everything asked before them has been done.
void MpvPlayer::requestReads(std::uint64_t tag)
{
    int asked = 0;
    for (const char* name : {mpvname::TimePos, mpvname::EofReached, mpvname::Duration, mpvname::VideoTrack}) {
        if (mpv_get_property_async(mpv_.get(), tag, name, MPV_FORMAT_NODE) >= 0)
            ++asked;
    }
    readsPending_[tag] = asked;
}

// The same, answered at once: only where a load ran out of time.
void MpvPlayer::readNow()
{
    for (const char* name : {mpvname::TimePos, mpvname::EofReached, mpvname::Duration, mpvname::VideoTrack})
        keep(name, engineProperty(name));
}

void MpvPlayer::keep(const char* name, const QVariant& value)
{
    if (std::strcmp(name, mpvname::TimePos) == 0) {
        timePosKnown_ = value.isValid();
        timePos_ = value.toDouble();
    } else if (std::strcmp(name, mpvname::EofReached) == 0) {
        eofReached_ = value.toBool();
    } else if (std::strcmp(name, mpvname::Duration) == 0) {
        duration_ = value.isValid() ? value.toDouble() : -1.0;
    } else if (std::strcmp(name, mpvname::VideoTrack) == 0) {
        videoTrackShown_ = value.typeId() == QMetaType::LongLong ? value.toLongLong() : 0;
    }
}

QVariant MpvPlayer::engineProperty(const char* name) const
{
    mpv_node node;
    if (mpv_get_property(mpv_.get(), name, MPV_FORMAT_NODE, &node) < 0)
        return {};
    QVariant value = fromNode(node);
    mpv_free_node_contents(&node);
    return value;
}

void MpvPlayer::applyFixedOptions()
{
    for (const FixedOption& option : FixedOptions)
        setOption(option.name, option.value);
}

// ------------------------------------------------------------------- events

void MpvPlayer::drainEvents()
{
    wakeupQueued_.store(false);
    for (;;) {
        mpv_event* event = mpv_wait_event(mpv_.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (loadWait_ && takeLoadEvent(*event))
            continue;
        // The event is only valid until the next mpv_wait_event, which a
        // slot of positionChanged may reach (by loading a file): signal last.
        if (handleEvent(*event) && !loading_)
            emit positionChanged();
    }
}

// Returns true when a seek has just completed.
bool MpvPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        qCInfo(lcMpv).noquote() << message->prefix << QString::fromUtf8(message->text).trimmed();
        return false;
    }
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.error < 0)
            qCDebug(lcMpv) << "property refused:" << mpv_error_string(event.error);
        return false;
    case MPV_EVENT_COMMAND_REPLY:
        if (seekPending_ && event.reply_userdata == seekReply_) {
            if (event.error < 0) {
                qCWarning(lcMpv) << "seek refused:" << mpv_error_string(event.error);
                seekPending_ = false;
            } else {
                seekAcknowledged_ = true;
            }
        }
        return false;
    case MPV_EVENT_PLAYBACK_RESTART:
        // A restart after our last seek was taken up is that seek's end;
        // earlier ones belong to seeks it replaced. Where it landed is read
        // before the seek counts as done.
        if (seekPending_ && seekAcknowledged_ && !readsPending_.count(seekReply_ + 1))
            requestReads(seekReply_ + 1);
        return false;
    case MPV_EVENT_GET_PROPERTY_REPLY: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        keep(property->name, event.error < 0 || property->format != MPV_FORMAT_NODE
                                 ? QVariant()
                                 : fromNode(*static_cast<const mpv_node*>(property->data)));
        const auto pending = readsPending_.find(event.reply_userdata);
        if (pending == readsPending_.end() || --pending->second > 0)
            return false;
        readsPending_.erase(pending);
        return readsDone(event.reply_userdata);
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        // A change may come after a read that is newer than it (a clock
        // sampled in the middle of a seek): halted, the reads alone place
        // the clock.
        if (state_ != Playing && std::strcmp(property->name, mpvname::TimePos) == 0)
            return false;
        keep(property->name, property->format == MPV_FORMAT_NODE
                                 ? fromNode(*static_cast<const mpv_node*>(property->data))
                                 : QVariant());
        settleEnd();
        return false;
    }
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (file_.isEmpty() || end->playlist_entry_id != entry_)
            return false;   // a file unloaded earlier
        // The file went away under us (a read error): it stands at its end.
        qCWarning(lcMpv) << "playback ended:" << mpv_error_string(end->error);
        const bool wasSeeking = seekPending_;
        seekPending_ = false;
        atEnd_ = true;
        if (state_ == Playing)
            state_ = Stopped;
        return wasSeeking;
    }
    default:
        return false;
    }
}

// The reads asked for with `tag` have all come back; true when they
// complete a seek.
bool MpvPlayer::readsDone(std::uint64_t tag)
{
    if (tag == LoadReadsTag && loadWait_) {
        loadWait_->readsDone = true;
        loadWait_->loop->quit();
        return false;
    }
    if (tag == HaltReadsTag) {
        if (haltWait_)
            haltWait_->quit();
        return false;
    }
    if (!seekPending_ || tag != seekReply_ + 1)
        return false;
    seekPending_ = false;
    seekGuard_.stop();
    settleEnd();
    standingFrame_ = state_ != Playing && !atEnd_ && probe_.hasVideo ? lastSeekFrame_ : -1;
    return true;
}

// ------------------------------------------------------------------ loading

bool MpvPlayer::setFileName(const QString& path)
{
    if (loading_) {
        lastError_ = QStringLiteral("a file is being loaded");
        return false;
    }
    forgetFile();
    lastError_.clear();
    if (path.isEmpty())
        return true;

    // A loaded file stands still on its first frame.
    setFlag(mpvname::Pause, true);
    // Without a render context yet (an OpenGL widget not shown so far) the
    // video output cannot open and mpv would refuse the file: open it without
    // video, which comes back when the render context is made.
    const bool videoNow = picture_ != Picture::None && (!viewWidget_ || view_->hasRenderer());
    setOption(mpvname::VideoTrack, videoNow ? mpvname::Auto : mpvname::No);

    loading_ = true;
    stopPending_ = false;   // the load replaces the file before
    QString failure;
    MediaProbe probe;
    bool loaded = false;
    if (const std::shared_ptr<const MediaFile> file = MediaFile::open(path, &failure)) {
        const QByteArray url = streams_->offer(file);
        const char* command[] = {mpvname::LoadFile, url.constData(), mpvname::Replace, nullptr};
        const int rc = mpv_command_async(mpv_.get(), LoadReply, command);
        if (rc < 0)
            failure = QString::fromUtf8(mpv_error_string(rc));
        else
            loaded = waitForLoad(file, &probe, &failure);
        streams_->withdraw();
    }
    loading_ = false;

    if (!loaded || !probe.ok) {
        const char* stop[] = {mpvname::Stop, nullptr};
        sendCommand(NoReply, stop);
        entry_ = -1;
        lastError_ = loaded ? probe.error : failure;
        qCWarning(lcMpv).noquote() << "cannot open" << path << ":" << lastError_;
        return false;
    }
    setDouble(mpvname::HrSeekDemuxerOffset, demuxerOffsetFor(probe.container));
    file_ = path;
    probe_ = probe;
    // The video track mpv chose, or (opened without video) the first one.
    videoTrack_ = std::max<qlonglong>(1, videoTrackShown_);
    audioSeconds_ = probe.hasVideo ? 0.0 : duration_ >= 0 ? duration_ : probe.fileSeconds;
    // mpv stood on the first picture when it was read: its clock there fixes
    // where position 0 lies on it (mpv's clock origin differs between containers).
    zeroTime_ = probe.firstFrameTime;
    if (videoNow && !probe.timeline.empty())
        zeroTime_ = (timePosKnown_ ? timePos_ : probe.firstFrameTime) - probe.timeline.pictureSeconds(0);
    standingFrame_ = videoNow && probe.hasVideo ? 0 : -1;
    state_ = Stopped;   // standing on frame 0, nothing started
    applyPlacement();
    return true;
}

// Waits until the file is loaded and its first frame stands, or the load
// failed, or the time is up, in an event loop of its own: mpv's events keep
// arriving through drainEvents and its pictures keep being drawn. Input
// waits until the load is over.
//
// The container is read (probeMedia) on a thread of its own once mpv shows
// the first picture: on the way to that picture mpv has the processor to
// itself, and the user sees it while the frame timeline is being read.
bool MpvPlayer::waitForLoad(const std::shared_ptr<const MediaFile>& file, MediaProbe* probe, QString* failure)
{
    LoadWait wait;
    QEventLoop loop;
    wait.loop = &loop;
    wait.file = file;
    loadWait_ = &wait;
    bool late = false;
    QTimer::singleShot(config_.loadTimeoutMs, &loop, [&] {
        late = true;
        loop.quit();
    });
    const auto over = [&] {
        if (late || (wait.done && !wait.ok))
            return true;
        return wait.done && wait.readsDone && wait.probed;
    };
    drainEvents();
    while (!over())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    loadWait_ = nullptr;
    if (wait.done && !wait.ok) {
        *failure = wait.failure;
        return false;
    }
    if (!wait.done && !wait.fileLoaded) {
        *failure = QStringLiteral("loading timed out");
        return false;
    }
    if (!wait.done)
        qCWarning(lcMpv) << "first frame not ready in time";   // usable all the same
    if (!wait.readsDone) {
        readsPending_.erase(LoadReadsTag);
        readNow();
    }
    // Joins the reading thread; it is done unless the time ran out.
    *probe = wait.probing.valid() ? wait.probing.get() : probeMedia(file);
    return true;
}

// The container is read while the first picture is on its way to the screen;
// the wait ends when it has been read.
void MpvPlayer::startProbe(LoadWait& wait)
{
    LoadWait* waiting = &wait;
    // The wait joins this thread before its event loop goes; a report still
    // queued then goes with the loop.
    wait.probing = std::async(std::launch::async, [file = wait.file, loop = wait.loop, waiting] {
        MediaProbe probe = probeMedia(file);
        QMetaObject::invokeMethod(loop, [loop, waiting] {
            waiting->probed = true;
            loop->quit();
        }, Qt::QueuedConnection);
        return probe;
    });
}

// The events that tell how a load is going; true when the event was one.
bool MpvPlayer::takeLoadEvent(const mpv_event& event)
{
    LoadWait& wait = *loadWait_;
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        wait.started = true;
        entry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        return true;
    case MPV_EVENT_FILE_LOADED:
        wait.fileLoaded = wait.started;
        return true;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata != LoadReply)
            return false;
        if (event.error >= 0)
            return true;
        wait.failure = QString::fromUtf8(mpv_error_string(event.error));
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        if (!wait.started || end->playlist_entry_id != entry_)
            return true;   // the end of the file this load replaces
        wait.failure = end->error < 0 ? QString::fromUtf8(mpv_error_string(end->error))
                                      : QStringLiteral("the file could not be played");
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        if (!wait.fileLoaded)
            return true;
        wait.ok = true;
        break;
    default:
        return false;
    }
    if (!wait.done) {
        wait.done = true;
        if (wait.ok) {
            // Both quit the loop when they are done.
            requestReads(LoadReadsTag);
            startProbe(wait);
        } else {
            wait.loop->quit();
        }
    }
    return true;
}

void MpvPlayer::forgetFile()
{
    if (!file_.isEmpty()) {
        // mpv stops the file when the event loop next turns, unless a load
        // replaces it first: then mpv keeps its audio and video outputs open
        // instead of closing and reopening them.
        stopPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (!std::exchange(stopPending_, false))
                return;
            const char* stop[] = {mpvname::Stop, nullptr};
            sendCommand(NoReply, stop);
        });
    }
    file_.clear();
    probe_ = MediaProbe();
    audioSeconds_ = 0;
    zeroTime_ = 0;
    entry_ = -1;
    state_ = Stopped;
    atEnd_ = false;
    seekPending_ = false;
    seekGuard_.stop();
    lastSeekFrame_ = -1;
    standingFrame_ = -1;
    readsPending_.clear();
}

// ------------------------------------------------------------ time and frames

double MpvPlayer::clockTime() const
{
    return timePosKnown_ ? timePos_ : zeroTime_;
}

std::int64_t MpvPlayer::rawFrame() const
{
    const FrameTimeline& timeline = probe_.timeline;
    if (timeline.empty())
        return roundEven((clockTime() - zeroTime_) * probe_.frameRate);
    const std::int64_t shown = timeline.positionAt(clockTime() - zeroTime_);
    // Standing where a seek put it: several positions may show one picture
    // (empty AVI entries), and the one asked for is the one the user is at.
    if (state_ != Playing && lastSeekFrame_ >= 0 && lastSeekFrame_ < timeline.positions()
        && timeline.pictureTicks(lastSeekFrame_) == timeline.pictureTicks(shown))
        return lastSeekFrame_;
    return shown;
}

bool MpvPlayer::standsAtEnd() const
{
    if (file_.isEmpty())
        return false;
    if (atEnd_)
        return true;
    if (seekPending_ || !eofReached_)
        return false;
    // mpv flags the end already while it stands on the last frame: the end is
    // reached by playing into it, or by a seek to a frame the file lacks.
    if (state_ == Playing)
        return true;
    return probe_.hasVideo && lastSeekFrame_ > rawFrame();
}

void MpvPlayer::settleEnd()
{
    if (atEnd_ || !standsAtEnd())
        return;
    atEnd_ = true;
    if (state_ == Playing)
        state_ = Stopped;
}

double MpvPlayer::length() const
{
    if (file_.isEmpty())
        return 0;
    if (!probe_.hasVideo)
        return units_ == Frames ? std::round(audioSeconds_ * AudioOnlyFrameRate) : audioSeconds_;
    return units_ == Frames ? double(probe_.frameCount) : probe_.videoSeconds;
}

double MpvPlayer::currentPosition() const
{
    if (file_.isEmpty())
        return 0;
    if (!probe_.hasVideo) {
        if (standsAtEnd())
            return length();
        const double below = std::nextafter(audioSeconds_, 0.0);
        const double seconds = seekPending_ ? pendingPosition_ : std::clamp(clockTime(), 0.0, std::max(0.0, below));
        if (units_ == Seconds)
            return seconds;
        return std::clamp(std::floor(seconds * AudioOnlyFrameRate), 0.0, std::max(0.0, length() - 1));
    }

    const std::int64_t frames = probe_.frameCount;
    const double rate = probe_.frameRate;
    if (standsAtEnd())
        return length();
    if (seekPending_)
        return units_ == Frames ? pendingPosition_ : pendingPosition_ / rate;
    if (units_ == Frames)
        return double(std::clamp<std::int64_t>(rawFrame(), 0, std::max<std::int64_t>(0, frames - 1)));
    const double last = std::max(0.0, (frames - 1) / rate);
    return std::clamp(clockTime() - zeroTime_, 0.0, last);
}

double MpvPlayer::streamFrameRate() const
{
    if (file_.isEmpty())
        return 0.0;
    return probe_.hasVideo ? probe_.frameRate : AudioOnlyFrameRate;
}

void MpvPlayer::setCurrentPosition(double position)
{
    if (file_.isEmpty() || std::isnan(position))
        return;
    double target = 0;
    if (probe_.hasVideo && probe_.frameRate > 0) {
        const std::int64_t frames = probe_.frameCount;
        const double wanted = units_ == Frames ? position : position * probe_.frameRate;
        const std::int64_t frame = std::clamp<std::int64_t>(roundEven(std::clamp(wanted, -1.0, 1e12)), 0, frames);
        if (frame == standingFrame_ && !seekPending_ && state_ != Playing && !atEnd_) {
            // Already there (the start of a load): mpv need not decode the
            // picture again. The seek is reported all the same.
            lastSeekFrame_ = frame;
            const std::uint64_t asked = ++seekId_;
            QTimer::singleShot(0, this, [this, asked] {
                if (seekId_ == asked && !seekPending_)
                    emit positionChanged();
            });
            return;
        }
        pendingPosition_ = double(frame);
        lastSeekFrame_ = frame;
        atEnd_ = frame == frames;
        target = zeroTime_ + seekSeconds(frame);
    } else if (!probe_.hasVideo) {
        const bool toEnd = units_ == Frames ? position >= length() : position >= audioSeconds_;
        const double seconds = units_ == Frames ? position / AudioOnlyFrameRate : position;
        pendingPosition_ = toEnd ? audioSeconds_ : std::clamp(seconds, 0.0, audioSeconds_);
        atEnd_ = toEnd;
        target = pendingPosition_;
    } else {
        return;
    }
    if (atEnd_ && state_ == Playing)
        state_ = Stopped;
    applyPause();
    seekToTime(std::max(0.0, target));
}

// Where to aim mpv's exact seek for position p (seconds from position 0).
double MpvPlayer::seekSeconds(std::int64_t position) const
{
    const FrameTimeline& timeline = probe_.timeline;
    const double period = 1.0 / probe_.frameRate;
    if (timeline.empty())
        return (position - 0.5) * period + HrSeekTolerance;
    // The picture's time less half the gap to the picture before it.
    const double picture = timeline.pictureSeconds(position);
    double gap = period;
    for (std::int64_t p = position; p > 0; --p) {
        const double before = timeline.pictureSeconds(p - 1);
        if (before < picture) {
            gap = picture - before;
            break;
        }
    }
    return picture - std::min(gap, period) / 2 + HrSeekTolerance;
}

void MpvPlayer::seekToTime(double seconds)
{
    // A negative absolute time would count from the end: never pass one.
    const QByteArray time = QByteArray::number(std::max(0.0, seconds), 'f', 6);
    const char* command[] = {mpvname::Seek, time.constData(), mpvname::SeekAbsoluteExact, nullptr};
    seekPending_ = true;
    seekAcknowledged_ = false;
    standingFrame_ = -1;
    seekId_ += 1;
    seekReply_ = FirstSeekId + 2 * seekId_;
    seekGuard_.start();
    if (mpv_command_async(mpv_.get(), seekReply_, command) < 0)
        seekPending_ = false;
}

// ------------------------------------------------------------ play state

int MpvPlayer::playState() const
{
    if (file_.isEmpty())
        return Stopped;
    if (state_ == Playing && standsAtEnd())
        return Stopped;
    return state_;
}

void MpvPlayer::applyPause()
{
    setFlag(mpvname::Pause, state_ != Playing);
}

void MpvPlayer::play()
{
    if (file_.isEmpty())
        return;
    if (atEnd_) {
        // Nothing left to play.
        state_ = Stopped;
        return;
    }
    state_ = Playing;
    standingFrame_ = -1;
    applyPause();
    settleEnd();
}

void MpvPlayer::stop()
{
    halt(Stopped);
}

void MpvPlayer::pause()
{
    halt(Paused);
}

// Halts playback where it is. Halting a playing video waits (in an event loop
// that keeps mpv's pictures coming, input held back) until mpv tells where
// it halted, so that the position read next is the frame on the screen.
void MpvPlayer::halt(int state)
{
    if (file_.isEmpty())
        return;
    const bool wasPlaying = state_ == Playing;
    state_ = state;
    applyPause();
    if (!wasPlaying || seekPending_ || haltWait_)
        return;
    QEventLoop loop;
    haltWait_ = &loop;
    requestReads(HaltReadsTag);
    QTimer::singleShot(HaltWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    haltWait_ = nullptr;
    readsPending_.erase(HaltReadsTag);
}

void MpvPlayer::setRate(double rate)
{
    if (std::isnan(rate))
        return;
    rate_ = std::clamp(rate, MinSpeed, MaxSpeed);
    setDouble(mpvname::Speed, rate_);
}

void MpvPlayer::setVolume(int volume)
{
    volume_ = std::clamp(volume, -10000, 0);
    setDouble(mpvname::Volume, mpvVolumeFor(volume_));
}

void MpvPlayer::setMute(bool mute)
{
    mute_ = mute;
    setFlag(mpvname::Mute, mute);
}

// ------------------------------------------------------------------ picture

void MpvPlayer::setPictureRect(const QRectF& twips)
{
    pictureTw_ = twips;
    applyPlacement();
}

void MpvPlayer::setPictureVisible(bool visible)
{
    pictureVisible_ = visible;
    // A file without a picture (music) shows none: the window stays black
    // rather than keeping the last picture of the video before.
    if (viewWidget_)
        view_->setPictureShown(visible && probe_.hasVideo);
}

void MpvPlayer::applyPlacement()
{
    if (!viewWidget_)
        return;
    const QRectF picture(pictureTw_.x() / TwipsPerPixel, pictureTw_.y() / TwipsPerPixel,
                         pictureTw_.width() / TwipsPerPixel, pictureTw_.height() / TwipsPerPixel);
    // No rectangle set yet: the picture fills the window.
    const QSizeF window = viewWidget_->size();
    const VideoZoomPan place = pictureTw_.isEmpty()
        ? VideoZoomPan{}
        : videoZoomPan(window, picture, probe_.displayAspect);
    setDouble(mpvname::VideoZoom, place.zoom);
    setDouble(mpvname::VideoPanX, place.panX);
    setDouble(mpvname::VideoPanY, place.panY);
}

void MpvPlayer::restoreVideoAfterRenderer()
{
    // A render context made after the file was opened (the OpenGL widget is
    // shown late, or its window changed): mpv gave up the video, take it back.
    if (file_.isEmpty() || !probe_.hasVideo)
        return;
    standingFrame_ = -1;
    setOption(mpvname::VideoTrack, QByteArray::number(videoTrack_).constData());
}

QImage MpvPlayer::grabCurrentFrame() const
{
    if (file_.isEmpty() || !probe_.hasVideo || picture_ == Picture::None)
        return {};
    const char* command[] = {mpvname::ScreenshotRaw, mpvname::ScreenshotVideo, nullptr};
    mpv_node result;
    if (mpv_command_ret(mpv_.get(), command, &result) < 0)
        return {};
    QImage image;
    const mpv_node* w = mapValue(result, mpvname::ScreenshotWidth);
    const mpv_node* h = mapValue(result, mpvname::ScreenshotHeight);
    const mpv_node* stride = mapValue(result, mpvname::ScreenshotStride);
    const mpv_node* format = mapValue(result, mpvname::ScreenshotFormat);
    const mpv_node* data = mapValue(result, mpvname::ScreenshotData);
    if (w && h && stride && format && data && data->format == MPV_FORMAT_BYTE_ARRAY
        && format->format == MPV_FORMAT_STRING && std::strcmp(format->u.string, Rgb32PixelFormat) == 0
        && data->u.ba->size >= std::size_t(stride->u.int64 * h->u.int64)) {
        const QImage view(static_cast<const uchar*>(data->u.ba->data), int(w->u.int64), int(h->u.int64),
                          int(stride->u.int64), QImage::Format_RGB32);
        image = view.copy();
        makeOpaque(image.bits(), image.width(), image.height(), std::size_t(image.bytesPerLine()));
    }
    mpv_free_node_contents(&result);
    return image;
}

// ------------------------------------------------------------------ input

bool MpvPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == host_ && event->type() == QEvent::Resize && viewWidget_) {
        viewWidget_->setGeometry(host_->rect());
        return false;
    }
    if (watched != viewWidget_)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        applyPlacement();
        return false;
    case QEvent::KeyPress: {
        const int key = virtualKey(*static_cast<QKeyEvent*>(event));
        if (key == 0)
            return false;
        emit keyPressed(key);
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // Without a rectangle of its own the picture fills the window.
        const QRectF picture = pictureTw_.isEmpty()
            ? QRectF(QPointF(0, 0), QSizeF(viewWidget_->size()) * TwipsPerPixel)
            : pictureTw_;
        emit clicked(pictureVisible_ && picture.contains(mouse->position() * TwipsPerPixel));
        return true;
    }
    default:
        return false;
    }
}

} // namespace vv
