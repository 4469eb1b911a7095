#include "app/frame_timeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>
#include <sys/stat.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include "app/libav.h"
#include "app/mp4_samples.h"

namespace vv {

FrameTimeline FrameTimeline::forEntries(std::int64_t entries, std::vector<std::int64_t> pictureTicks,
                                        double tickSeconds)
{
    FrameTimeline t;
    std::erase_if(pictureTicks, [&](std::int64_t tick) { return tick < 0 || tick >= entries; });
    std::sort(pictureTicks.begin(), pictureTicks.end());
    pictureTicks.erase(std::unique(pictureTicks.begin(), pictureTicks.end()), pictureTicks.end());
    if (pictureTicks.empty() || tickSeconds <= 0)
        return t;
    t.entries_ = true;
    t.positions_ = entries;
    t.pictures_ = std::move(pictureTicks);
    t.tickSeconds_ = tickSeconds;
    t.seconds_ = entries * tickSeconds;
    return t;
}

FrameTimeline FrameTimeline::forPictures(std::vector<std::int64_t> pictureTicks, std::int64_t lastTicks,
                                         double tickSeconds)
{
    FrameTimeline t;
    std::sort(pictureTicks.begin(), pictureTicks.end());
    pictureTicks.erase(std::unique(pictureTicks.begin(), pictureTicks.end()), pictureTicks.end());
    if (pictureTicks.empty() || tickSeconds <= 0)
        return t;
    t.positions_ = static_cast<std::int64_t>(pictureTicks.size());
    t.origin_ = pictureTicks.front();
    t.tickSeconds_ = tickSeconds;
    t.seconds_ = (pictureTicks.back() - t.origin_ + std::max<std::int64_t>(lastTicks, 1)) * tickSeconds;
    t.pictures_ = std::move(pictureTicks);
    return t;
}

std::int64_t FrameTimeline::pictureIndex(std::int64_t position) const
{
    position = std::clamp<std::int64_t>(position, 0, std::max<std::int64_t>(positions_ - 1, 0));
    if (!entries_)
        return position;
    // The last picture presented at or before the entry; the first before any.
    const auto after = std::upper_bound(pictures_.begin(), pictures_.end(), origin_ + position);
    return std::max<std::int64_t>(after - pictures_.begin() - 1, 0);
}

std::int64_t FrameTimeline::pictureTicks(std::int64_t position) const
{
    return pictures_.empty() ? 0 : pictures_[static_cast<std::size_t>(pictureIndex(position))];
}

double FrameTimeline::pictureSeconds(std::int64_t position) const
{
    return (pictureTicks(position) - origin_) * tickSeconds_;
}

std::int64_t FrameTimeline::positionTicks(std::int64_t position) const
{
    if (entries_)
        return origin_ + std::clamp<std::int64_t>(position, 0, std::max<std::int64_t>(positions_ - 1, 0));
    return pictureTicks(position);
}

std::int64_t FrameTimeline::positionAt(double seconds) const
{
    return pictures_.empty() ? 0 : positionAtTicks(origin_ + seconds / tickSeconds_);
}

std::int64_t FrameTimeline::positionAtTicks(double ticks) const
{
    if (pictures_.empty() || std::isnan(ticks))
        return 0;
    const std::int64_t last = positions_ - 1;
    ticks = std::clamp(ticks, -1e15, 1e15);
    if (entries_)
        return std::clamp<std::int64_t>(std::llround(ticks - origin_), 0, last);
    // Half a tick of slack: the player's clock is a double.
    const double at = ticks + 0.5;
    const auto after = std::upper_bound(pictures_.begin(), pictures_.end(), at,
                                        [](double t, std::int64_t tick) { return t < double(tick); });
    return std::clamp<std::int64_t>(after - pictures_.begin() - 1, 0, last);
}

// ------------------------------------------------------------------ the scan

namespace {

bool isAvi(const AVFormatContext* input)
{
    return input->iformat && input->iformat->name && std::strcmp(input->iformat->name, "avi") == 0;
}

bool isMpegStream(const AVFormatContext* input)
{
    const char* name = input->iformat && input->iformat->name ? input->iformat->name : "";
    return std::strcmp(name, "mpeg") == 0 || std::strcmp(name, "mpegts") == 0;
}

struct ScannedPacket {
    std::int64_t stamp;      // pts, or dts where the container gives no pts
    std::int64_t duration;
};

// The video packets with data from the start of the file, in file order,
// read without decoding; the other streams are skipped meanwhile. Stamps are
// decoding timestamps when `decodingStamps`, else presentation timestamps
// where the container has them.
std::vector<ScannedPacket> scanPackets(AVFormatContext* input, int index, bool decodingStamps)
{
    std::vector<ScannedPacket> found;
    libav::PacketPtr packet(av_packet_alloc());
    const AVStream* stream = input->streams[index];
    const std::int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (!packet || av_seek_frame(input, index, start, AVSEEK_FLAG_BACKWARD) < 0)
        return found;
    std::vector<AVDiscard> discards(input->nb_streams);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        discards[i] = input->streams[i]->discard;
        if (static_cast<int>(i) != index)
            input->streams[i]->discard = AVDISCARD_ALL;
    }
    while (av_read_frame(input, packet.get()) >= 0) {
        const AVPacket& p = *packet;
        const std::int64_t stamp = decodingStamps || p.pts == AV_NOPTS_VALUE ? p.dts : p.pts;
        if (p.stream_index == index && p.size > 0 && !(p.flags & AV_PKT_FLAG_DISCARD) && stamp != AV_NOPTS_VALUE)
            found.push_back({stamp, p.duration});
        av_packet_unref(packet.get());
    }
    for (unsigned i = 0; i < input->nb_streams; ++i)
        input->streams[i]->discard = discards[i];
    return found;
}

std::uint32_t le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

// The bytes of the input's file, read through the input's own reading (the
// file is opened once, by whoever opened the input); the reading position
// is put back afterwards.
class InputBytes {
public:
    explicit InputBytes(AVIOContext* io) : io_(io), home_(io ? avio_tell(io) : -1) {}
    ~InputBytes()
    {
        if (home_ >= 0)
            avio_seek(io_, home_, SEEK_SET);
    }
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;

