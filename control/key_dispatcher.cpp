#include "control/key_dispatcher.h"

#include "app/app.h"

namespace vv {

void KEYcommand(App&, int) {}

} // namespace vv
