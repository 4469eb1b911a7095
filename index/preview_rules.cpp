#include "index/preview_rules.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <limits>

#include "app/numbers.h"
#include "index/frame_source.h"
#include "index/le_bytes.h"
#include "library/media_scan.h"

namespace vv {

std::optional<std::int16_t> previewStep(std::int64_t frameCount, int sceneCount)
{
    if (sceneCount < 1)
        return std::nullopt;
    const std::int64_t step = roundEven(static_cast<double>(frameCount) / sceneCount);
    if (step > std::numeric_limits<std::int16_t>::max() || step < std::numeric_limits<std::int16_t>::min())
        return std::nullopt;
    return static_cast<std::int16_t>(std::max<std::int64_t>(step, 1));
}

std::vector<PreviewCandidate> previewCandidates(std::int32_t frameCount, std::int16_t step)
{
    std::vector<PreviewCandidate> out;
    if (step < 1)
        return out;
    for (std::int64_t i = 0; i <= frameCount; i += step) {
        const auto position = static_cast<std::int32_t>(i);
        out.push_back({position, std::min<std::int32_t>(position, frameCount - 1)});
    }
    return out;
}

std::vector<SceneAssignment> assignScenes(const std::vector<PreviewCandidate>& candidates,
                                          const std::vector<bool>& accepted, int sceneCount)
{
    std::vector<SceneAssignment> out;
    for (std::size_t j = 0; j < candidates.size() && j < accepted.size(); ++j) {
        if (static_cast<int>(out.size()) >= sceneCount)
            break;
        if (accepted[j])
            out.push_back({static_cast<int>(out.size()), j, candidates[j]});
    }
    return out;
}

bool lastFrameFillsIn(int scenesFilled, int sceneCount)
{
    return scenesFilled == sceneCount - 1;
}

std::int32_t loadedScenePosition(int scene, std::int32_t durationFrames, int sceneCount)
{
    if (sceneCount < 1)
        return 0;
    const std::int64_t step = roundEven32(static_cast<double>(durationFrames) / sceneCount);
    return pinned<std::int32_t>(step * scene);
}

QRect sheetCell(int scene, int cellWidth, int cellHeight)
{
    return QRect((scene % 4) * cellWidth, (scene / 4) * cellHeight, cellWidth, cellHeight);
}

QString previewSheetReadName(const QString& videoPath)
{
    return besideMedia(videoPath, QStringLiteral("bmp"));
}

QString previewSheetWriteName(const QString& videoPath)
{
    return videoPath.left(std::max<qsizetype>(0, videoPath.size() - extensionCut(videoPath)))
           + QStringLiteral(".bmp");
}

QImage buildPreviewSheet(const QList<QImage>& scenes)
{
    QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int k = 0; k < SceneCount && k < scenes.size(); ++k) {
        if (!scenes[k].isNull())
            painter.drawImage(sheetCell(k), scenes[k]);
    }
    return sheet;
}

QList<QImage> cutPreviewSheet(const QImage& sheet, int cellWidth, int cellHeight)
{
    QList<QImage> cells;
    const QImage source = sheet.convertToFormat(QImage::Format_RGB32);
    for (int k = 0; k < SceneCount; ++k) {
        QImage cell(cellWidth, cellHeight, QImage::Format_RGB32);
        cell.fill(Qt::black);
        if (!source.isNull()) {
            QPainter painter(&cell);
            painter.drawImage(QPoint(0, 0), source, sheetCell(k, cellWidth, cellHeight));
        }
        cells.append(cell);
    }
    return cells;
}

QByteArray packedDibFromImage(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    const int width = bgr.width();
    const int height = bgr.height();
    const qsizetype stride = (static_cast<qsizetype>(width) * 3 + 3) & ~qsizetype(3);
    QByteArray out = packedDibHeader(width, height);
    out.append(QByteArray(stride * height, '\0'));
    char* rows = out.data() + out.size() - stride * height;
    for (int y = 0; y < height; ++y)
        std::memcpy(rows + (height - 1 - y) * stride, bgr.constScanLine(y), static_cast<std::size_t>(width) * 3);
    return out;
}

QImage imageFromPackedDib(const void* packed, std::size_t available)
{
    if (!packed || available < 40)
        return {};
    const auto* p = static_cast<const std::uint8_t*>(packed);
    const std::int32_t headerSize = le::i32(p + 0);
    const std::int32_t width = le::i32(p + 4);
    const std::int32_t rawHeight = le::i32(p + 8);
    const int bitCount = le::u16(p + 14);
    const std::int32_t compression = le::i32(p + 16);
    if (headerSize != 40 || compression != 0 || (bitCount != 24 && bitCount != 32) || width <= 0
        || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min())
        return {};
    const bool bottomUp = rawHeight > 0;
    const std::int64_t height = bottomUp ? rawHeight : -static_cast<std::int64_t>(rawHeight);
    const int bytesPerPixel = bitCount / 8;
    const std::int64_t stride = (static_cast<std::int64_t>(width) * bytesPerPixel + 3) & ~std::int64_t(3);
    if (width > 65535 || height > 65535 || stride * height > static_cast<std::int64_t>(available) - 40)
        return {};
    // The rows as stored (blue, green, red, and an unused fourth byte at 32
    // bits), copied the right way up and converted where they lie.
    const QImage::Format format = bytesPerPixel == 3 ? QImage::Format_BGR888 : QImage::Format_RGB32;
    QImage image(width, static_cast<int>(height), format);
    if (image.isNull())
        return {};
    const std::size_t used = static_cast<std::size_t>(width) * bytesPerPixel;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), p + 40 + (bottomUp ? height - 1 - y : y) * stride, used);
    image.convertTo(QImage::Format_RGB888);
    return image;
}

} // namespace vv