    std::int64_t size() const { return home_ >= 0 ? avio_size(io_) : -1; }

    // How many of the bytes asked for are there (all but those beyond the end).
    std::size_t readSome(std::int64_t at, unsigned char* to, std::size_t bytes) const
    {
        if (home_ < 0 || avio_seek(io_, at, SEEK_SET) != at)
            return 0;
        constexpr std::size_t Chunk = 1 << 20;
        std::size_t done = 0;
        while (done < bytes) {
            const int part = static_cast<int>(std::min(Chunk, bytes - done));
            const int got = avio_read(io_, to + done, part);
            done += std::max(got, 0);
            if (got != part)
                break;
        }
        return done;
    }

    bool read(std::int64_t at, unsigned char* to, std::size_t bytes) const { return readSome(at, to, bytes) == bytes; }

    ReadBytes reader() const
    {
        return [this](std::int64_t at, unsigned char* to, std::size_t bytes) { return read(at, to, bytes); };
    }

private:
    AVIOContext* io_;
    std::int64_t home_;
};

// The number of entries of AVI stream `stream` in the file's index chunk
// (idx1), empty ones included: libavformat keeps only those with data, so
// empty entries after the last picture would be lost. -1 without an index.
std::int64_t aviIndexedEntries(const AVFormatContext* input, int stream)
{
    if (stream < 0 || stream > 99)
        return -1;
    const InputBytes file(input->pb);
    unsigned char head[12];
    if (!file.read(0, head, 12) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "AVI ", 4) != 0)
        return -1;
    // The top-level chunks of the first RIFF list, each padded to even size.
    for (std::int64_t at = 12;;) {
        unsigned char chunk[8];
        if (!file.read(at, chunk, 8))
            return -1;
        const std::uint32_t size = le32(chunk + 4);
        at += 8;
        if (std::memcmp(chunk, "idx1", 4) != 0) {
            at += std::int64_t(size) + (size & 1);
            continue;
        }
        // Read in pieces, whatever size the chunk claims; a file cut short
        // counts the entries it holds.
        constexpr std::int64_t Piece = 4096;
        std::vector<unsigned char> entries(16 * Piece);
        const char id[2] = {char('0' + stream / 10), char('0' + stream % 10)};
        std::int64_t count = 0;
        for (std::int64_t left = size / 16; left > 0;) {
            const std::size_t wanted = 16 * std::min(left, Piece);
            const std::size_t got = file.readSome(at, entries.data(), wanted);
            for (std::size_t e = 0; e + 16 <= got; e += 16) {
                if (entries[e] == id[0] && entries[e + 1] == id[1] && (entries[e + 2] == 'd' || entries[e + 2] == 'D'))
                    ++count;
            }
            if (got != wanted)
                break;
            at += std::int64_t(wanted);
            left -= std::int64_t(wanted / 16);
        }
        return count;
    }
}

