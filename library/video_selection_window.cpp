#include "library/video_selection_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "app/app.h"
#include "app/atomic_file.h"
#include "app/look.h"
#include "app/twips.h"
#include "control/key_dispatcher.h"
#include "index/preview.h"
#include "index/preview_rules.h"
#include "library/fast_scroll.h"
#include "library/media_scan.h"
#include "script/overlays.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv {

namespace {

QWidget* bar(QWidget* parent, const QColor& colour, const QString& toolTip)
{
    auto* w = new QWidget(parent);
    setColours(w, colour);
    w->setToolTip(toolTip);
    return w;
}

QString titlePictureName(const QString& path)
{
    return path.left(std::max<qsizetype>(0, path.size() - extensionCut(path))) + QStringLiteral("-p.bmp");
}

} // namespace

VideoSelectionWindow::VideoSelectionWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, LightGrey);

    ArchivPicture = new QLabel(this);
    ArchivPicture->setScaledContents(true);
    setGeometryTw(ArchivPicture, -75, 75, 8970, 6420);

    lstFoundFiles2 = new FoundListBox(this);
    setGeometryTw(lstFoundFiles2, 2100, 1590, 4875, 3270);
    lstFoundFiles2->setFont(designFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    QPalette listPal = lstFoundFiles2->palette();
    listPal.setColor(QPalette::Base, Qt::black);
    listPal.setColor(QPalette::Text, Qt::white);
    lstFoundFiles2->setPalette(listPal);
    lstFoundFiles2->setToolTip(QStringLiteral("Videoauswahliste - Start durch Doppelklick!"));
    lstFoundFiles2->installEventFilter(this);
    connect(lstFoundFiles2, &FoundListBox::selected, this, &VideoSelectionWindow::selectionChanged);
    connect(lstFoundFiles2, &QListWidget::itemDoubleClicked, this, [this] { doubleClicked(); });

    const QString barTip = QStringLiteral("Schnelles Scrollen in Videoliste (Maustaste runter)!");
    SliderPicture = bar(this, LightGrey, barTip);
    setGeometryTw(SliderPicture, 60, 6450, 8880, 330);
    Slider = bar(SliderPicture, QColor(0x40, 0x40, 0x40), barTip);
    setGeometryTw(Slider, 0, 0, 1380, 420);
    for (QWidget* w : {SliderPicture, Slider}) {
        w->setFocusPolicy(Qt::ClickFocus);
        w->installEventFilter(this);
    }

    SheetProgress = new QProgressBar(this);
    setGeometryTw(SheetProgress, 2100, 4935, 4875, 300);
    SheetProgress->setFormat(QStringLiteral("%v of %m sheets"));
    SheetProgress->setAlignment(Qt::AlignCenter);
    SheetProgress->hide();
    connect(&sheets_, &SheetMaker::made, this, &VideoSelectionWindow::sheetMade);
    playWatch_.setInterval(100);
    connect(&playWatch_, &QTimer::timeout, this, &VideoSelectionWindow::watchPlayback);

    setGeometryTw(this, 0, 0, 8970, 6810);
    hide();
}

void VideoSelectionWindow::SCANMEDIA(const QString& StartPath)
{
    // The scan lets window events run once per directory; a scan asked for
    // meanwhile would empty the lists under the running one.
    if (searchflag)
        return;
    searchflag = true;
    lstFoundFiles2->scan(app_, StartPath, VideoPatterns, static_cast<int>(app_.st.VideoDir.size()));
    searchflag = false;
    if (!app_.makeListSheets)
        return;
    QStringList missing;
    for (int i = 0; i < found().count(); ++i) {
        const QString path = found().pathAt(i);
        if (!hasPreviewSheet(app_, path))
            missing << path;
    }
    watchPlayback();
    sheets_.setList(missing);
    showProgress();
}

void VideoSelectionWindow::INITIALIZE(const QString& StartPath)
{
    HIDEall(app_);
    app_.InfoDisplay().INITIALIZE(QStringLiteral("SELECT VIDEO..."), -1);
    if (StartPath != app_.st.VideoDir || found().isEmpty())
        SCANMEDIA(StartPath);
    if (!found().isEmpty()) {
        const QString path = lstFoundFiles2->selectedPath();
        if (!path.isEmpty() && FileExists(titlePictureName(path)))
            showPicture(titlePictureName(path));
    }
    PlayerWindow& player = app_.Player();
    if (player.width() < 640)
        resize(player.width(), player.height());
    moveTw(this, (player.widthTw() - widthTw(this)) / 2.0, (player.heightTw() - heightTw(this)) / 2.0);
    show();
    raise();
    lstFoundFiles2->setFocus(Qt::OtherFocusReason);
    app_.st.ActiveMode = 3;
}

void VideoSelectionWindow::selectionChanged(int index)
{
    if (index < 0 || index >= found().count())
        return;
    setGeometryTw(Slider, 0, 0, fastScrollFill(index, found().count(), widthTw(SliderPicture)), heightTw(Slider));
    const QString path = found().pathAt(index);
    if (showSheet(path))
        return;
    // The sheet is made away from the window and shown when it is written;
    // until then the picture is black, not the sheet of the entry before.
    showBlack();
    sheets_.prefer(path);
}

