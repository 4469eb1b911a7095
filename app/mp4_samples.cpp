#include "app/mp4_samples.h"

#include <cstring>

namespace vv {

namespace {

// More samples than any real track holds (a day at 240 fps): a bound for
// a damaged count.
constexpr std::int64_t MaxSamples = 24LL * 3600 * 240;

std::uint32_t be32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

struct Box {
    char type[4];
    std::int64_t start;  // the payload: start .. end
    std::int64_t end;
};

// The box at `at`, which must end by `limit`.
std::optional<Box> boxAt(const ReadBytes& f, std::int64_t at, std::int64_t limit)
{
    unsigned char head[16];
    if (at + 8 > limit || !f(at, head, 8))
        return std::nullopt;
    Box box;
    std::memcpy(box.type, head + 4, 4);
    std::int64_t size = be32(head);
    std::int64_t header = 8;
    if (size == 1) {
        if (!f(at + 8, head + 8, 8))
            return std::nullopt;
        size = std::int64_t(be32(head + 8)) << 32 | be32(head + 12);
        header = 16;
    } else if (size == 0) {
        size = limit - at;
    }
    if (size < header || size > limit - at)
        return std::nullopt;
    box.start = at + header;
    box.end = at + size;
    return box;
}

// The first box of `type` among those from `from` to `to`.
std::optional<Box> child(const ReadBytes& f, std::int64_t from, std::int64_t to, const char* type)
{
    for (auto box = boxAt(f, from, to); box; box = boxAt(f, box->end, to)) {
        if (std::memcmp(box->type, type, 4) == 0)
            return box;
    }
    return std::nullopt;
}

std::optional<Box> path(const ReadBytes& f, Box box, std::initializer_list<const char*> types)
{
    for (const char* type : types) {
        const auto next = child(f, box.start, box.end, type);
        if (!next)
            return std::nullopt;
        box = *next;
    }
    return box;
}

std::optional<std::vector<std::int32_t>> offsetsOf(const ReadBytes& f, const Box& stbl)
{
    const auto ctts = child(f, stbl.start, stbl.end, "ctts");
    if (!ctts)
        return std::vector<std::int32_t>();
    unsigned char head[8];
    if (!f(ctts->start, head, 8))
        return std::nullopt;
    const std::int64_t runs = be32(head + 4);
    if (runs * 8 > ctts->end - ctts->start - 8)
        return std::nullopt;
    std::vector<unsigned char> table(static_cast<std::size_t>(runs * 8));
    if (!table.empty() && !f(ctts->start + 8, table.data(), table.size()))
        return std::nullopt;
    std::vector<std::int32_t> offsets;
    for (std::int64_t i = 0; i < runs; ++i) {
        const std::int64_t count = be32(&table[i * 8]);
        if (static_cast<std::int64_t>(offsets.size()) + count > MaxSamples)
            return std::nullopt;
        // Signed in either version of the box, as libavformat reads it.
        offsets.insert(offsets.end(), static_cast<std::size_t>(count), static_cast<std::int32_t>(be32(&table[i * 8 + 4])));
    }
    return offsets;
}

} // namespace

std::optional<std::vector<std::int32_t>> mp4CompositionOffsets(const ReadBytes& f, std::int64_t size, int trackId)
{
    if (size <= 0)
        return std::nullopt;
    // Fragments carry their own sample tables.
    if (child(f, 0, size, "moof"))
        return std::nullopt;
    const auto moov = child(f, 0, size, "moov");
    if (!moov || child(f, moov->start, moov->end, "mvex"))
        return std::nullopt;
    for (auto trak = child(f, moov->start, moov->end, "trak"); trak;
         trak = boxAt(f, trak->end, moov->end)) {
        if (std::memcmp(trak->type, "trak", 4) != 0)
            continue;
        const auto tkhd = child(f, trak->start, trak->end, "tkhd");
        unsigned char version = 0;
        unsigned char id[4];
        if (!tkhd || !f(tkhd->start, &version, 1)
            || !f(tkhd->start + (version == 1 ? 20 : 12), id, 4))
            return std::nullopt;
        if (static_cast<int>(be32(id)) != trackId)
            continue;
        const auto stbl = path(f, *trak, {"mdia", "minf", "stbl"});
        return stbl ? offsetsOf(f, *stbl) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace vv
