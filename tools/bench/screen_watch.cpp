#include "tools/bench/screen_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <xcb/xcb.h>

#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/mediamaker.h"

namespace vvbench {

QString joinCopies(const QString& part, int copies, const QString& path)
{
    const QString list = path + QStringLiteral(".concat.txt");
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly))
        return {};
    for (int i = 0; i < copies; ++i)
        listFile.write("file '" + QFile::encodeName(QFileInfo(part).absoluteFilePath()) + "'\n");
    listFile.close();
    const QString temporary = path + QStringLiteral(".part.") + QFileInfo(path).suffix();
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-f", "concat", "-safe", "0", "-i", list, "-c", "copy", temporary});
    if (!ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0 || !QFile::rename(temporary, path)) {
        std::fprintf(stderr, "ffmpeg could not join the copies: %s\n", ffmpeg.readAllStandardError().constData());
        return {};
    }
    return path;
}

QString referenceVideo(const QString& dir, bool* made)
{
    const QString path = dir + QStringLiteral("/vv-bench-640x480-25fps-15000f-gop250-b2.avi");
    if (made)
        *made = false;
    if (QFileInfo::exists(path))
        return path;
    std::printf("making %s (once) ...\n", qPrintable(path));
    std::fflush(stdout);
    vvmaker::VideoSpec clip;
    clip.width = 640;
    clip.height = 480;
    clip.fpsNum = 25;
    clip.fpsDen = 1;
    clip.frames = 25 * 600;
    clip.gopSize = 250;
    clip.bFrames = 2;
    std::string error;
    if (!vvmaker::makeVideo(path.toStdString(), clip, &error)) {
        std::fprintf(stderr, "cannot make the reference video: %s\n", error.c_str());
        return {};
    }
    if (made)
        *made = true;
    return path;
}

ScreenFrameWatcher::ScreenFrameWatcher(std::uint32_t window, QRect area, int intervalMs)
    : window_(window), area_(area), intervalMs_(intervalMs), thread_([this] { run(); })
{
}

ScreenFrameWatcher::~ScreenFrameWatcher()
{
    stop();
}

std::vector<int> ScreenFrameWatcher::stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void ScreenFrameWatcher::run()
{
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(xcb_connect(nullptr, nullptr),
                                                                              xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) {
        connected_ = false;
        return;
    }
    xcb_connection_t* c = connection.get();
    const auto w = std::uint16_t(area_.width());
    const auto h = std::uint16_t(area_.height());
    while (!stop_) {
        const auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(intervalMs_);
        const xcb_get_image_cookie_t cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window_,
                                                            std::int16_t(area_.x()), std::int16_t(area_.y()), w, h,
                                                            ~0u);
        std::unique_ptr<xcb_get_image_reply_t, void (*)(void*)> reply(xcb_get_image_reply(c, cookie, nullptr),
                                                                      std::free);
        int number = -1;
        // 24-bit depth comes as 4 bytes a pixel, blue first.
        if (reply && xcb_get_image_data_length(reply.get()) >= int(w) * h * 4)
            number = vvmaker::readFrameNumber(xcb_get_image_data(reply.get()), w, h, w * 4, 4, false);
        seen_.push_back(number);
        std::this_thread::sleep_until(next);
    }
}

double presentedFraction(const std::vector<int>& seen, std::int64_t droppedByPlayer)
{
    std::set<int> distinct;
    for (int n : seen) {
        if (n >= 0)
            distinct.insert(n);
    }
    if (distinct.empty())
        return 0;
    const std::int64_t presented = std::int64_t(*distinct.rbegin() - *distinct.begin() + 1) - droppedByPlayer;
    return presented > 0 ? std::min(1.0, double(distinct.size()) / double(presented)) : 0;
}

LoopLatency::LoopLatency(int periodMs) : periodMs_(periodMs)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &LoopLatency::fired);
    clock_.start();
    dueNs_ = clock_.nsecsElapsed() + qint64(periodMs_) * 1000000;
    timer_.start(periodMs_);
}

void LoopLatency::fired()
{
    const qint64 now = clock_.nsecsElapsed();
    delaysMs_.push_back(std::max<qint64>(0, now - dueNs_) / 1e6);
    dueNs_ = now + qint64(periodMs_) * 1000000;
    timer_.start(periodMs_);
}

double LoopLatency::quantileMs(double q) const
{
    if (delaysMs_.empty())
        return 0;
    std::vector<double> sorted = delaysMs_;
    std::sort(sorted.begin(), sorted.end());
    const auto at = std::min(sorted.size() - 1, std::size_t(q * double(sorted.size())));
    return sorted[at];
}

} // namespace vvbench
