#pragma once
// Loading a video and the one seek of the player.

#include <QString>
#include <cstdint>

namespace vv {

class App;

// Makes path the current video and plays it from frame start. An empty path
// only hides the message display. See loading.cpp for the steps.
void INITIALIZEvideo(App& app, const QString& path, std::int32_t start);

// The seek of the loaded video: clamps p into 0..DurationFrames, seeks,
// updates the time display (and the navigation strip while it is up), lets
// pending window events run once, and resumes playback when the PLAY button
// reads "STOP". Every jump of the player goes through here.
void GOTOposition(App& app, std::int32_t p);

// The preview sheet and script file beside a video: besideMedia(path, "bmp")
// and besideMedia(path, "txt").
QString previewSheetName(const QString& videoPath);
QString scriptFileName(const QString& videoPath);

} // namespace vv
