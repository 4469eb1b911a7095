#pragma once
// The overlay displays: executing a script entry, the NAVIGATE strip, the
// INTERACT grid, the SELECT INDEX grid, and hiding them all.

#include <QString>

namespace vv {

class App;

void SCRIPTaction(App& app, const QString& Befehlszeile);
void SHOWpanels(App& app);
void SHOWnavigation(App& app);
void SHOWinteraction(App& app);
void SHOWindexgrid(App& app);
void HIDEscenepictures(App& app);
void HIDEinteraction(App& app);
void HIDEall(App& app);

} // namespace vv
