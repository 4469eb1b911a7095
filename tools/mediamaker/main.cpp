// vv-mediamaker: makes the demo library and single test clips, and reads the
// frame numbers of a clip back.

#include "tools/mediamaker/clipreader.h"
#include "tools/mediamaker/framestrip.h"
#include "tools/mediamaker/mediamaker.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  vv-mediamaker demo <dir>\n"
    "      make the demo library below <dir> (existing files are kept)\n"
    "  vv-mediamaker video [--mpg | --kind K] [--size WxH] [--fps N/D] [--frames N]\n"
    "                      [--gop N] [--bframes N] [--closed-gop] [--quality Q] [--no-audio] <out>\n"
    "      one clip: MPEG-4 AVI (default) or, with --mpg, an MPEG-1 program stream;\n"
    "      --kind as other encoders write it: xvid (AVI, packed B-frames), divx3 (AVI),\n"
    "      h264-mp4 (edit list), h264-mkv (variable timing), vp9-webm, hevc-mov, av1-mp4;\n"
    "      defaults 320x240, 25/1 fps, 250 frames, keyframe every 50, 2 B-frames,\n"
    "      quantiser 4 (2 best .. 31 worst)\n"
    "  vv-mediamaker wav|mp3 [--seconds S] [--hz F] <out>\n"
    "      a sine tone, default 3 s of 440 Hz\n"
    "  vv-mediamaker truncate <src> <fraction> <out>\n"
    "      the first <fraction> (0..1) of the bytes of <src>\n"
    "  vv-mediamaker read <file>\n"
    "      decode every frame and print \"index frameNumber\" (-1: no strip)\n";

struct UsageError {
    std::string message;
};

template <typename Number>
Number parseNumber(std::string_view text, const char* what)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError{std::string("bad ") + what + " \"" + std::string(text) + "\""};
    return value;
}

// "640x480" or "30000/1001"
std::pair<int, int> parsePair(std::string_view text, char separator, const char* what)
{
    const auto at = text.find(separator);
    if (at == std::string_view::npos)
        throw UsageError{std::string("bad ") + what + " \"" + std::string(text) + "\""};
    return {parseNumber<int>(text.substr(0, at), what), parseNumber<int>(text.substr(at + 1), what)};
}

class Arguments {
public:
    Arguments(int argc, char** argv) : args_(argv + 2, argv + argc) {}

    bool done() const { return at_ >= args_.size(); }
    bool nextIsOption() const { return !done() && args_[at_].starts_with("--"); }
    std::string take(const char* what)
    {
        if (done())
            throw UsageError{std::string("missing ") + what};
        return args_[at_++];
    }
    void expectEnd() const
    {
        if (!done())
            throw UsageError{"unexpected \"" + args_[at_] + "\""};
    }

private:
    std::vector<std::string> args_;
    std::size_t at_ = 0;
};

vvmaker::Container parseKind(const std::string& kind)
{
    static const std::pair<const char*, vvmaker::Container> kinds[] = {
        {"avi", vvmaker::Container::Avi},           {"mpg", vvmaker::Container::MpegPs},
        {"xvid", vvmaker::Container::AviXvid},      {"divx3", vvmaker::Container::AviDivx3},
        {"h264-mp4", vvmaker::Container::Mp4H264},  {"h264-mkv", vvmaker::Container::MkvH264},
        {"vp9-webm", vvmaker::Container::WebmVp9},  {"hevc-mov", vvmaker::Container::MovHevc},
        {"av1-mp4", vvmaker::Container::Mp4Av1},
    };
    for (const auto& [name, container] : kinds) {
        if (kind == name)
            return container;
    }
    throw UsageError{"unknown kind \"" + kind + "\""};
}

int fail(const std::string& error)
{
    std::fprintf(stderr, "vv-mediamaker: %s\n", error.c_str());
    return 1;
}

