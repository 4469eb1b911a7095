// vv-bench-player: the player against the tools it must keep up with, side by
// side on one machine and display, in interleaved pairs:
//   load     the program's INITIALIZEvideo (script and preview sheet beside
//            the video) to its first frame painted, against raw libmpv's
//            loadfile to its first frame rendered;
//   playback 1x play: the share of frames that reach the screen and the
//            window thread's event-loop latency; processor time and peak
//            memory of the program (build/vardellvision playing the file)
//            against `mpv --vo=x11` playing the same file;
//   scan     the video library's scan of 30,000 matching names against `find`.
//
//   xvfb-run -a vv-bench-player [--runs N] [--cache DIR] [--only load|playback|scan] [video]
//
// Without a video, a ten-minute 640x480 MPEG-4 with B-frames is made with the
// project's media maker and kept in DIR (default: the folder of this program,
// in the build tree). The last six lines carry the figures, one number each.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <mpv/client.h>
#include <mpv/render.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/mpv_render.h"
#include "app/player_factory.h"
#include "app/program_services.h"
#include "library/media_scan.h"
#include "tools/bench/screen_watch.h"
#include "tools/mediamaker/framestrip.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace {

constexpr int PlaySeconds = 6;
constexpr int ScanNames = 30000;

struct Series {
    const char* name;
    std::vector<double> values;
    double median() const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        const std::size_t m = v.size() / 2;
        return v.empty() ? 0 : v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
    }
    void print(const char* unit) const
    {
        if (values.empty())
            return;
        std::printf("  %-28s median %9.3f %-3s (min %.3f, max %.3f, %zu runs)\n", name, median(), unit,
                    *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                    values.size());
    }
};

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double processorSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

int frameOf(const QImage& image)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32)
        return -1;
    return vvmaker::readFrameNumber(image.constBits(), image.width(), image.height(), int(image.bytesPerLine()), 4,
                                    false);
}

// ------------------------------------------------------------ raw libmpv

// libmpv as a bare program would use it: software render API, drawing
// whenever mpv asks.
class RawMpv {
public:
    RawMpv()
    {
        mpv_ = mpv_create();
        mpv_set_option_string(mpv_, "vo", "libmpv");
        mpv_set_option_string(mpv_, "pause", "yes");
        mpv_set_option_string(mpv_, "config", "no");
        // Sound as the program has it: on a machine without a sound device
        // both play silently instead of trying every driver on each load.
        mpv_set_option_string(mpv_, "ao", "pipewire,pulse,alsa,jack");
        mpv_set_option_string(mpv_, "audio-fallback-to-null", "yes");
        mpv_initialize(mpv_);
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_create(&render_, mpv_, params);
        mpv_render_context_set_update_callback(
            render_,
            [](void* self) {
                auto* raw = static_cast<RawMpv*>(self);
                std::lock_guard lock(raw->mutex_);
                raw->updated_ = true;
                raw->wakeup_.notify_one();
            },
            this);
        pixels_.resize(std::size_t(Stride) * 480);
    }
    ~RawMpv()
    {
        mpv_render_context_free(render_);
        mpv_terminate_destroy(mpv_);
    }

    // Seconds from loadfile to frame 0 rendered; -1 on failure.
    double load(const QString& file)
    {
        QElapsedTimer clock;
        clock.start();
        mpv_set_property_string(mpv_, "pause", "yes");
        const QByteArray name = QFile::encodeName(file);
        const char* command[] = {"loadfile", name.constData(), nullptr};
        if (mpv_command(mpv_, command) < 0)
            return -1;
        while (clock.elapsed() < 10000) {
            if (renderWhenAsked(100) == 0)
                return clock.nsecsElapsed() / 1e9;
        }
        return -1;
    }
    // Plays on for a while, rendering every frame.
    void play(int ms)
    {
        mpv_set_property_string(mpv_, "pause", "no");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            renderWhenAsked(ms);
        mpv_set_property_string(mpv_, "pause", "yes");
    }

private:
    static constexpr int Stride = 640 * 4;

