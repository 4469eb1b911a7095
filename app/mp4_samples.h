#pragma once
// The composition offsets of an MP4/MOV track from its sample table (the
// 'ctts' box): how many ticks each sample is presented after it is decoded,
// in decoding order. libavformat applies them to the packets it reads but
// keeps them out of its index, which holds decoding times only.

#include <cstdint>
#include <optional>
#include <vector>

namespace vv {

// The offsets of every sample of track `trackId` of the file at `path`; an
// empty list when the track has none (every sample is presented when it is
// decoded). nullopt when the file cannot be read that way: no such track,
// a fragmented file, a damaged box.
std::optional<std::vector<std::int32_t>> mp4CompositionOffsets(const char* path, int trackId);

} // namespace vv
