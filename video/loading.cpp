#include "video/loading.h"

#include "app/app.h"

namespace vv {

QString previewSheetName(const QString& videoPath) { return videoPath.left(videoPath.size() - 3) + QStringLiteral("bmp"); }
QString scriptFileName(const QString& videoPath) { return videoPath.left(videoPath.size() - 3) + QStringLiteral("txt"); }

void INITIALIZEvideo(App&, const QString&, std::int32_t) {}
void GOTOposition(App&, std::int32_t) {}

} // namespace vv