    // Waits for mpv's call, renders a new frame; its number, -1 for none.
    int renderWhenAsked(int timeoutMs)
    {
        {
            std::unique_lock lock(mutex_);
            if (!wakeup_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return updated_; }))
                return -1;
            updated_ = false;
        }
        while (mpv_event* e = mpv_wait_event(mpv_, 0)) {
            if (e->event_id == MPV_EVENT_NONE)
                break;
        }
        if (!(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME))
            return -1;
        int size[2] = {640, 480};
        std::size_t stride = Stride;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                     {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
                                     {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                     {MPV_RENDER_PARAM_SW_POINTER, pixels_.data()},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        if (mpv_render_context_render(render_, params) < 0)
            return -1;
        return vvmaker::readFrameNumber(pixels_.data(), 640, 480, Stride, 4, false);
    }

    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wakeup_;
    bool updated_ = false;
    std::vector<std::uint8_t> pixels_;
};

// ------------------------------------------------------------ the program

class Program {
public:
    explicit Program(const QString& dir)
        : app_(services_, [](QWidget* host) { return vv::makeProgramPlayer(host); })
    {
        services_.attach(&app_);
        app_.st.ProgramDir = dir + QLatin1Char('/');
        app_.st.VideoDir = dir + QLatin1Char('/');
        app_.st.SettingsFile = dir + QStringLiteral("/settings.ini");
        app_.MDI().resize(768, 576);
        app_.MDI().show();
        app_.Player().show();
        wait(300);
    }
    QWidget* view() { return app_.video().widget(); }
    vv::MpvPlayer& player() { return static_cast<vv::MpvPlayer&>(app_.video()); }

    // Seconds from INITIALIZEvideo to frame 0 painted; -1 on failure.
    double load(const QString& file)
    {
        auto* software = dynamic_cast<vv::MpvSoftwareWidget*>(view());
        QEventLoop loop;
        double seconds = -1;
        QElapsedTimer clock;
        PaintWatch watch(view(), [&] {
            if (seconds < 0 && (!software || frameOf(software->lastPicture()) == 0)) {
                seconds = clock.nsecsElapsed() / 1e9;
                QTimer::singleShot(0, &loop, &QEventLoop::quit);
            }
        });
        clock.start();
        vv::INITIALIZEvideo(app_, file, 0);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (seconds < 0)
            loop.exec();
        return seconds;
    }

private:
    class PaintWatch : public QObject {
    public:
        PaintWatch(QWidget* widget, std::function<void()> painted) : painted_(std::move(painted))
        {
            widget->installEventFilter(this);
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, this, painted_);   // after the paint
            return false;
        }

    private:
        std::function<void()> painted_;
    };

    vv::ProgramServices services_;
    vv::App app_;
};

// A player program plays for the given time: processor seconds used per
// second and peak memory in MB.
bool playFor(const QString& program, const QStringList& args, int seconds, Series* cpu, Series* peakMb)
{
    const double before = processorSeconds(RUSAGE_CHILDREN);
    QProcess player;
    player.setStandardOutputFile(QProcess::nullDevice());
    player.setStandardErrorFile(QProcess::nullDevice());
    player.start(program, args);
    if (!player.waitForStarted())
        return false;
    wait(seconds * 1000);
    const double peak = peakMegabytes(player.processId());
    player.terminate();
    if (!player.waitForFinished(5000)) {
        player.kill();
        player.waitForFinished(5000);
    }
    cpu->values.push_back((processorSeconds(RUSAGE_CHILDREN) - before) / seconds);
    peakMb->values.push_back(peak);
    return true;
}

double ourScan(const QString& dir)
{
    QElapsedTimer clock;
    clock.start();
    vv::FoundMedia found(32767);
    vv::scanMedia(found, dir, QStringLiteral("*.avi"), int(dir.size()));
    const double seconds = clock.nsecsElapsed() / 1e9;
    return found.count() == ScanNames ? seconds : -1;
}

double findScan(const QString& dir)
{
    QElapsedTimer clock;
    clock.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(QStringLiteral("find"), {dir, "-name", "*.avi"});
    find.waitForFinished(60000);
    return find.exitCode() == 0 ? clock.nsecsElapsed() / 1e9 : -1;
}

