#pragma once

namespace vv {

class App;

// Switches crazy vision on (runs the motion loop until it is switched off)
// or off.
void CRAZYvisionSWITCH(App& app);
// The motion loop.
void CRAZYvision(App& app);

} // namespace vv
