// The frame grabber and the media player must count a video's frames alike:
// the scene positions of a grabbed index and of a sheet cut later come from
// the two counts.

#include <gtest/gtest.h>

#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "index/frame_source.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

TEST(FrameCountAgreement, GrabberAndPlayerCountTheSameFrames)
{
    QWidget host;
    host.resize(320, 240);
    std::unique_ptr<MediaPlayer> shown = makeTestPlayer(&host);
    shown->setPositionUnits(MediaPlayer::Frames);
    for (const char* name : {"open-gop.avi", "closed-gop.avi", "program.mpg", "ntsc.avi", "odd-width.avi",
                             "eight.avi", "half-second.avi", "truncated.avi"}) {
        const QString path = testMedia(QString::fromLatin1(name));
        FrameSource source(path);
        ASSERT_TRUE(source.isOpen()) << name;
        ASSERT_TRUE(shown->setFileName(path)) << name;
        EXPECT_EQ(source.frameCount(), static_cast<int>(shown->length())) << name;
    }
}

} // namespace
} // namespace vv::test