int runVideo(Arguments& args)
{
    vvmaker::VideoSpec clip;
    while (args.nextIsOption()) {
        const std::string option = args.take("option");
        if (option == "--mpg")
            clip.container = vvmaker::Container::MpegPs;
        else if (option == "--kind")
            clip.container = parseKind(args.take("kind"));
        else if (option == "--size")
            std::tie(clip.width, clip.height) = parsePair(args.take("size"), 'x', "size");
        else if (option == "--fps")
            std::tie(clip.fpsNum, clip.fpsDen) = parsePair(args.take("frame rate"), '/', "frame rate");
        else if (option == "--frames")
            clip.frames = parseNumber<int>(args.take("frame count"), "frame count");
        else if (option == "--gop")
            clip.gopSize = parseNumber<int>(args.take("GOP size"), "GOP size");
        else if (option == "--bframes")
            clip.bFrames = parseNumber<int>(args.take("B-frame count"), "B-frame count");
        else if (option == "--quality")
            clip.quality = parseNumber<int>(args.take("quality"), "quality");
        else if (option == "--closed-gop")
            clip.closedGop = true;
        else if (option == "--no-audio")
            clip.audio = false;
        else
            throw UsageError{"unknown option " + option};
    }
    const std::string out = args.take("output file");
    args.expectEnd();
    std::string error;
    return vvmaker::makeVideo(out, clip, &error) ? 0 : fail(error);
}

int runAudio(Arguments& args, bool mp3)
{
    vvmaker::AudioSpec clip;
    while (args.nextIsOption()) {
        const std::string option = args.take("option");
        if (option == "--seconds")
            clip.seconds = parseNumber<double>(args.take("duration"), "duration");
        else if (option == "--hz")
            clip.toneHz = parseNumber<double>(args.take("frequency"), "frequency");
        else
            throw UsageError{"unknown option " + option};
    }
    const std::string out = args.take("output file");
    args.expectEnd();
    std::string error;
    const bool made = mp3 ? vvmaker::makeMp3(out, clip, &error) : vvmaker::makeWav(out, clip, &error);
    return made ? 0 : fail(error);
}

int runTruncate(Arguments& args)
{
    const std::string source = args.take("source file");
    const double fraction = parseNumber<double>(args.take("fraction"), "fraction");
    const std::string out = args.take("output file");
    args.expectEnd();
    std::string error;
    return vvmaker::makeTruncatedCopy(source, out, fraction, &error) ? 0 : fail(error);
}

int runRead(Arguments& args)
{
    const std::string file = args.take("file");
    args.expectEnd();
    vvmaker::ClipReader reader;
    std::string error;
    if (!reader.open(file, {}, &error))
        return fail(error);
    std::vector<std::uint8_t> bgr;
    int width = 0, height = 0;
    int index = 0;
    while (reader.next(bgr, width, height, &error))
        std::printf("%d %d\n", index++,
                    vvmaker::readFrameNumber(bgr.data(), width, height, width * 3, 3, false));
    if (!error.empty())
        return fail(error);
    std::fprintf(stderr, "vv-mediamaker: %d frames decoded, %lld claimed by the container\n", index,
                 static_cast<long long>(reader.claimedFrames()));
    return 0;
}

int runDemo(Arguments& args)
{
    const std::string dir = args.take("directory");
    args.expectEnd();
    std::string error;
    return vvmaker::makeDemoLibrary(dir, &error) ? 0 : fail(error);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string_view command = argv[1];
    Arguments args(argc, argv);
    try {
        if (command == "demo")
            return runDemo(args);
        if (command == "video")
            return runVideo(args);
        if (command == "wav" || command == "mp3")
            return runAudio(args, command == "mp3");
        if (command == "truncate")
            return runTruncate(args);
        if (command == "read")
            return runRead(args);
        throw UsageError{"unknown command \"" + std::string(command) + "\""};
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vv-mediamaker: %s\n%s", e.message.c_str(), kUsage);
        return 2;
    }
}
