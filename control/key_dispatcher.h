#pragma once

class QKeyEvent;

namespace vv {

class App;

// The key dispatcher: maps a virtual-key code to its command.
void KEYcommand(App& app, int keyCode);

// A key pressed in one of the player's windows, translated to its
// virtual-key code and dispatched. False (nothing done) for a key without one.
bool KEYcommand(App& app, const QKeyEvent& event);

} // namespace vv
