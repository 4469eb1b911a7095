// The frame grabber and the media player must count a video's frames alike:
// the scene positions of a grabbed index and of a sheet cut later come from
// the two counts.

#include <QFile>
#include <gtest/gtest.h>

#include "app/mpv_player.h"
#include "app/player_factory.h"
#include "index/frame_source.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

TEST(FrameCountAgreement, GrabberAndPlayerCountTheSameFramesAndNeitherBelievesALyingHeader)
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

    // Neither believes a header that lies about the length: open-gop.avi
    // with the video stream header claiming 2^31 - 1 frames.
    QFile whole(testMedia(QStringLiteral("open-gop.avi")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QByteArray bytes = whole.readAll();
    const qsizetype strh = bytes.indexOf("strh");
    ASSERT_EQ(bytes.mid(strh + 8, 4), "vids");
    bytes.replace(strh + 8 + 32, 4, QByteArray("\xff\xff\xff\x7f", 4));
    const QString path = freshTempDir(QStringLiteral("lying")) + QStringLiteral("/lying.avi");
    QFile lying(path);
    ASSERT_TRUE(lying.open(QIODevice::WriteOnly) && lying.write(bytes) == bytes.size());
    lying.close();
    ASSERT_TRUE(shown->setFileName(path));
    EXPECT_EQ(shown->length(), 250);
    EXPECT_EQ(FrameSource(path).frameCount(), 250);
}

} // namespace
} // namespace vv::test
