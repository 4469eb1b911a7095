#include "app/app.h"
#include "script/overlays.h"

namespace vv {

void SHOWnavigation(App&) {}

} // namespace vv