// AVI: the stamps (entry numbers) of the entries that hold data, from the
// index when it covers the stream header's frames, else from the packets.
// `entries` becomes the number of entries of the file's index (-1: none).
std::vector<std::int64_t> aviStamps(AVFormatContext* input, int index, std::int64_t* entries)
{
    AVStream* stream = input->streams[index];
    const int count = avformat_index_get_entries_count(stream);
    std::vector<std::int64_t> stamps;
    *entries = aviIndexedEntries(input, stream->id);
    if (count > 0) {
        const AVIndexEntry* last = avformat_index_get_entry(stream, count - 1);
        if (last && (last->timestamp + 1 == stream->nb_frames || *entries == stream->nb_frames)) {
            stamps.reserve(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i) {
                const AVIndexEntry* e = avformat_index_get_entry(stream, i);
                if (e->size > 0)
                    stamps.push_back(e->timestamp);
            }
            return stamps;
        }
    }
    for (const ScannedPacket& p : scanPackets(input, index, true))
        stamps.push_back(p.stamp);
    return stamps;
}

FrameTimeline aviTimeline(AVFormatContext* input, int index)
{
    const AVStream* stream = input->streams[index];
    std::int64_t indexed = -1;
    const std::vector<std::int64_t> stamps = aviStamps(input, index, &indexed);
    if (stamps.empty())
        return {};
    // Empty entries after the last picture count too.
    const std::int64_t entries = std::max(*std::max_element(stamps.begin(), stamps.end()) + 1, indexed);
    // AVI stamps are those of decoding order: a decoder that holds `delay`
    // pictures back for B-frames hands picture k out with the stamp of
    // packet k + delay, and plays it that many entries earlier. The pictures
    // still held at the end follow the last one entry by entry.
    const std::size_t n = stamps.size();
    const std::size_t delay = std::min<std::size_t>(std::max(stream->codecpar->video_delay, 0), n - 1);
    std::vector<std::int64_t> pictures(n);
    for (std::size_t k = 0; k < n; ++k)
        pictures[k] = k + delay < n ? stamps[k + delay] - std::int64_t(delay)
                                    : stamps[n - 1] + std::int64_t(k + 1) - std::int64_t(n);
    return FrameTimeline::forEntries(entries, std::move(pictures), av_q2d(stream->time_base));
}

bool isMp4(const AVFormatContext* input)
{
    return input->iformat && input->iformat->name && std::strncmp(input->iformat->name, "mov,", 4) == 0;
}

std::int64_t nominalTicks(const AVStream* stream)
{
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), stream->time_base) : 1;
}

// MP4 and MOV: the pictures from the sample table, without reading the
// samples. libavformat's index holds every sample's decoding time; the
// presentation time adds the sample's composition offset and one shift for
// the whole track (edit list, negative offsets), which the first packets
// tell. Packets read at the start and at the end must agree, else the
// caller scans. Empty when it cannot be done this way.
FrameTimeline mp4Timeline(AVFormatContext* input, int index)
{
    constexpr int Checked = 48;
    AVStream* stream = input->streams[index];
    const int count = avformat_index_get_entries_count(stream);
    if (count <= 0 || count != stream->nb_frames)
        return {};
    const InputBytes file(input->pb);
    const auto offsets = mp4CompositionOffsets(file.reader(), file.size(), stream->id);
    if (!offsets || (!offsets->empty() && offsets->size() < static_cast<std::size_t>(count)))
        return {};
    // An edit list may leave out samples before the first keyframe it needs.
    const std::size_t skipped = offsets->empty() ? 0 : offsets->size() - count;
    auto predicted = [&](int i) {
        return avformat_index_get_entry(stream, i)->timestamp + (offsets->empty() ? 0 : (*offsets)[skipped + i]);
    };
    auto entryAt = [&](std::int64_t dts) {
        int lo = 0, hi = count;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (avformat_index_get_entry(stream, mid)->timestamp < dts)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo < count && avformat_index_get_entry(stream, lo)->timestamp == dts ? lo : -1;
    };

    // The packets at the start and those from a keyframe near the end.
    libav::PacketPtr packet(av_packet_alloc());
    std::vector<AVDiscard> discards(input->nb_streams);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        discards[i] = input->streams[i]->discard;
        input->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    std::optional<std::int64_t> shift;
    bool agree = packet != nullptr;
    bool lastRead = false;  // a file cut short ends before its last sample
    std::int64_t lastStamp = AV_NOPTS_VALUE;
    std::int64_t lastDuration = 0;
    auto check = [&](std::int64_t from, int packets) {
        if (!agree || av_seek_frame(input, index, from, AVSEEK_FLAG_BACKWARD) < 0) {
            agree = false;
            return;
        }
        for (int n = 0; agree && (packets < 0 || n < packets) && av_read_frame(input, packet.get()) >= 0; ++n) {
            const AVPacket& p = *packet;
            const int entry = p.dts != AV_NOPTS_VALUE ? entryAt(p.dts) : -1;
            if (p.pts == AV_NOPTS_VALUE || entry < 0) {
                agree = false;
            } else {
                if (!shift)
                    shift = p.pts - predicted(entry);
                agree = p.pts == predicted(entry) + *shift;
                lastRead = lastRead || entry == count - 1;
                if (agree && (lastStamp == AV_NOPTS_VALUE || p.pts >= lastStamp)) {
                    lastStamp = p.pts;
                    lastDuration = p.duration;
                }
            }
            av_packet_unref(packet.get());
        }
    };
    check(stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0, Checked);
    check(avformat_index_get_entry(stream, std::max(0, count - Checked))->timestamp, -1);
    for (unsigned i = 0; i < input->nb_streams; ++i)
        input->streams[i]->discard = discards[i];
    if (!agree || !shift || !lastRead)
        return {};

    std::vector<std::int64_t> pictures;
    pictures.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(stream, i);
        if (e->size > 0 && !(e->flags & AVINDEX_DISCARD_FRAME))
            pictures.push_back(predicted(i) + *shift);
    }
    // The last picture lasts its packet's duration, else the nominal period.
    return FrameTimeline::forPictures(std::move(pictures), lastDuration > 0 ? lastDuration : nominalTicks(stream),
                                      av_q2d(stream->time_base));
}

