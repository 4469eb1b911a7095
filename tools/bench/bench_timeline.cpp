// vv-bench-timeline: how long the frame timeline (the positions and the
// times of every picture, from the container's index or a packet scan) takes
// for a two-hour video, against the ffprobe tool listing the same packets;
// and, with "playback", the processor time the program's player spends
// playing a video at normal speed against the mpv tool on the same display.
//
//   vv-bench-timeline [--runs N] [cache-dir]
//   vv-bench-timeline playback [--seconds S] <video>
//
// The videos (160x120, 25 fps, 2 hours, H.264 with B-frames in MP4 and in
// MKV with variable frame timing) are made once with the project's media
// maker and kept in cache-dir (default: the system's temporary folder).

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <sys/resource.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "app/frame_timeline.h"
#include "app/libav.h"
#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "tools/bench/screen_watch.h"
#include "tools/mediamaker/mediamaker.h"

namespace {

constexpr int Frames = 25 * 7200;

// Ten minutes made with the media maker, then twelve copies of it joined by
// the ffmpeg tool without encoding again (encoding two hours would take long).
QString benchVideo(const QString& dir, vvmaker::Container kind, const char* name)
{
    const QString path = dir + QStringLiteral("/vv-bench-2h-") + QLatin1String(name);
    if (QFileInfo::exists(path))
        return path;
    const QString part = dir + QStringLiteral("/vv-bench-10min-") + QLatin1String(name);
    std::printf("making %s (once) ...\n", qPrintable(path));
    std::fflush(stdout);
    vvmaker::VideoSpec clip;
    clip.container = kind;
    clip.width = 160;
    clip.height = 120;
    clip.frames = Frames / 12;
    clip.gopSize = 250;
    clip.audio = false;
    std::string error;
    if (!QFileInfo::exists(part) && !vvmaker::makeVideo(part.toStdString(), clip, &error)) {
        std::fprintf(stderr, "cannot make the benchmark video: %s\n", error.c_str());
        return {};
    }
    return vvbench::joinCopies(part, 12, path);
}

// Opens the file and builds its timeline (not the one kept from the run
// before); the seconds taken, -1 on failure.
double timelineOnce(const QString& video, std::int64_t* positions)
{
    vv::forgetScannedTimelines();
    QElapsedTimer timer;
    timer.start();
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(video).constData(), nullptr, nullptr) < 0)
        return -1;
    vv::libav::InputPtr input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return -1;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const vv::FrameTimeline timeline = vv::scanTimeline(input.get(), index);
    *positions = timeline.positions();
    return timer.nsecsElapsed() / 1e9;
}

// ffprobe listing the video packets' timestamps; -1 when it fails.
double ffprobeOnce(const QString& video)
{
    QElapsedTimer timer;
    timer.start();
    QProcess probe;
    probe.setStandardOutputFile(QProcess::nullDevice());
    probe.start(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                            "packet=pts,dts", "-of", "csv", video});
    if (!probe.waitForFinished(600000) || probe.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program's player plays `seconds` of the video in a 960x540 window; the
// processor time of this process meanwhile (mpv's threads included).
double playOurs(const QString& video, int seconds, int* dropped)
{
    QWidget host;
    host.resize(960, 540);
    host.show();
    auto player = vv::makeProgramPlayer(&host);
    if (!player->setFileName(video))
        return -1;
    const double before = cpuSeconds(RUSAGE_SELF);
    player->play();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = cpuSeconds(RUSAGE_SELF) - before;
    *dropped = static_cast<vv::MpvPlayer*>(player.get())->engineProperty("frame-drop-count").toInt();
    player->pause();
    return used;
}

// The mpv tool plays the same seconds in a window of the same size, drawing
// the way the program does on this display.
double playMpv(const QString& video, int seconds)
{
    const bool gpu = vv::programRendering() == vv::PictureRendering::OpenGL;
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"),
              {"--no-config", "--really-quiet", "--ao=null", "--geometry=960x540", "--no-border",
               gpu ? "--vo=gpu" : "--vo=x11", gpu ? "--hwdec=auto-safe" : "--hwdec=no",
               QStringLiteral("--length=%1").arg(seconds), video});
    if (!mpv.waitForFinished(seconds * 1000 + 60000) || mpv.exitCode() != 0)
        return -1;
    return cpuSeconds(RUSAGE_CHILDREN) - before;
}

int benchPlayback(const QStringList& args)
{
    int seconds = 20;
    QString video;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--seconds" && i + 1 < args.size())
            seconds = std::max(1, args[++i].toInt());
        else
            video = args[i];
    }
    if (video.isEmpty() || !QFileInfo::exists(video)) {
        std::fprintf(stderr, "usage: vv-bench-timeline playback [--seconds S] <video>\n");
        return 2;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty()) {
        std::fprintf(stderr, "the mpv command-line player is needed for the comparison\n");
        return 1;
    }
    int dropped = 0;
    const double ours = playOurs(video, seconds, &dropped);
    const double theirs = playMpv(video, seconds);
    if (ours < 0 || theirs < 0) {
        std::fprintf(stderr, "a player failed to play %s\n", qPrintable(video));
        return 1;
    }
    std::printf("%d s of %s at 1x: program %.2f s CPU (%d frames dropped), mpv %.2f s CPU, ratio %.2f\n", seconds,
                qPrintable(QFileInfo(video).fileName()), ours, dropped, theirs, ours / theirs);
    return 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    av_log_set_level(AV_LOG_ERROR);
    if (argc > 1 && std::string_view(argv[1]) == "playback") {
        QApplication app(argc, argv);
        return benchPlayback(app.arguments().mid(2));
    }
    QCoreApplication app(argc, argv);
    int runs = 3;
    QString cacheDir = QDir::tempPath();
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i].startsWith('-')) {
            std::fprintf(stderr, "usage: vv-bench-timeline [--runs N] [cache-dir]\n");
            return 2;
        } else
            cacheDir = args[i];
    }
    if (!QDir().mkpath(cacheDir))
        return 1;
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty()) {
        std::fprintf(stderr, "the ffmpeg and ffprobe command-line tools are needed (to join the video, to compare)\n");
        return 1;
    }

    const struct {
        vvmaker::Container kind;
        const char* name;
    } videos[] = {{vvmaker::Container::Mp4H264, "h264.mp4"}, {vvmaker::Container::MkvH264, "vfr.mkv"}};
    bool fast = true;
    for (const auto& v : videos) {
        const QString video = benchVideo(cacheDir, v.kind, v.name);
        if (video.isEmpty())
            return 1;
        std::int64_t positions = 0;
        timelineOnce(video, &positions);   // warms the file cache for both sides
        std::vector<double> ours, theirs;
        for (int run = 0; run < runs; ++run) {
            ours.push_back(timelineOnce(video, &positions));
            theirs.push_back(ffprobeOnce(video));
        }
        const double m = median(ours);
        fast = fast && m < 1.0;
        std::printf("%-10s %lld positions: timeline %.3f s (median of %d)", v.name, static_cast<long long>(positions),
                    m, runs);
        std::printf(", ffprobe %.3f s, ratio %.2f", median(theirs), m / median(theirs));
        std::printf("%s\n", positions == Frames ? "" : "  WRONG COUNT");
    }
    std::printf("%s\n", fast ? "every timeline took under 1 s" : "a timeline took 1 s or more");
    return fast ? 0 : 1;
}
