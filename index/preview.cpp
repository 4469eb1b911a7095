#include "index/preview.h"

#include "app/app.h"

namespace vv {

void MAKEpreview(App&, const QString&) {}
void SAVEpreview(App&, const QString&) {}
void LOADpreview(App&, const QString&) {}

} // namespace vv
