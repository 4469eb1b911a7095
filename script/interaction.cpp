#include "app/app.h"
#include "script/overlays.h"

namespace vv {

void SCRIPTaction(App&, const QString&) {}
void SHOWinteraction(App&) {}

} // namespace vv
