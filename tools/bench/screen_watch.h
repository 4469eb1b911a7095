#pragma once
// What the benchmarks share: their reference video, and watching playback
// from outside the player: which frame numbers (the maker's strip) reach the
// X server's screen, and how late the window thread's event loop answers
// while the video plays (also used by the display tests).

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace vvbench {

// The benchmarks' reference video in `dir`, made with the media maker on first
// use (640x480, 25 fps, 10 minutes, MPEG-4 ASP with 2 B-frames, a keyframe
// every 250 frames): its path, "" when it cannot be made. *made tells whether
// it was made just now.
QString referenceVideo(const QString& dir, bool* made = nullptr);

// Joins `copies` copies of the clip `part` into `path` with ffmpeg's concat
// demuxer, without encoding again (a temporary beside `path`, then renamed):
// `path`, or "" when ffmpeg failed.
QString joinCopies(const QString& part, int copies, const QString& path);

// Reads the frame number shown in `area` of X window `window` every
// intervalMs on a thread of its own, over a connection of its own to the
// display, so the player's threads are not involved.
class ScreenFrameWatcher {
public:
    ScreenFrameWatcher(std::uint32_t window, QRect area, int intervalMs = 5);
    ~ScreenFrameWatcher();
    ScreenFrameWatcher(const ScreenFrameWatcher&) = delete;
    ScreenFrameWatcher& operator=(const ScreenFrameWatcher&) = delete;

    // Stops watching; the numbers read, in order (-1: no strip readable).
    std::vector<int> stop();
    // False when the display could not be reached.
    bool connected() const { return connected_; }

private:
    void run();

    std::uint32_t window_;
    QRect area_;
    int intervalMs_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> connected_{true};
    std::vector<int> seen_;
    std::thread thread_;
};

// The share of the frames presented between the first and the last number
// seen that was seen at least once; frames the player itself reports dropped
// in that time are not counted as presented. 0 when nothing was seen.
double presentedFraction(const std::vector<int>& seen, std::int64_t droppedByPlayer = 0);

// How late a timer of the calling thread's event loop fires, sampled every
// few milliseconds while it runs.
class LoopLatency : public QObject {
public:
    explicit LoopLatency(int periodMs = 5);
    // The given quantile (0..1) of the delays so far, in milliseconds.
    double quantileMs(double q) const;
    std::size_t samples() const { return delaysMs_.size(); }

private:
    void fired();

    int periodMs_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 dueNs_ = 0;
    std::vector<double> delaysMs_;
};

} // namespace vvbench
