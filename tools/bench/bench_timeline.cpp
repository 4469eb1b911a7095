// vv-bench-timeline: how long the frame timeline (the positions and the
// times of every picture, from the container's index or a packet scan) takes
// for a two-hour video, against the ffprobe tool listing the same packets.
//
//   vv-bench-timeline [--runs N] [cache-dir]
//
// The videos (160x120, 25 fps, 2 hours, H.264 with B-frames in MP4 and in
// MKV with variable frame timing) are made once with the project's media
// maker and kept in cache-dir (default: the system's temporary folder).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "app/frame_timeline.h"
#include "app/libav.h"
#include "tools/mediamaker/mediamaker.h"

namespace {

constexpr int Frames = 25 * 7200;

QString benchVideo(const QString& dir, vvmaker::Container kind, const char* name)
{
    const QString path = dir + QStringLiteral("/vv-bench-2h-") + QLatin1String(name);
    if (QFileInfo::exists(path))
        return path;
    std::printf("making %s (once, a few minutes) ...\n", qPrintable(path));
    std::fflush(stdout);
    vvmaker::VideoSpec clip;
    clip.container = kind;
    clip.width = 160;
    clip.height = 120;
    clip.frames = Frames;
    clip.gopSize = 250;
    clip.audio = false;
    std::string error;
    if (!vvmaker::makeVideo(path.toStdString(), clip, &error)) {
        std::fprintf(stderr, "cannot make the benchmark video: %s\n", error.c_str());
        return {};
    }
    return path;
}

// Opens the file and builds its timeline; the seconds taken, -1 on failure.
double timelineOnce(const QString& video, std::int64_t* positions)
{
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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);
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
    const bool ffprobe = !QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty();
    if (!ffprobe)
        std::printf("the ffprobe command-line tool is not installed: no comparison, times only\n");

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
            if (ffprobe)
                theirs.push_back(ffprobeOnce(video));
        }
        const double m = median(ours);
        fast = fast && m < 1.0;
        std::printf("%-10s %lld positions: timeline %.3f s (median of %d)", v.name, static_cast<long long>(positions),
                    m, runs);
        if (ffprobe)
            std::printf(", ffprobe %.3f s, ratio %.2f", median(theirs), m / median(theirs));
        std::printf("%s\n", positions == Frames ? "" : "  WRONG COUNT");
    }
    std::printf("%s\n", fast ? "every timeline took under 1 s" : "a timeline took 1 s or more");
    return fast ? 0 : 1;
}
