#pragma once
// The playback tick, the display tick and the playlist.

#include <QString>

namespace vv {

class App;

// Every 500 ms while a video plays: time display, slider, loop, end of video,
// fast preview.
void playbackTick(App& app);

// Every second: the countdowns of the information, time and message displays.
void displayTick(App& app);

// The next / previous video of the playlist ("" when there is none); both set
// CurrentVideo.
QString getNEXTvideo(App& app);
QString getPREVIOUSvideo(App& app);

} // namespace vv
