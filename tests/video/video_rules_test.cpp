// The rules of playback: loops, the end, fast preview, the playlist; time codes; zoom geometry.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "video/playback_rules.h"
#include "video/timecode.h"
#include "video/zoom_geometry.h"

namespace vv {

void PrintTo(const PictureRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << ")";
}

namespace {

std::vector<std::int32_t> jumps(std::int32_t d, std::int16_t r, double q)
{
    const PreviewJumps j = fastPreviewJumps(d, r, q);
    return {j.targets.begin(), j.targets.begin() + j.count};
}

TEST(PlaybackRules, LoopJumpsBackOnlyPastMarkOutWhilePlayingTheEndIsExactAndFastPreviewJumps)
{
    // Equal to MarkOut: not yet; unrounded, just past counts; paused, the
    // range is not enforced; only one mark set.
    for (const auto& [in, out, playing, position, due] :
         {std::tuple{100, 200, true, 200.0, false}, {100, 200, true, 200.4, true}, {100, 200, false, 250.0, false},
          {100, -1, true, 250.0, false}, {-1, 200, true, 250.0, false}, {0, 0, true, 0.5, true}})
        EXPECT_EQ(loopJumpBackDue(in, out, playing, position), due) << in << ".." << out << " at " << position;
    // The end of a video is exact equality.
    for (const auto& [position, frames, end] : {std::tuple{1000.0, 1000, true}, {999.9, 1000, false},
                                                {1000.1, 1000, false}, {0.0, 0, false}})
        EXPECT_EQ(atEndOfVideo(position, frames), end) << position;

    // Fast preview: frames, rate, position -> the jump target (0: none). 10000 frames at 25: a = 5250,
    // b = 9250; 0.4 rounds to 0: the very start plays; 0.6 rounds to 1; the middle itself, a and b
    // themselves do not jump. 1000 frames at 25: a = 750, b = 250: only the jump to the middle. An odd
    // length: the middle 5000.5, a = 5250.5 -> 5250, target 5001.5 -> 5002. 4000 x 10 does not fit
    // 16 bits: computed wide, a = 1040000 and b = 1880000; a wrapped product would put a below the middle.
    using V = std::vector<std::int32_t>;
    for (const auto& [d, r, q, target] :
         {std::tuple<std::int32_t, std::int16_t, double, std::int32_t>{10000, 25, 0.4, 0}, {10000, 25, 0.6, 5001},
          {10000, 25, 4999, 5001}, {10000, 25, 5000, 0}, {10000, 25, 5250, 0}, {10000, 25, 5251, 9251},
          {10000, 25, 9249, 9251}, {10000, 25, 9250, 0}, {1000, 25, 1, 501}, {10001, 25, 3, 5002},
          {10001, 25, 5251, 9252}, {2000000, 4000, 1040000, 0}, {2000000, 4000, 1040001, 1880001},
          {1000, 25, 751, 0}, {1000, 25, 999, 0}})
        EXPECT_EQ(jumps(d, r, q), target ? V{target} : V{}) << d << " at " << q;
}

TEST(PlaybackRules, PlaylistStepsAndRandomPicksStayInRange)
{
    // count, selected -> next, previous. An empty list; nothing selected:
    // next is the first; the last entry: no wrap-around; a stale selection
    // gives nothing.
    for (const auto& [count, selected, next, previous] : std::initializer_list<std::array<int, 4>>{
             {0, -1, -1, -1}, {3, -1, 0, -1}, {3, 1, 2, 0}, {3, 2, -1, 1}, {3, 7, -1, -1}, {3, -5, -1, -1}}) {
        EXPECT_EQ(nextPlaylistIndex(count, selected), next) << count << "/" << selected;
        EXPECT_EQ(previousPlaylistIndex(count, selected), previous) << count << "/" << selected;
    }
    // A generator that reaches 1 or leaves [0, 1) never indexes outside.
    for (const auto& [count, r, index] : {std::tuple{0, 0.5, -1}, {10, 0.1, 1}, {10, 0.99999, 9}, {10, 1.0, 9},
                                          {10, -0.2, 0}, {10, std::nan(""), 0}})
        EXPECT_EQ(randomIndex(count, r), index) << count << " " << r;
    // Each pick takes its video out of the random list; empty, it is refilled from the found videos;
    // nothing found: nothing to pick.
    QStringList pool;
    const QStringList all = {"a", "b"};
    const QStringList picks = {pickRandom(pool, all, 0.99), pickRandom(pool, all, 0),
                               pickRandom(pool, all, 0.7)};
    EXPECT_EQ(picks, (QStringList{"b", "a", "b"}));
    pool.clear();
    EXPECT_EQ(pickRandom(pool, {}, 0.3), QString());
}

TEST(Timecode, FormatsFramesAndToolTips)
{
    const std::tuple<std::int32_t, std::int16_t, const char*> cases[] = {
        // Exactly one second, one frame short of it; a three-digit frame
        // field, and one leading zero only; the largest six-digit position.
        {1234, 25, "00:00:49-09"}, {25, 25, "00:00:01-00"}, {24, 25, "00:00:00-24"},
        {25 * 3599 + 24, 25, "00:59:59-24"}, {119, 120, "00:00:00-119"}, {125, 120, "00:00:01-05"}, {999999, 25, "11:06:39-24"},
        // 32767 s is the last second a 16-bit count holds; one more must not wrap.
        {32768 * 25, 25, "09:06:08-00"}, {100 * 3600 * 5, 5, "100:00:00-00"}, {INT32_MAX, 1, "596523:14:07-00"},
        // Negative frames count back from zero; no frame rate, no text.
        {-1, 25, "-00:00:00-01"}, {-26, 25, "-00:00:01-01"}, {INT32_MIN, 1, "-596523:14:08-00"},
        {1234, 0, ""}, {1234, -25, ""},
    };
    for (const auto& [frame, rate, text] : cases)
        EXPECT_EQ(FORMATtimecode(frame, rate), QString::fromLatin1(text)) << frame << " at " << rate;
    EXPECT_EQ(frameToolTip(1234) + frameToolTip(-3), QStringLiteral(" 1234Frame-3Frame"));
}

// Relative zooms and pans (zoomPicture, from a zoom percent) and absolute
// sizes (sizePicture, centred or not), all in a 600 x 400 window unless the
// picture is 601 x 401 (then that).
TEST(ZoomGeometry, ZoomPanAndSize)
{
    constexpr std::int16_t Centred = -1, Uncentred = -2;  // an absolute size
    // what, picture, dx, dy, zoom, zoom percent (or Centred, Uncentred), expected picture and zoom
    using I16 = std::int16_t;
    const std::tuple<const char*, PictureRect, int, int, I16, I16, PictureRect, I16> cases[] = {
        {"covering picture, nothing asked: stays", {0, 0, 600, 400}, 0, 0, 100, 100, {0, 0, 600, 400}, 100},
        {"100 -> 200 keeps the centre", {0, 0, 600, 400}, 0, 0, 200, 100, {-300, -200, 1200, 800}, 200},
        {"pan within the zoomed picture", {-300, -200, 1200, 800}, 50, -50, 200, 200, {-250, -250, 1200, 800}, 200},
        {"pan past the left edge stops there", {-300, -200, 1200, 800}, 1000, 1000, 200, 200, {0, 0, 1200, 800}, 200},
        {"pan past the right edge stops there", {-300, -200, 1200, 800}, -1000, -1000, 200, 200,
         {-600, -400, 1200, 800}, 200},
        {"zoom out near a corner keeps the window covered", {-600, -400, 1200, 800}, 0, 0, 150, 200,
         {-300, -200, 900, 600}, 150},
        {"1500 is applied as 1000", {0, 0, 600, 400}, 0, 0, 1500, 100, {-2700, -1800, 6000, 4000}, 1000},
        {"50 is applied as 100", {-300, -200, 1200, 800}, 0, 0, 50, 200, {0, 0, 600, 400}, 100},
        {"halves round to even", {0, 0, 601, 401}, 0, 0, 150, 100, {-150, -100, 902, 602}, 150},
        {"huge moves do not overflow", {-2700, -1800, 6000, 4000}, INT32_MAX, INT32_MIN, 1000, 1000,
         {0, -3600, 6000, 4000}, 1000},
        {"below 100 is raised, the picture on the window", {-300, -200, 1200, 800}, 0, 0, 40, Centred,
         {0, 0, 600, 400}, 100},
        {"centred 200", {0, 0, 600, 400}, 0, 0, 200, Centred, {-300, -200, 1200, 800}, 200},
        {"centred, halves to even", {0, 0, 601, 401}, 0, 0, 150, Centred, {-150, -100, 902, 602}, 150},
        {"uncentred keeps left and top", {-100, -50, 600, 400}, 0, 0, 200, Uncentred, {-100, -50, 1200, 800}, 200},
        {"only the horizontal rule", {-5000, -5000, 600, 400}, 0, 0, 100, Uncentred, {0, -5000, 600, 400}, 100},
        {"no upper limit here", {0, 0, 600, 400}, 0, 0, 2000, Centred, {-5700, -3800, 12000, 8000}, 2000},
    };
    for (const auto& [what, picture, dx, dy, zoom, zoomPercent, expected, expectedZoom] : cases) {
        const std::int32_t w = picture.width == 601 ? 601 : 600, h = picture.width == 601 ? 401 : 400;
        const ZoomedPicture z = zoomPercent < 0 ? sizePicture(picture, w, h, zoom, zoomPercent == Centred)
                                                : zoomPicture(picture, w, h, dx, dy, zoom, zoomPercent);
        EXPECT_EQ(std::tuple(z.rect, z.zoomPercent), std::tuple(expected, expectedZoom)) << what;
    }

    // Zooming in and out again returns to the picture.
    PictureRect r{-60, -40, 720, 480};
    std::int16_t zoom = 120;
    for (std::int16_t step : {5, 5, 5, -5, -5, -5}) {
        const ZoomedPicture z = zoomPicture(r, 600, 400, 0, 0, static_cast<std::int16_t>(zoom + step), zoom);
        std::tie(r, zoom) = std::tuple(z.rect, z.zoomPercent);
    }
    EXPECT_EQ(std::tuple(r, zoom), std::tuple(PictureRect{-60, -40, 720, 480}, 120));
}

} // namespace
} // namespace vv
