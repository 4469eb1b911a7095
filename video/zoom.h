#pragma once
// Zoom and position of the video picture inside the video window.

#include <cstdint>

namespace vv {

class App;

// Moves the picture by dx, dy twips and/or zooms it about its centre to zoom
// percent (kept within 100..1000), keeping the window covered.
void ZOOMvideo(App& app, std::int32_t dx, std::int32_t dy, std::int16_t zoom);

// Sets the zoom relative to the window size (zoom below 100 is raised to 100
// in the caller's variable); centre = 1 centres the picture.
void SIZEvideo(App& app, std::int16_t& zoom, std::int16_t centre);

} // namespace vv
