#pragma once
// Time codes: a frame number shown as hh:mm:ss-ff.

#include <QString>
#include <cstdint>

namespace vv {

// The time code of frame at frameRate frames per second: hours, minutes,
// seconds and the frames into the second, each at least two digits
// ("00:00:49-09" for frame 1234 at 25). Fields wider than two digits are
// written in full: a frame rate above 99 gives a three-digit frame field, and
// positions beyond 99 hours simply give a longer hours field (no 16-bit limit
// on the seconds). A negative frame gives "-" followed by the time code of
// its magnitude ("-00:00:00-01" for -1 at 25). Empty text when frameRate is 0
// or negative (no video loaded).
QString FORMATtimecode(std::int32_t frame, std::int16_t frameRate);

// The tool tip of the time display: the frame number as number text with its
// leading blank for a non-negative value, directly followed by "Frame":
// " 1234Frame", "-3Frame".
QString frameToolTip(std::int64_t frame);

} // namespace vv
