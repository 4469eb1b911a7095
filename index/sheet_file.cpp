#include "index/sheet_file.h"

#include <QList>

#include "app/atomic_file.h"
#include "index/cdib.h"
#include "index/preview_rules.h"
#include "index/scene_grab.h"

namespace vv {

QByteArray sheetFileBytes(const QImage& sheet)
{
    const QByteArray packed = packedDibFromImage(sheet);
    cDIB dib;
    if (!dib.CreateFromPackedDIBPointer(packed.constData(), static_cast<std::size_t>(packed.size())))
        return {};
    return dib.fileBytes();
}

QList<QImage> scenePictures(const SceneGrab& grab)
{
    QList<QImage> pictures(SceneCount);
    for (const GrabbedScene& scene : grab.scenes) {
        if (scene.scene >= 0 && scene.scene < SceneCount)
            pictures[scene.scene] = imageFromPackedDib(scene.packedDib.constData(),
                                                       static_cast<std::size_t>(scene.packedDib.size()));
    }
    return pictures;
}

QList<QImage> writeSceneFiles(const SceneGrab& grab, const QString& folder)
{
    std::vector<AtomicWrite> files;
    cDIB dib;
    for (const GrabbedScene& scene : grab.scenes) {
        if (scene.scene >= 0 && scene.scene < SceneCount && dib.CreateFromPackedDIB(scene.packedDib))
            files.emplace_back(folder + QString::number(scene.scene) + QStringLiteral(".bmp"), dib.fileParts());
    }
    writeFilesAtomically(files);
    return scenePictures(grab);
}

MadeSheet makeSheetFile(const QString& videoPath, int workers)
{
    MadeSheet made;
    const SceneGrab grab = grabScenes(videoPath, SceneCount, workers);
    if (!grab.ok || grab.scenes.empty())
        return made;
    made.sheet = buildPreviewSheet(scenePictures(grab));
    const QByteArray bytes = sheetFileBytes(made.sheet);
    made.outcome = !bytes.isEmpty() && writeFileAtomically(previewSheetWriteName(videoPath), bytes, &made.error)
                       ? MadeSheet::Outcome::Written
                       : MadeSheet::Outcome::NotWritten;
    return made;
}

} // namespace vv
