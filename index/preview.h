#pragma once
// The scene index of a video: sixteen scene pictures and the preview sheet.

#include <QImage>
#include <QString>

namespace vv {

class App;

// Grabs the sixteen scene pictures from the video and writes the preview sheet.
void MAKEpreview(App& app, const QString& path);
// Paints the sixteen scene pictures into the preview sheet and saves it.
void SAVEpreview(App& app, const QString& path);
// The video's preview sheet: the one kept in memory because it could not be
// written, else the file's; a null image when there is neither.
QImage previewSheet(const App& app, const QString& path);
// A sheet that could not be written into its file: kept in memory for the
// rest of the run; the first such failure in a folder is shown.
void keepUnsavedSheet(App& app, const QString& file, const QImage& sheet);
// True when the video has a preview sheet, in memory or as a file (nothing
// is read).
bool hasPreviewSheet(const App& app, const QString& path);
// Cuts the preview sheet of the video into the sixteen scene windows.
void LOADpreview(App& app, const QString& path);

} // namespace vv
