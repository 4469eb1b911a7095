#include "music/acdc.h"

#include "app/app.h"

namespace vv {

void ACDCenterFile(App&, const QString&) {}
void ACDCtick(App&) {}
std::int32_t GETacdcINTROSZENE(App&) { return 0; }
std::int32_t GETacdcENDSZENE(App&) { return 0; }
std::int32_t GETacdcSTARTactionSZENE(App&) { return 0; }

} // namespace vv
