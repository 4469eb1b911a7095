#pragma once
// A video's preview sheet made and written away from the windows: safe on
// any thread, for the sheets made in the background. The scene windows and
// the scene picture files of the loaded video are left alone.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace vv {

struct MadeSheet {
    enum class Outcome { Written, NotWritten, NoPicture };
    Outcome outcome = Outcome::NoPicture;
    QImage sheet;   // the sheet, when there was a picture (kept when it could not be written)
    QString error;  // why it could not be written
};

struct SceneGrab;

// The pictures of a grab's scenes by scene number (a null image where a scene
// is missing).
QList<QImage> scenePictures(const SceneGrab& grab);
// The same, each also written as the bitmap file folder + "k.bmp" for scene k,
// all in one batch; a file that cannot be written is left out.
QList<QImage> writeSceneFiles(const SceneGrab& grab, const QString& folder);

// The sheet as an uncompressed 24-bit bitmap file.
QByteArray sheetFileBytes(const QImage& sheet);

// Grabs the sixteen scenes of the video and writes the sheet beside it
// atomically. workers: as for grabFrames (1 keeps to the calling thread). No
// picture at all (a video that cannot be opened): nothing is written.
MadeSheet makeSheetFile(const QString& videoPath, int workers = 1);

} // namespace vv
