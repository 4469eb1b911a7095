#include "tests/support/test_media.h"

#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/mediamaker.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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
constexpr const char* kCatalogueVersion = "v2";

using Maker = std::function<bool(const std::string& path, std::string* error)>;

vvmaker::VideoSpec video(int width, int height, int frames)
{
    vvmaker::VideoSpec clip;
    clip.width = width;
    clip.height = height;
    clip.frames = frames;
    return clip;
}

Maker videoMaker(vvmaker::VideoSpec clip)
{
    return [clip](const std::string& path, std::string* error) { return vvmaker::makeVideo(path, clip, error); };
}

vvmaker::AudioSpec tone(double seconds)
{
    vvmaker::AudioSpec clip;
    clip.seconds = seconds;
    clip.toneHz = 440.0;
    return clip;
}

// 4 KiB of noise, the same bytes every time.
bool makeGarbage(const std::string& path, std::string* error)
{
    QByteArray bytes(4096, Qt::Uninitialized);
    std::uint32_t state = 0x9E3779B9u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state >> 24);
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString().toStdString();
        return false;
    }
    return true;
}

QString cacheDir() { return QStringLiteral(VV_TEST_MEDIA_DIR) + '/' + kCatalogueVersion; }

const std::map<QString, Maker>& catalogue()
{
    static const std::map<QString, Maker> makers = [] {
        std::map<QString, Maker> m;
        auto openGop = video(320, 240, 250);
        m["open-gop.avi"] = videoMaker(openGop);

        auto closedGop = openGop;
        closedGop.closedGop = true;
        m["closed-gop.avi"] = videoMaker(closedGop);

        auto program = video(320, 240, 250);
        program.container = vvmaker::Container::MpegPs;
        program.gopSize = 25;
        m["program.mpg"] = videoMaker(program);

        auto ntsc = video(320, 240, 299);
        ntsc.fpsNum = 30000;
        ntsc.fpsDen = 1001;
        m["ntsc.avi"] = videoMaker(ntsc);

        // Other encoders' clips: 240 frames, a keyframe every 50th.
        for (const auto& [name, container] : otherEncoders()) {
            auto other = video(320, 240, 240);
            other.container = container;
            m[name] = videoMaker(other);
        }

        m["odd-width.avi"] = videoMaker(video(318, 240, 100));
        m["eight.avi"] = videoMaker(video(320, 240, 8));
        m["half-second.avi"] = videoMaker(video(320, 240, 12));

        m["truncated.avi"] = [](const std::string& path, std::string* error) {
            const QString source = testMedia("open-gop.avi");
            if (source.isEmpty()) {
                *error = "open-gop.avi is missing";
                return false;
            }
            return vvmaker::makeTruncatedCopy(source.toStdString(), path, 0.5, error);
        };
        m["garbage.avi"] = makeGarbage;
        m["concert.avi"] = videoMaker({.width = 160, .height = 120, .frames = 9000, .gopSize = 250, .bFrames = 0,
                                       .quality = 20, .audioSampleRate = 16000, .audioBitRate = 16000,
                                       .mp2Audio = true, .threads = 2, .progress = {}});
        for (const auto& [name, seconds] : {std::pair{"tone.wav", 3.0}, {"tone.mp3", 3.0}, {"long-tone.mp3", 7.0}}) {
            const bool wav = QString(name).endsWith(".wav");
            m[name] = [wav, clip = tone(seconds)](const std::string& path, std::string* error) {
                return wav ? vvmaker::makeWav(path, clip, error) : vvmaker::makeMp3(path, clip, error);
            };
        }
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
    if (found == catalogue().end()) {
        ADD_FAILURE() << "no test clip named " << name.toStdString();
        return {};
    }
    const QString path = cacheDir() + '/' + name;
    if (QFileInfo::exists(path))
        return path;
    if (!QDir().mkpath(cacheDir())) {
        ADD_FAILURE() << "cannot create " << cacheDir().toStdString();
        return {};
    }
    std::string error;
    if (!found->second(path.toStdString(), &error)) {
        ADD_FAILURE() << "cannot make test clip " << name.toStdString() << ": " << error;
        return {};
    }
    return path;
}

QString freshTempDir(const QString& tag)
{
    QTemporaryDir dir(QDir::tempPath() + "/vv-" + tag + "-XXXXXX");
    if (!dir.isValid()) {
        ADD_FAILURE() << "cannot create a temporary directory for " << tag.toStdString() << ": "
                      << dir.errorString().toStdString();
        return {};
    }
    dir.setAutoRemove(false);
    return dir.path();
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
