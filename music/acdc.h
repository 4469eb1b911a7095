#pragma once
// The ACDC simulator: concert scenes cut to the music.

#include <QString>
#include <cstdint>

namespace vv {

class App;

// The first step of starting a music file: start, continue or end a simulation.
void ACDCenterFile(App& app, const QString& Datei);
// The music window's tick.
void ACDCtick(App& app);

std::int32_t GETacdcINTROSZENE(App& app);
std::int32_t GETacdcENDSZENE(App& app);
std::int32_t GETacdcSTARTactionSZENE(App& app);

} // namespace vv
