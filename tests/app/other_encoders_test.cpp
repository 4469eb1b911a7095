// Clips written by other encoders (packed B-frames and empty AVI entries,
// edit lists, variable frame timing, VP9, HEVC) on the real player and the
// frame grabber: every position shows the picture plain playback shows there,
// single steps forward reach every position and never show an earlier
// picture, and the grabber and the sixteen scene pictures agree; a load
// opens the file once.

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <sys/inotify.h>
#include <unistd.h>

#include "app/mpv_player.h"
#include "index/frame_source.h"
#include "index/scene_grab.h"
#include "tests/support/test_media.h"
#include "tools/mediamaker/clipreader.h"

namespace vv::test {
namespace {

constexpr int WaitMs = 10000;

class OtherEncoders : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override
    {
        const auto& [name, kind] = otherEncoders()[GetParam()];
        path_ = freshTempDir("encoders") + '/' + name;   // opened by this test alone
        ASSERT_TRUE(QFile::copy(testMedia(name), path_));
        ASSERT_TRUE(vvmaker::readClipFrameNumbers(path_.toStdString(), decoded_));
        const MpvPlayer::Config config{.picture = MpvPlayer::Picture::Offscreen, .audio = false};
        player_ = std::make_unique<MpvPlayer>(nullptr, config);
        player_->applyFixedOptions();
        // mpv and the reading of the container share one open of the file.
        // (Reads in between keep two opens from merging into one event.)
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(path_).constData(), IN_OPEN | IN_ACCESS), 0);
        ASSERT_TRUE(player_->setFileName(path_)) << player_->lastError().toStdString();
        inotify_event events[256];
        int opens = 0;
        for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;)
            opens += std::count_if(events, events + got / sizeof *events, [](auto& e) { return e.mask & IN_OPEN; });
        close(watch);
        EXPECT_EQ(opens, 1);
        player_->setPositionUnits(MediaPlayer::Frames);
    }

    // Seeks and returns the picture shown once the seek is done.
    int shownAt(double position)
    {
        QSignalSpy moved(player_.get(), &MediaPlayer::positionChanged);
        player_->setCurrentPosition(position);
        if (!QTest::qWaitFor([&] { return moved.count() > 0 && !player_->seeking(); }, WaitMs))
            return -3;
        return frameNumberOf(player_->grabCurrentFrame());
    }

    QString path_;
    std::vector<int> decoded_;   // the pictures of a sequential decode, in order
    std::unique_ptr<MpvPlayer> player_;
};

TEST_P(OtherEncoders, StepsSeeksAndGrabsShowThePicturesOfPlainPlayback)
{
    MpvPlayer& p = *player_;
    // The AVIs hold an empty entry (libxvid's start, MS MPEG-4's entry 1)
    // that counts as a position; the other containers count their pictures.
    const auto length = static_cast<std::int64_t>(p.length());
    ASSERT_EQ(length, path_.endsWith(".avi") ? 241 : 240);
    EXPECT_NEAR(p.media().timeline.pictureSeconds(0), path_.endsWith("xvid.avi") ? 0.12 : 0.0, 1e-9);
    FrameSource source(path_);
    ASSERT_EQ(source.frameCount(), length);

    // Single steps forward from 0: every position is reached, its picture is
    // the next of the sequential decode or the one before (an empty entry),
    // and the grabber delivers the same picture there.
    std::vector<int> shown(static_cast<std::size_t>(length));
    std::size_t at = 0;   // index into decoded_ of the picture shown
    shown[0] = shownAt(0);
    ASSERT_EQ(shown[0], decoded_[0]);
    for (std::int64_t pos = 1; pos < length; ++pos) {
        SCOPED_TRACE(pos);
        shown[pos] = shownAt(p.currentPosition() + 1);
        ASSERT_EQ(p.currentPosition(), pos);
        if (at + 1 < decoded_.size() && shown[pos] == decoded_[at + 1] && shown[pos] != decoded_[at])
            ++at;
        ASSERT_EQ(shown[pos], decoded_[at]) << "the step showed a picture out of order";
    }
    EXPECT_EQ(at + 1, decoded_.size()) << "pictures never shown";
    const auto grabbed = [&](std::int64_t at) {
        return frameNumberOfPacked(source.getFrameBytes(std::int32_t(at)));
    };
    for (std::int64_t pos = 0; pos < length; ++pos)
        EXPECT_EQ(grabbed(pos), shown[pos]) << pos;

    // Seeks of the player and the grabber in any order: near keyframes,
    // back and forth, the last frame.
    const std::int64_t targets[] = {length - 1, 0, 49, 50, 51, 99, 100, 101, 1, 2, 3, 150, 17, 203, 76, length - 2};
    for (std::int64_t target : targets) {
        EXPECT_EQ(shownAt(double(target)), shown[target]) << target;
        EXPECT_EQ(p.currentPosition(), target);
        EXPECT_EQ(grabbed(target), shown[target]) << "grabbed " << target;
    }

    // The sixteen scene pictures are the pictures of their positions.
    const SceneGrab grab = grabScenes(path_);
    ASSERT_TRUE(grab.ok);
    ASSERT_EQ(grab.scenes.size(), 16u);
    for (const GrabbedScene& scene : grab.scenes)
        EXPECT_EQ(frameNumberOfPacked(scene.packedDib), shown[scene.frame]) << "scene " << scene.scene;
}

INSTANTIATE_TEST_SUITE_P(Clips, OtherEncoders, ::testing::Range<std::size_t>(0, otherEncoders().size()),
                         [](const auto& info) {
                             return QString(otherEncoders()[info.param].first).replace('.', '_').toStdString();
                         });

} // namespace
} // namespace vv::test
