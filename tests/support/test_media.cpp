#include "tests/support/test_media.h"

#include "app/atomic_file.h"
#include "tools/mediamaker/framestrip.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace vv::test {

const std::vector<std::pair<QString, vvmaker::Container>>& otherEncoders()
{
    static const std::vector<std::pair<QString, vvmaker::Container>> clips = {
        {"xvid.avi", vvmaker::Container::AviXvid}, {"divx3.avi", vvmaker::Container::AviDivx3},
        {"h264.mp4", vvmaker::Container::Mp4H264}, {"vfr.mkv", vvmaker::Container::MkvH264},
        {"vp9.webm", vvmaker::Container::WebmVp9}, {"hevc.mov", vvmaker::Container::MovHevc},
        {"av1.mp4", vvmaker::Container::Mp4Av1},
    };
    return clips;
}

namespace {

// Part of the cache path: bump it whenever the maker's output changes, so
// that build trees do not keep serving clips made by an older maker.
QString cacheDir() { return QStringLiteral(VV_TEST_MEDIA_DIR "/v2"); }

using Maker = std::function<bool(const std::string& path, std::string* error)>;

Maker videoMaker(vvmaker::VideoSpec clip)
{
    return [clip](auto& to, auto* why) { return vvmaker::makeVideo(to, clip, why); };
}

// 4 KiB of noise, the same bytes every time.
bool makeGarbage(const std::string& path, std::string* error)
{
    QByteArray bytes(4096, Qt::Uninitialized);
    std::uint32_t state = 0x9E3779B9u;
    for (char& byte : bytes)
        byte = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    *error = "cannot write it";
    return writeFileAtomically(QString::fromStdString(path), bytes);
}


const std::map<QString, Maker>& catalogue()
{
    using vvmaker::Container;
    static const std::map<QString, Maker> makers = [] {
        std::map<QString, Maker> m{
            {"open-gop.avi", videoMaker({})},
            {"closed-gop.avi", videoMaker({.closedGop = true})},
            {"program.mpg", videoMaker({.container = Container::MpegPs, .gopSize = 25})},
            {"ntsc.avi", videoMaker({.fpsNum = 30000, .fpsDen = 1001, .frames = 299})},
            {"odd-width.avi", videoMaker({.width = 318, .frames = 100})},
            {"eight.avi", videoMaker({.frames = 8})},
            {"half-second.avi", videoMaker({.frames = 12})},
            {"garbage.avi", makeGarbage},
            {"concert.avi", videoMaker({.width = 160, .height = 120, .frames = 9000, .gopSize = 250, .bFrames = 0,
                                        .quality = 20, .audioSampleRate = 16000, .audioBitRate = 16000,
                                        .mp2Audio = true, .threads = 2})},
            {"tone.wav", [](auto& to, auto* why) { return vvmaker::makeWav(to, {}, why); }},
            {"tone.mp3", [](auto& to, auto* why) { return vvmaker::makeMp3(to, {}, why); }},
            {"long-tone.mp3", [](auto& to, auto* why) { return vvmaker::makeMp3(to, {.seconds = 7}, why); }},
        };
        for (const auto& [name, container] : otherEncoders())
            m[name] = videoMaker({.container = container, .frames = 240});
        m["truncated.avi"] = [](const std::string& path, std::string* error) {
            const QString source = testMedia("open-gop.avi");
            return !source.isEmpty() && vvmaker::makeTruncatedCopy(source.toStdString(), path, 0.5, error);
        };
        return m;
    }();
    return makers;
}

} // namespace

QString testMedia(const QString& name)
{
    // One maker at a time in this process; other processes may make the same
    // clip at once, which is safe because every clip is written to its own
    // temporary and renamed into place.
    static std::recursive_mutex making;
    const std::lock_guard lock(making);

    const auto found = catalogue().find(name);
    const bool known = found != catalogue().end();
    const QString path = cacheDir() + '/' + name;
    if (known && QFileInfo::exists(path))
        return path;
    std::string error = known ? "cannot create " + cacheDir().toStdString() : "no such clip";
    if (!known || !QDir().mkpath(cacheDir()) || !found->second(path.toStdString(), &error)) {
        ADD_FAILURE() << "cannot make test clip " << name.toStdString() << ": " << error;
        return {};
    }
    return path;
}

QString freshTempDir(const QString& tag)
{
    QTemporaryDir dir(QDir::tempPath() + "/vv-" + tag + "-XXXXXX");
    EXPECT_TRUE(dir.isValid()) << tag.toStdString() << ": " << dir.errorString().toStdString();
    dir.setAutoRemove(false);
    return dir.path();  // "" when it could not be made
}

int frameNumberOf(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    return vvmaker::readFrameNumber(rgb.constBits(), rgb.width(), rgb.height(),
                                    static_cast<int>(rgb.bytesPerLine()), 4, false);
}

} // namespace vv::test
