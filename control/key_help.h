#pragma once

#include <QString>

namespace vv {

class App;

// The keyboard summary (lines separated by a carriage return alone).
QString keyboardHelpText();
// Shows it in a message box.
void SHOWkeyboardHELP(App& app);

} // namespace vv