void VideoSelectionWindow::sheetMade(const QString& video, const MadeSheet& sheet)
{
    if (sheet.outcome == MadeSheet::Outcome::NotWritten)
        keepUnsavedSheet(app_, previewSheetWriteName(video), sheet.sheet);
    if (video == selectedPath() && !showSheet(video))
        showBlack();
    showProgress();
}

void VideoSelectionWindow::showProgress()
{
    const bool busy = sheets_.busy();
    SheetProgress->setVisible(busy);
    if (!busy) {
        playWatch_.stop();
        return;
    }
    SheetProgress->setRange(0, sheets_.total());
    SheetProgress->setValue(sheets_.done());
    if (!playWatch_.isActive())
        playWatch_.start();
}

void VideoSelectionWindow::watchPlayback()
{
    sheets_.setVideoPlaying(app_.video().playState() == MediaPlayer::Playing);
}

void VideoSelectionWindow::loadVideo(const QString& path)
{
    sheets_.claim(path);
    showProgress();
    app_.st.CurrentVideo = path;
    INITIALIZEvideo(app_, path, 0);
}

bool VideoSelectionWindow::showPicture(const QString& file)
{
    QPixmap pm;
    if (!pm.load(file))
        return false;
    ArchivPicture->setPixmap(pm);
    shownPicture_ = file;
    return true;
}

bool VideoSelectionWindow::showSheet(const QString& path)
{
    const QImage sheet = previewSheet(app_, path);
    if (sheet.isNull())
        return false;
    ArchivPicture->setPixmap(QPixmap::fromImage(sheet));
    shownPicture_ = previewSheetName(path);
    return true;
}

void VideoSelectionWindow::showBlack()
{
    QPixmap black(ArchivPicture->size());
    black.fill(Qt::black);
    ArchivPicture->setPixmap(black);
    shownPicture_.clear();
}

void VideoSelectionWindow::SHOWarchivPicture(const QString& path)
{
    const QString file = previewSheetName(path);
    if (FileExists(file))
        showPicture(file);
}

void VideoSelectionWindow::doubleClicked()
{
    const QString path = lstFoundFiles2->selectedPath();
    if (path.isEmpty())
        return;
    if (path == app_.st.CurrentVideo) {
        GOTOposition(app_, 0);
        HIDEall(app_);
        return;
    }
    HIDEall(app_);
    loadVideo(path);
}

void VideoSelectionWindow::enterPressed()
{
    const QString path = lstFoundFiles2->selectedPath();
    if (path.isEmpty())
        return;
    app_.st.CurrentVideo = path;
    hide();
    // The window was the overlay that was up (it closed all others when it
    // opened): with it hidden none is, and the next Esc opens it again.
    if (app_.st.ActiveMode == 3)
        app_.st.ActiveMode = 0;
    app_.Player().show();
    loadVideo(path);
}

void VideoSelectionWindow::LOADcurrentSELECTEDvideo()
{
    const std::int32_t index = app_.st.sliderindex;
    if (index < 0 || index >= found().count())
        return;
    HIDEall(app_);
    loadVideo(found().pathAt(index));
    lstFoundFiles2->select(index);
}

void VideoSelectionWindow::barPressed(double x)
{
    if (found().isEmpty())
        return;
    slidermouse_ = true;
    setGeometryTw(Slider, 0, 0, fastScrollDragWidth(x), heightTw(Slider));
}

void VideoSelectionWindow::barMoved(double x)
{
    if (!slidermouse_)
        return;
    setGeometryTw(Slider, 0, 0, fastScrollDragWidth(x), heightTw(Slider));
    Slider->repaint();
    const std::int32_t index = fastScrollIndex(found().count(), widthTw(SliderPicture), x);
    if (index < 0 || index == app_.st.sliderindex)
        return;
    app_.st.sliderindex = index;
    const QString path = found().pathAt(index);
    setWindowTitle(path);
    lstFoundFiles2->select(index);
    SHOWarchivPicture(path);
}

bool VideoSelectionWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool onBar = watched == SliderPicture || watched == Slider;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        KEYcommand(app_, *key);
        if (watched == lstFoundFiles2 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            enterPressed();
            return true;
        }
        // The bar has no keys of its own; a key it left unhandled would
        // reach the key map a second time through its parent.
        if (onBar)
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
        if (onBar && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            barPressed(tw(1) * static_cast<QMouseEvent*>(event)->position().x());
            return false;
        }
        break;
    case QEvent::MouseMove:
        if (onBar) {
            barMoved(tw(1) * static_cast<QMouseEvent*>(event)->position().x());
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (onBar)
            slidermouse_ = false;
        break;
    case QEvent::MouseButtonDblClick:
        if (onBar) {
            LOADcurrentSELECTEDvideo();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void VideoSelectionWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int barHeight = SliderPicture->height();
    ArchivPicture->setGeometry(0, 0, width(), height() - barHeight);
    SliderPicture->setGeometry(0, height() - barHeight, width(), barHeight);
    lstFoundFiles2->move((ArchivPicture->width() - lstFoundFiles2->width()) / 2,
                         (ArchivPicture->height() - lstFoundFiles2->height()) / 2);
}

} // namespace vv
