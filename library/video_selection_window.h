#pragma once
// The video selection window: the sorted list of found videos over a picture
// that shows the title picture or the preview sheet of the selected video,
// and a fast-scroll bar along the bottom edge. A double-click, Enter or a
// double-click on the bar loads the video.

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include "library/found_list_box.h"
#include "library/sheet_maker.h"

namespace vv {

class App;

class VideoSelectionWindow : public QWidget {
    Q_OBJECT
public:
    VideoSelectionWindow(App& app, QWidget* parent);

    // Opens the window for a start directory (scanning it when it is not the
    // video directory or nothing has been found yet).
    void INITIALIZE(const QString& StartPath);
    // Searches StartPath and everything below it for videos.
    void SCANMEDIA(const QString& StartPath);
    // Loads the video that the fast-scroll bar reached last.
    void LOADcurrentSELECTEDvideo();
    // True while a scan runs.
    bool searchflag = false;
    // True while the mouse button is down on the fast-scroll bar.
    bool slidermouse() const { return slidermouse_; }

    // The path list (full paths in the order found) and the display list.
    const FoundMedia& found() const { return lstFoundFiles2->found(); }
    const QStringList& lstFoundFiles() const { return found().paths(); }
    FoundListBox* lstFoundFiles2;
    // Full path of the selected display entry, "" when none is selected.
    QString selectedPath() const { return lstFoundFiles2->selectedPath(); }
    // Selects display entry i (runs the selection behaviour).
    void select(int i) { lstFoundFiles2->select(i); }

    QLabel* ArchivPicture;
    QWidget* SliderPicture;
    QWidget* Slider;
    // The file whose picture ArchivPicture shows ("" when none).
    QString shownPicture() const { return shownPicture_; }
    // "n of m sheets" while the list's missing sheets are made.
    QProgressBar* SheetProgress;
    // Makes the missing sheets away from the window.
    SheetMaker& sheets() { return sheets_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged(int index);
    void doubleClicked();
    void enterPressed();
    void SHOWarchivPicture(const QString& path);
    bool showPicture(const QString& file);
    // The video's preview sheet (from memory or its file); false when none.
    bool showSheet(const QString& path);
    void showBlack();
    void barPressed(double x);
    void barMoved(double x);
    void sheetMade(const QString& video, const MadeSheet& sheet);
    void showProgress();
    void watchPlayback();
    // The video is about to be loaded: its sheet is the loading's to make.
    void loadVideo(const QString& path);

    App& app_;
    bool slidermouse_ = false;
    QString shownPicture_;
    SheetMaker sheets_;
    // While the sheets are made: tells the maker whether a video plays.
    QTimer playWatch_;
};

} // namespace vv
