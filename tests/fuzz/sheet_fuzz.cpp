// A preview sheet beside a video, read and cut into the scene pictures as
// loading the scene index does.
#include "index/preview_rules.h"
#include "tests/fuzz/fuzz_input.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString video = vv::fuzz::inputFile(nullptr, 0, QStringLiteral("clip.avi"));
    vv::fuzz::inputFile(data, size, QStringLiteral("clip.bmp"));
    QImage sheet;
    if (sheet.load(vv::previewSheetReadName(video)))
        (void)vv::cutPreviewSheet(sheet);  // cells of the size set at start-up
    return 0;
}
