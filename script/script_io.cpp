#include "script/script_io.h"

#include "app/app.h"

namespace vv {

void LOADscript(App&, const QString&) {}
void NEWscript(App&, const QString&) {}
bool SAVEscript(App&, const QString&) { return true; }

} // namespace vv
