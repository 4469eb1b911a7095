// A preview sheet beside a video, loaded and cut into the scene pictures as
// the scene windows get them.
#include "app/app.h"
#include "app/program_services.h"
#include "app/twips.h"
#include "index/preview.h"
#include "index/preview_rules.h"
#include "tests/fuzz/fuzz_input.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static vv::ProgramServices services;
    static vv::App app(services, [](QWidget*) { return std::unique_ptr<vv::MediaPlayer>(); });
    const QString video = vv::fuzz::inputFile(nullptr, 0, QStringLiteral("clip.avi"));
    vv::fuzz::inputFile(data, size, QStringLiteral("clip.bmp"));
    const QImage sheet = vv::previewSheet(app, video);
    if (!sheet.isNull())
        (void)vv::cutPreviewSheet(sheet, vv::px(app.st.IndexCellWidth), vv::px(app.st.IndexCellHeight));
    return 0;
}
