#include "app/app.h"
#include "script/overlays.h"

namespace vv {

void SHOWindexgrid(App&) {}

} // namespace vv
