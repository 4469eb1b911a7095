#include "control/crazy_vision.h"

#include "app/app.h"

namespace vv {

void CRAZYvisionSWITCH(App&) {}
void CRAZYvision(App&) {}

} // namespace vv
