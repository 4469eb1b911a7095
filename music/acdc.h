#pragma once
// The ACDC simulator: while songs with "acdc" in their path play in the
// music window, the concert video runs in the video window and cuts through
// its scenes on its own - a random intro scene with the concert's sound, a
// fade of that sound and a cut to an action scene after five seconds, a
// closing scene shortly before the song ends, and the next song of the music
// list at the end. Starting any other music file ends the simulation.
//
// State: AppState::ACDCactive and AppState::ACDCstate ("starting" after a
// song has been entered, "ending" once its closing scene has been chosen).

#include <QString>
#include <cstdint>

namespace vv {

class App;

// Shown on the information display when the concert video is not in the
// music directory; the music then plays without a simulation.
inline const QString ConcertVideoMissingText = QStringLiteral("CONCERT VIDEO NOT FOUND!");

// The first step of starting a music file: starts, continues or ends a
// simulation for the file Datei.
void ACDCenterFile(App& app, const QString& Datei);

// The music window's tick (every 500 ms): fade and cut, closing scene, next
// song - in this order. Does nothing while no simulation runs.
void ACDCtick(App& app);

// The scene pickers: each reseeds the random generator from the time of day,
// draws one number and returns the frame of the drawn table entry.
std::int32_t GETacdcINTROSZENE(App& app);
std::int32_t GETacdcENDSZENE(App& app);
std::int32_t GETacdcSTARTactionSZENE(App& app);

} // namespace vv
