// vv-bench-preview: how long the index generation takes to grab the sixteen
// scene frames of a ten-minute video and write them (sixteen scene bitmaps and
// the preview sheet), against the ffmpeg command-line tool picking the same
// sixteen frames into one tiled sheet in one pass, both run side by side.
//
//   vv-bench-preview [--runs N] [--keep-sheet] [--h264] [cache-dir]
//
// The video (640x480, 25 fps, 10 minutes, MPEG-4 with B-frames, a keyframe
// every 250 frames; with --h264 1920x1080 H.264 in MP4 with B-frames) is made
// once with the project's media maker and kept in cache-dir (default: the
// system's temporary folder). Every run of either side
// is checked: the sixteen pictures must carry exactly the wanted frame numbers.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "app/atomic_file.h"
#include "index/preview_rules.h"
#include "index/scene_grab.h"
#include "index/sheet_file.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/mediamaker.h"
#include "tools/bench/screen_watch.h"

namespace {

constexpr int Frames = 25 * 600;
int Width = 640;
int Height = 480;
// The frame numbers the pictures carry repeat after this many frames.
int NumberCycle = Frames;

struct Options {
    int runs = 5;
    bool keepSheet = false;
    bool h264 = false;
    QString cacheDir = QDir::tempPath();
};

// A 1080p H.264 MP4 of `frames` frames made with the media maker.
bool makeClip(const QString& path, int frames)
{
    vvmaker::VideoSpec clip;
    clip.width = Width;
    clip.height = Height;
    clip.fpsNum = 25;
    clip.fpsDen = 1;
    clip.frames = frames;
    clip.gopSize = 250;
    clip.bFrames = 2;
    clip.container = vvmaker::Container::Mp4H264;
    clip.audio = false;
    clip.threads = 2;
    std::string error;
    if (!vvmaker::makeVideo(path.toStdString(), clip, &error)) {
        std::fprintf(stderr, "cannot make the benchmark video: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The 1080p video is one made minute joined ten times by the ffmpeg tool
// without encoding again: encoding ten minutes of 1080p takes long.
QString benchVideo(const QString& dir, bool h264)
{
    if (!h264)
        return vvbench::referenceVideo(dir);
    const QString path = dir + QStringLiteral("/vv-bench-1920x1080-25fps-15000f-gop250-h264.mp4");
    NumberCycle = Frames / 10;
    if (QFileInfo::exists(path))
        return path;
    std::printf("making %s (once) ...\n", qPrintable(path));
    std::fflush(stdout);

    const QString part = dir + QStringLiteral("/vv-bench-1920x1080-25fps-1500f-gop250-h264.mp4");
    if (!QFileInfo::exists(part) && !makeClip(part, NumberCycle))
        return {};
    return vvbench::joinCopies(part, Frames / NumberCycle, path);
}

std::vector<std::int32_t> sceneTargets(std::int32_t frames)
{
    std::vector<std::int32_t> out;
    for (const auto& c : vv::previewCandidates(frames, *vv::previewStep(frames)))
        if (out.size() < vv::SceneCount)
            out.push_back(c.frame);
    return out;
}

// The whole index generation's work as the player does it for the loaded
// video: open, count, grab the sixteen scenes, write each as k.bmp into
// outDir and the sixteen scaled into one preview sheet. Returns the seconds
// taken, -1 on a wrong frame.
double grabOnce(const QString& video, const std::vector<std::int32_t>& targets, const QString& outDir)
{
    QElapsedTimer timer;
    timer.start();
    const vv::SceneGrab grab = vv::grabScenes(video);
    const QList<QImage> scenes = vv::writeSceneFiles(grab, outDir + QLatin1Char('/'));
    const QByteArray sheet = vv::sheetFileBytes(vv::buildPreviewSheet(scenes));
    if (sheet.isEmpty() || !vv::writeFileAtomically(outDir + QStringLiteral("/vv-bench-sheet.bmp"), sheet))
        return -1;
    const double seconds = timer.nsecsElapsed() / 1e9;

    if (grab.scenes.size() != targets.size())
        return -1;
    const int stride = (Width * 3 + 3) & ~3;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const QByteArray& picture = grab.scenes[i].packedDib;
        const auto* bits = reinterpret_cast<const std::uint8_t*>(picture.constData()) + 40;
        if (grab.scenes[i].frame != targets[i] || picture.size() != 40 + stride * Height
            || vvmaker::readFrameNumber(bits, Width, Height, stride, 3, true) != targets[i] % NumberCycle) {
            std::fprintf(stderr, "grab: frame %d came out wrong\n", targets[i]);
            return -1;
        }
    }
    return seconds;
}

// The same sixteen frames with the ffmpeg tool: select, scale, tile into one
// sheet. Returns the seconds taken, -1 on failure or a wrong frame.
double ffmpegOnce(const QString& video, const std::vector<std::int32_t>& targets, const QString& sheet)
{
    QString select;
    for (std::int32_t t : targets)
        select += (select.isEmpty() ? QString() : QStringLiteral("+")) + QStringLiteral("eq(n\\,%1)").arg(t);
    const QStringList args = {"-v", "error", "-y", "-i", video, "-vf",
                              "select='" + select + "',scale=160:120,tile=4x4", "-frames:v", "1", sheet};
    QFile::remove(sheet);
    QElapsedTimer timer;
    timer.start();
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForFinished(900000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", ffmpeg.readAllStandardError().constData());
        return -1;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;

    const QImage tiles(sheet);
    const QList<QImage> cells = vv::cutPreviewSheet(tiles);
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const QImage cell = cells[static_cast<int>(k)].convertToFormat(QImage::Format_RGB32);
        const int n = vvmaker::readFrameNumber(cell.constBits(), cell.width(), cell.height(),
                                               static_cast<int>(cell.bytesPerLine()), 4, false);
        if (n != targets[k] % NumberCycle) {
            std::fprintf(stderr, "ffmpeg: cell %zu shows frame %d, not %d\n", k, n, targets[k]);
            return -1;
        }
    }
    return seconds;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

int usage()
{
    std::fprintf(stderr, "usage: vv-bench-preview [--runs N] [--keep-sheet] [--h264] [cache-dir]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    Options options;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size()) {
            bool ok = false;
            options.runs = args[++i].toInt(&ok);
            if (!ok || options.runs < 1)
                return usage();
        } else if (args[i] == "--keep-sheet") {
            options.keepSheet = true;
        } else if (args[i] == "--h264") {
            options.h264 = true;
            Width = 1920;
            Height = 1080;
        } else if (args[i].startsWith("-")) {
            return usage();
        } else {
            options.cacheDir = args[i];
        }
    }
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
        std::fprintf(stderr, "the ffmpeg command-line tool is needed for the comparison\n");
        return 1;
    }
    if (!QDir().mkpath(options.cacheDir))
        return 1;
    const QString video = benchVideo(options.cacheDir, options.h264);
    if (video.isEmpty())
        return 1;
    const auto targets = sceneTargets(Frames);
    const QString sheet = options.cacheDir + QStringLiteral("/vv-bench-ffmpeg-sheet.bmp");
    QTemporaryDir scratch(options.cacheDir + QStringLiteral("/vv-bench-XXXXXX"));
    if (!scratch.isValid())
        return 1;
    const QString outDir = scratch.path();

    std::printf("video: %s\n%d frames %dx%d at 25 fps, keyframe every 250, 2 B-frames\n", qPrintable(video),
                Frames, Width, Height);
    std::printf("frames: ");
    for (std::int32_t t : targets)
        std::printf("%d ", t);
    std::printf("\n\n%-5s %12s %12s\n", "run", "index (s)", "ffmpeg (s)");

    // Warm the file cache for both sides alike.
    if (grabOnce(video, targets, outDir) < 0)
        return 1;

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 1; run <= options.runs; ++run) {
        // Alternate who goes first, so that neither side always finds the
        // machine in the other's wake.
        double a = 0;
        double b = 0;
        if (run % 2) {
            a = grabOnce(video, targets, outDir);
            b = ffmpegOnce(video, targets, sheet);
        } else {
            b = ffmpegOnce(video, targets, sheet);
            a = grabOnce(video, targets, outDir);
        }
        if (a < 0 || b < 0)
            return 1;
        ours.push_back(a);
        theirs.push_back(b);
        std::printf("%-5d %12.3f %12.3f\n", run, a, b);
        std::fflush(stdout);
    }
    if (!options.keepSheet)
        QFile::remove(sheet);

    const double m1 = median(ours);
    const double m2 = median(theirs);
    std::printf("\nmedian %11.3f %12.3f\n", m1, m2);
    std::printf("best   %11.3f %12.3f\n", *std::min_element(ours.begin(), ours.end()),
                *std::min_element(theirs.begin(), theirs.end()));
    std::printf("\nthe index generation is %.1f times as fast as the ffmpeg pass (medians)\n", m2 / m1);
    return 0;
}
