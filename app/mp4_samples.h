#pragma once
// The composition offsets of an MP4/MOV track from its sample table (the
// 'ctts' box): how many ticks each sample is presented after it is decoded,
// in decoding order. libavformat applies them to the packets it reads but
// keeps them out of its index, which holds decoding times only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vv {

// Reads `bytes` bytes of a file from offset `at`; false unless all are there.
using ReadBytes = std::function<bool(std::int64_t at, unsigned char* to, std::size_t bytes)>;

// The offsets of every sample of track `trackId` of a file of `size` bytes;
// an empty list when the track has none (every sample is presented when it
// is decoded). nullopt when the file cannot be read that way: no such
// track, a fragmented file, a damaged box.
std::optional<std::vector<std::int32_t>> mp4CompositionOffsets(const ReadBytes& read, std::int64_t size,
                                                               int trackId);

} // namespace vv