FrameTimeline pictureTimeline(AVFormatContext* input, int index)
{
    const AVStream* stream = input->streams[index];
    if (isMp4(input)) {
        FrameTimeline fromTable = mp4Timeline(input, index);
        if (!fromTable.empty())
            return fromTable;
    }
    const std::vector<ScannedPacket> packets = scanPackets(input, index, false);
    if (packets.empty())
        return {};
    std::vector<std::int64_t> pictures;
    pictures.reserve(packets.size());
    const ScannedPacket* last = &packets.front();
    for (const ScannedPacket& p : packets) {
        pictures.push_back(p.stamp);
        if (p.stamp >= last->stamp)
            last = &p;
    }
    // The last picture lasts its packet's duration, else the nominal period.
    return FrameTimeline::forPictures(std::move(pictures), last->duration > 0 ? last->duration : nominalTicks(stream),
                                      av_q2d(stream->time_base));
}

// The timelines of the last few files scanned, for every thread: the player
// and the grabber's sources open the same file one after the other. A file
// counts as the same while its path, size and modification time are.
class TimelineCache {
public:
    struct Key {
        std::string path;
        int stream = 0;
        FileStamp stamp;
        bool operator==(const Key&) const = default;
    };

    static std::optional<Key> keyOf(const AVFormatContext* input, int index, std::optional<FileStamp> stamp)
    {
        if (!input->url || !*input->url)
            return std::nullopt;
        if (!stamp) {
            struct stat info {};
            if (::stat(input->url, &info) != 0 || !S_ISREG(info.st_mode))
                return std::nullopt;
            stamp = FileStamp::of(info);
        }
        return Key{input->url, index, *stamp};
    }

    std::optional<FrameTimeline> find(const Key& key)
    {
        const std::lock_guard lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->first == key) {
                entries_.splice(entries_.begin(), entries_, it);
                return it->second;
            }
        }
        return std::nullopt;
    }

    void clear()
    {
        const std::lock_guard lock(mutex_);
        entries_.clear();
    }

    void keep(const Key& key, const FrameTimeline& timeline)
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(entries_, [&](const auto& e) { return e.first.path == key.path && e.first.stream == key.stream; });
        entries_.emplace_front(key, timeline);
        if (entries_.size() > Files)
            entries_.pop_back();
    }

private:
    static constexpr std::size_t Files = 4;
    std::mutex mutex_;
    std::list<std::pair<Key, FrameTimeline>> entries_;  // the last used first
};

TimelineCache& timelineCache()
{
    static TimelineCache cache;
    return cache;
}

} // namespace

FileStamp FileStamp::of(const struct stat& info)
{
    return {info.st_size, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

FrameTimeline scanTimeline(AVFormatContext* input, int index, std::optional<FileStamp> stamp)
{
    // Program and transport streams keep to their constant frame rate over
    // the span of their timestamps (see videoLength).
    if (!input || index < 0 || index >= static_cast<int>(input->nb_streams) || isMpegStream(input))
        return {};
    const auto key = TimelineCache::keyOf(input, index, stamp);
    if (key) {
        if (auto kept = timelineCache().find(*key))
            return std::move(*kept);
    }
    FrameTimeline timeline = isAvi(input) ? aviTimeline(input, index) : pictureTimeline(input, index);
    if (key)
        timelineCache().keep(*key, timeline);
    return timeline;
}

void forgetScannedTimelines()
{
    timelineCache().clear();
}

} // namespace vv