QString scanTree(const QString& cache)
{
    const QString root = cache + QStringLiteral("/vv-bench-scan-30000");
    if (QFileInfo::exists(root + "/.complete"))
        return root;
    for (int d = 0; d < 100; ++d) {
        const QString folder = root + QStringLiteral("/folder %1").arg(d, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        for (int f = 0; f < ScanNames / 100; ++f) {
            QFile(folder + QStringLiteral("/video %1.avi").arg((f * 7919 + d) % 100000)).open(QIODevice::WriteOnly);
            QFile(folder + QStringLiteral("/notes %1.txt").arg(f)).open(QIODevice::WriteOnly);
        }
    }
    QFile(root + "/.complete").open(QIODevice::WriteOnly);
    return root;
}

int usage()
{
    std::fprintf(stderr, "usage: vv-bench-player [--runs N] [--cache DIR] [--only load|playback|scan] [video]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int runs = 7;
    QString cache = QCoreApplication::applicationDirPath();
    QString video;
    QString only;
    const QStringList args = application.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--cache" && i + 1 < args.size())
            cache = args[++i];
        else if (args[i] == "--only" && i + 1 < args.size())
            only = args[++i];
        else if (args[i].startsWith('-'))
            return usage();
        else
            video = args[i];
    }
    for (const char* tool : {"mpv", "find"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::fprintf(stderr, "the %s command-line tool is needed for the comparison (apt-get install %s)\n", tool,
                         tool);
            return 1;
        }
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "needs an X display (run it under xvfb-run -a)\n");
        return 1;
    }
    QDir().mkpath(cache);
    if (video.isEmpty()) {
        bool made = false;
        video = vvbench::referenceVideo(cache, &made);
        // Making it left this process big: start afresh for honest memory figures.
        if (made && !video.isEmpty())
            execv("/proc/self/exe", argv);
    }
    QTemporaryDir scratch(cache + QStringLiteral("/vv-bench-player-XXXXXX"));
    if (video.isEmpty() || !scratch.isValid())
        return 1;
    // The program's video lives in a folder of its own, where its script and
    // preview sheet are made on the first load.
    const QString ours = scratch.path() + QStringLiteral("/reference.") + QFileInfo(video).suffix();
    if (!QFile::link(QFileInfo(video).absoluteFilePath(), ours))
        return 1;
    std::printf("video: %s\nrenderer: %s\n\n", qPrintable(video),
                vv::programRendering() == vv::PictureRendering::OpenGL ? "OpenGL" : "software");
    std::fflush(stdout);

    Program program(scratch.path());
    if (program.load(ours) < 0) {   // makes the script and the sheet
        std::fprintf(stderr, "the program cannot load %s\n", qPrintable(ours));
        return 1;
    }
    // It plays on a little, so the next first frame is a new one.
    wait(400);
    program.player().pause();
    const QString programFile = QCoreApplication::applicationDirPath() + QStringLiteral("/../../vardellvision");

    // Playback: what reaches the screen and how the window thread answers,
    // here; processor time and peak memory of the program itself (playing
    // the video with its script and sheet beside it) against mpv's.
    Series paint{"frames on screen (share)", {}};
    Series latency{"window-thread latency p99", {}};
    Series cpuOurs{"processor, program", {}};
    Series cpuMpv{"processor, mpv --vo=x11", {}};
    Series rssOurs{"peak memory, program", {}};
    Series rssMpv{"peak memory, mpv --vo=x11", {}};
    const int pairs = only.isEmpty() || only == "playback" ? std::max(1, runs / 2) : 0;
    for (int run = 0; run < pairs; ++run) {
        program.load(ours);
        QWidget* view = program.view();
        const QPoint at = view->mapTo(view->window(), QPoint(0, 0));
        const auto dropped = [&] {
            return program.player().engineProperty("frame-drop-count").toLongLong()
                   + program.player().engineProperty("decoder-frame-drop-count").toLongLong();
        };
        const qlonglong droppedBefore = dropped();
        {
            vvbench::LoopLatency loop;
            vvbench::ScreenFrameWatcher watcher(std::uint32_t(view->window()->winId()), QRect(at, view->size()), 20);
            wait(PlaySeconds * 1000);
            paint.values.push_back(vvbench::presentedFraction(watcher.stop(), dropped() - droppedBefore));
            latency.values.push_back(loop.quantileMs(0.99));
        }
        program.player().pause();

        const auto ourTurn = [&] { return playFor(programFile, {ours}, PlaySeconds, &cpuOurs, &rssOurs); };
        const auto mpvTurn = [&] {
            return playFor(QStringLiteral("mpv"),
                           {"--no-config", "--vo=x11", QStringLiteral("--length=%1").arg(PlaySeconds + 1), video},
                           PlaySeconds, &cpuMpv, &rssMpv);
        };
        if (!(run % 2 ? mpvTurn() && ourTurn() : ourTurn() && mpvTurn())) {
            std::fprintf(stderr, "cannot start %s or mpv\n", qPrintable(programFile));
            return 1;
        }
        std::printf("playback pair %d: screen %.3f, p99 %.1f ms, processor %.3f vs %.3f, peak %.1f vs %.1f MB\n",
                    run + 1, paint.values.back(), latency.values.back(), cpuOurs.values.back(),
                    cpuMpv.values.back(), rssOurs.values.back(), rssMpv.values.back());
        std::fflush(stdout);
    }

    // Loads, interleaved with raw libmpv's.
    Series loadOurs{"load to first frame, program", {}};
    Series loadRaw{"load to first frame, libmpv", {}};
    if (only.isEmpty() || only == "load") {
        RawMpv raw;
        raw.load(video);   // both sides warm
        raw.play(400);
        for (int run = 0; run < runs; ++run) {
            double a = 0;
            double b = 0;
            if (run % 2) {
                b = raw.load(video);
                a = program.load(ours);
            } else {
                a = program.load(ours);
                b = raw.load(video);
            }
            // Both play on a little, so the next first frame is a new one.
            wait(400);
            program.player().pause();
            raw.play(400);
            if (a > 0)
                loadOurs.values.push_back(a * 1000);
            if (b > 0)
                loadRaw.values.push_back(b * 1000);
            std::printf("load pair %d: %.1f ms vs %.1f ms\n", run + 1, a * 1000, b * 1000);
            std::fflush(stdout);
        }
    }

    // The library scan.
    Series scanOurs{"scan of 30,000 names, program", {}};
    Series scanFind{"scan of 30,000 names, find", {}};
    const bool scan = only.isEmpty() || only == "scan";
    const QString tree = scan ? scanTree(cache) : QString();
    if (scan)
        findScan(tree);   // warm the directory cache
    for (int run = 0; scan && run < runs; ++run) {
        if (run % 2) {
            scanFind.values.push_back(findScan(tree) * 1000);
            scanOurs.values.push_back(ourScan(tree) * 1000);
        } else {
            scanOurs.values.push_back(ourScan(tree) * 1000);
            scanFind.values.push_back(findScan(tree) * 1000);
        }
    }

    std::printf("\n");
    loadOurs.print("ms");
    loadRaw.print("ms");
    paint.print("");
    latency.print("ms");
    cpuOurs.print("");
    cpuMpv.print("");
    rssOurs.print("MB");
    rssMpv.print("MB");
    scanOurs.print("ms");
    scanFind.print("ms");
    std::printf("\n");
    const auto ratio = [](const Series& a, const Series& b) { return b.median() > 0 ? a.median() / b.median() : 0; };
    std::printf("load-ratio %.3f\n", ratio(loadOurs, loadRaw));
    std::printf("paint-fraction %.3f\n", paint.median());
    std::printf("loop-latency-p99-ms %.1f\n", latency.median());
    std::printf("cpu-ratio-vs-mpv %.3f\n", ratio(cpuOurs, cpuMpv));
    std::printf("rss-over-mpv-mb %.1f\n", rssOurs.median() - rssMpv.median());
    std::printf("scan-ratio-vs-find %.3f\n", ratio(scanOurs, scanFind));
    return 0;
}
