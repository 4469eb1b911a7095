#pragma once
// The arithmetic of the scene index: which frames become the sixteen scene
// pictures, where each picture sits on the 640 x 480 preview sheet, the names
// of the sheet files, and building and cutting sheets. No widgets here.
//
// The index generation asks for frames i = 0, step, 2 step, ... while i <= N
// (N the video's frame count, step = N / 16 rounded half to even, at least 1),
// each as frame min(i, N - 1). The first sixteen frames delivered become
// scenes 0 to 15 in order, each shown with the position i; later ones are not
// needed. When exactly one scene is still missing, the last frame N - 1 fills
// it.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vv {

inline constexpr int SceneCount = 16;
inline constexpr int SheetWidth = 640;
inline constexpr int SheetHeight = 480;
inline constexpr int SceneCellWidth = 160;
inline constexpr int SceneCellHeight = 120;

// A frame count at or above this makes the step too big for 16 bits; the
// index generation then gives up.
inline constexpr std::int64_t PreviewFrameLimit = 524280;

// step = frameCount / sceneCount rounded half to even, at least 1; nothing
// when the step does not fit into 16 bits.
std::optional<std::int16_t> previewStep(std::int64_t frameCount, int sceneCount = SceneCount);

struct PreviewCandidate {
    std::int32_t position;  // i: the position the scene window is given
    std::int32_t frame;     // min(i, N - 1): the frame that is asked for
    bool operator==(const PreviewCandidate&) const = default;
};

// The frames the index generation asks for, in order.
std::vector<PreviewCandidate> previewCandidates(std::int32_t frameCount, std::int16_t step);

struct SceneAssignment {
    int scene;                  // 0 .. sceneCount - 1
    std::size_t candidateIndex; // into the candidate list
    PreviewCandidate candidate;
    bool operator==(const SceneAssignment&) const = default;
};

// Given which candidates were delivered (accepted[j] for candidates[j];
// candidates without an entry count as not delivered), the scenes they fill:
// the first sceneCount delivered ones, in order.
std::vector<SceneAssignment> assignScenes(const std::vector<PreviewCandidate>& candidates,
                                          const std::vector<bool>& accepted,
                                          int sceneCount = SceneCount);

// True when the last frame is to fill the last scene: exactly one missing.
bool lastFrameFillsIn(int scenesFilled, int sceneCount = SceneCount);

// The position LOADpreview gives scene k: k x (DurationFrames / sceneCount
// rounded half to even), within 32 bits.
std::int32_t loadedScenePosition(int scene, std::int32_t durationFrames, int sceneCount = SceneCount);

// Cell k of a sheet made of cells of the given size: column k % 4, row k / 4.
QRect sheetCell(int scene, int cellWidth = SceneCellWidth, int cellHeight = SceneCellHeight);

// The preview sheet's name when it is read: besideMedia(videoPath, "bmp")
// (clip.avi -> clip.bmp, clip.webm -> clip.bmp, film.ts -> filmbmp).
QString previewSheetReadName(const QString& videoPath);
// Its name when it is written: the path without its extension
// (extensionCut), then ".bmp" (the same file but for extensions shorter
// than three letters).
QString previewSheetWriteName(const QString& videoPath);

// The 640 x 480 sheet with scene k scaled smoothly into cell k; a missing
// (null) picture leaves its cell black. Pictures beyond the sixteenth are
// ignored.
QImage buildPreviewSheet(const QList<QImage>& scenes);

// The sixteen cells of a sheet as separate pictures of the cell size, cut at
// the sheet's own pixel size; parts of a cell outside a smaller sheet are
// black.
QList<QImage> cutPreviewSheet(const QImage& sheet, int cellWidth = SceneCellWidth,
                              int cellHeight = SceneCellHeight);

// A packed bitmap (40-byte information header, then 24-bit bottom-up rows
// padded to four bytes) holding the picture: the form in which frames are
// handed to cDIB, and in which a sheet is written as an uncompressed bitmap.
QByteArray packedDibFromImage(const QImage& image);

// The picture held by a 24- or 32-bit uncompressed packed bitmap of
// `available` bytes; a null image when it is none.
QImage imageFromPackedDib(const void* packed, std::size_t available);

} // namespace vv
