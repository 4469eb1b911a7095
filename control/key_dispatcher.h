#pragma once

namespace vv {

class App;

// The key dispatcher: maps a virtual-key code to its command.
void KEYcommand(App& app, int keyCode);

} // namespace vv
