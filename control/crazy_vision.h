#pragma once
// Crazy vision: simulated camera travel over the playing video. The video
// picture is zoomed and panned in random motions until the mode is switched
// off; playback, the timers and the keys go on underneath, because window
// events run after every step of a motion.

namespace vv {

class App;

// The pace of the motion loop: one step per animation frame.
inline constexpr int CrazyStepMilliseconds = 40;

// Switches crazy vision on (shows "CRAZY VISION ON" and runs the motion loop;
// returns only when the loop has ended) or off (shows "CRAZY VISION OFF",
// asks the loop to end after its current motion and puts the picture back to
// 100 percent, centred). A second call while the loop runs arrives nested
// inside the loop's event processing and takes the off path.
void CRAZYvisionSWITCH(App& app);

// The motion loop: closes the overlays, reseeds the random generator, zooms
// to 150 percent, then runs motions until motionstop is set. motionstop is
// tested only between motions, so a motion always runs to its end.
void CRAZYvision(App& app);

} // namespace vv
