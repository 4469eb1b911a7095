#include "control/key_help.h"

#include "app/app.h"

namespace vv {

QString keyboardHelpText() { return QString(); }
void SHOWkeyboardHELP(App&) {}

} // namespace vv
