// The video selection window driven like a user drives it: keys in the
// list, double clicks, Enter, the fast-scroll bar under the mouse; and
// videos and folders dropped on the main window.

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "app/main_window.h"
#include "app/twips.h"
#include "control/transport.h"
#include "index/preview_rules.h"
#include "index/scene_window.h"
#include "library/fast_scroll.h"
#include "library/video_selection_window.h"
#include "tests/index/scene_clips.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"

namespace vv::test {
namespace {

class VideoSelectionWindowTest : public AppFixture {
protected:
    void SetUp() override { showMainWindow(); }

    VideoSelectionWindow& list() { return app->DATEIMENU(); }
    QListWidget* entries() { return list().lstFoundFiles2; }

    // Videos with a preview sheet of its own colour beside each; their paths.
    QStringList videosWithSheets(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            paths << addVideo(name);
            QImage sheet(640, 480, QImage::Format_RGB32);
            sheet.fill(QColor::fromHsv(static_cast<int>(paths.size()) * 60, 255, 255));
            sheet.save(previewSheetName(paths.last()), "BMP");
        }
        return paths;
    }

    void open() { VIDEOLISTswitch(*app, app->st.VideoDir); }

    // A mouse move over the bar with the left button held down.
    void dragTo(QWidget* bar, double x)
    {
        const QPointF at(x, 5);
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
    }
    // The video was loaded once, and the window closed.
    void expectLoaded(const QString& video)
    {
        EXPECT_EQ((QStringList{app->st.LoadedVideo, app->st.CurrentVideo}), (QStringList{video, video}));
        EXPECT_TRUE(player().opened.count(video) == 1 && list().isHidden() && app->st.ActiveMode == 0);
    }
    // The picture shown is black.
    bool showsBlack()
    {
        const QImage p = list().ArchivPicture->pixmap().toImage();
        return !p.isNull() && p.pixelColor(0, 0) == Qt::black &&
               p.pixelColor(p.width() - 1, p.height() - 1) == Qt::black;
    }
    // Waits until the sheet of the video is through in the background.
    bool madeMeanwhile(QSignalSpy& made, const QString& video)
    {
        return QTest::qWaitFor([&] {
            return std::any_of(made.cbegin(), made.cend(), [&](const QList<QVariant>& m) { return m[0] == video; });
        }, 20000);
    }
    // A drop in the middle of the window, over the picture, as the window
    // system hands it to the program.
    void drop(const QList<QUrl>& urls)
    {
        QMimeData mime;
        mime.setUrls(urls);
        QWindow* window = app->MDI().windowHandle();
        ASSERT_NE(window, nullptr);
        const QPoint middle(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(middle), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
        QCoreApplication::processEvents();
    }
    QUrl local(const QString& relative) { return QUrl::fromLocalFile(dir() + relative); }
};

TEST_F(VideoSelectionWindowTest, OpeningScansOnlyForAnotherDirectoryKeysShowSheetsEnterClicksAndTheBarLoad)
{
    const QStringList videos = videosWithSheets({"a.avi", "b.avi", "Sub/c.avi"});
    ASSERT_TRUE(QFile::copy(previewSheetName(videos[0]), dir() + QStringLiteral("b-p.bmp")));
    open();
    EXPECT_EQ(app->st.ActiveMode, 3);
    EXPECT_EQ(infoText(), QStringLiteral("SELECT VIDEO..."));
    ASSERT_EQ(entries()->count(), 3);
    EXPECT_EQ(entries()->item(2)->text(), QStringLiteral("Sub/c"));
    for (const auto& [key, row] : {std::pair{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}}) {
        QTest::keyClick(entries(), key);
        ASSERT_EQ(entries()->currentRow(), row);
        EXPECT_EQ(list().shownPicture(), previewSheetName(videos[row]));
    }
    EXPECT_EQ(list().Slider->width(), px(fastScrollFill(1, 3, widthTw(list().SliderPicture))));

    // A video added later is not seen while the list is filled (the second
    // call closes the list); reopened on b, its title picture shows.
    addVideo(QStringLiteral("d.avi"));
    open();
    open();
    EXPECT_EQ(entries()->count(), 3);
    EXPECT_EQ(list().shownPicture(), dir() + QStringLiteral("b-p.bmp"));
    // Enter loads the selected video; a double click on the loaded one sends
    // it back to its start.
    QTest::keyClick(entries(), Qt::Key_Return);
    expectLoaded(videos[1]);
    player().setFramePosition(120);
    open();
    // The first click selects, the second press is the double click.
    const QPoint b = entries()->visualItemRect(entries()->item(1)).center();
    QTest::mouseClick(entries()->viewport(), Qt::LeftButton, {}, b);
    QTest::mouseDClick(entries()->viewport(), Qt::LeftButton, {}, b);
    expectLoaded(videos[1]);
    EXPECT_EQ(player().framePosition(), 0);
    // On the bar the index follows the mouse only while the button is held;
    // a double click on it loads where the drag ended.
    open();
    QWidget* bar = list().SliderPicture;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(0, 5));
    dragTo(bar, bar->width());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width(), 5));
    dragTo(bar, 0);
    entries()->setCurrentRow(0);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(0, 5));
    expectLoaded(videos[2]);

    // Another start directory is always scanned.
    addVideo(QStringLiteral("cd/x.avi"));
    list().INITIALIZE(dir() + QStringLiteral("cd"));
    EXPECT_EQ(list().selectedPath(), dir() + QStringLiteral("cd/x.avi"));
}

// A missing sheet is made away from the list, which answers at once: the
// picture is black until the sheet is written, then shows it. Moving on
// meanwhile makes the sheet of where the user stops. A sheet that cannot be
// written is said once per folder and shown from memory without grabbing
// again; a video that cannot be opened shows black, not the sheet of the
// entry before. Loading the video being made waits for that sheet instead
// of grabbing it a second time.
TEST_F(VideoSelectionWindowTest, MissingSheetsAreMadeWhileTheListAnswersUnwritableOnesAreKeptUnreadableVideosShowBlack)
{
    videosWithSheets({"a.avi"});
    const QString b = longClip(dir() + QStringLiteral("b.avi"));
    catalogue[b] = FakeMedia{};
    const QString c = copyClip(QStringLiteral("odd-width.avi"), dir(), QStringLiteral("c.avi"));
    writeFile(QStringLiteral("junk.avi"), QByteArray(4096, '\x5a'));
    for (const QString& name : {QStringLiteral("real"), QStringLiteral("real2")}) {
        copyClip(QStringLiteral("odd-width.avi"), dir(), name + QStringLiteral(".avi"));
        ASSERT_TRUE(QDir(dir()).mkdir(name + QStringLiteral(".bmp")));  // the sheet's name is taken
    }
    open();
    ASSERT_EQ(entries()->count(), 6);
    QSignalSpy made(&list().sheets(), &SheetMaker::made);

    QTest::keyClick(entries(), Qt::Key_Down);
    EXPECT_TRUE(showsBlack());
    ASSERT_TRUE(QTest::qWaitFor([&] { return list().sheets().isMaking(b); }));
    QTest::keyClick(entries(), Qt::Key_Down);
    QTest::keyClick(entries(), Qt::Key_Up);
    QTest::keyClick(entries(), Qt::Key_Down);
    ASSERT_TRUE(madeMeanwhile(made, c));
    EXPECT_EQ(list().shownPicture(), dir() + QStringLiteral("c.bmp"));
    EXPECT_EQ(frameNumberOf(cutPreviewSheet(QImage(list().shownPicture()))[5]), 30);

    struct Step {
        int row;
        const char* shown;  // "" for black
        const char* info;
        int grabs;          // sheets made up to here
    } const steps[] = {
        {3, "", "-", 3}, {4, "real.bmp", "PREVIEW CANNOT BE SAVED!", 4}, {5, "real2.bmp", "-", 5}, {4, "real.bmp", "-", 5},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.row);
        app->InfoDisplay().INITIALIZE(QStringLiteral("-"), 2);
        entries()->setCurrentRow(step.row);
        if (list().shownPicture().isEmpty()) {
            ASSERT_TRUE(madeMeanwhile(made, list().selectedPath()));
        }
        EXPECT_EQ(list().shownPicture(), *step.shown ? dir() + QLatin1String(step.shown) : QString());
        EXPECT_EQ(showsBlack(), !*step.shown);
        EXPECT_EQ(infoText(), QString::fromLatin1(step.info));
        EXPECT_EQ(made.count(), step.grabs);
    }

    // b again, without its sheet: Enter while it is being made.
    ASSERT_TRUE(QFile::remove(dir() + QStringLiteral("b.bmp")));
    entries()->setCurrentRow(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list().sheets().isMaking(b); }));
    QTest::keyClick(entries(), Qt::Key_Return);
    EXPECT_EQ(app->st.LoadedVideo, b);
    EXPECT_EQ(app->st.LastLoadedSheet, dir() + QStringLiteral("b.bmp"));  // cut, not grabbed again
    // The scene windows hold the loaded video's pictures, not c's.
    EXPECT_EQ(frameNumberOf(app->FormImage(0).picture()), 0);
}

// Videos and folders dropped on the main window.
TEST_F(VideoSelectionWindowTest, AVideoPlaysAFolderOpensTheListAndAnythingElseChangesNothing)
{
    const QString run = addVideo(QStringLiteral("Videos/Sport/run.avi"));
    addVideo(QStringLiteral("Other/a.avi"));
    writeFile(QStringLiteral("notes.txt"), "x");
    app->st.VideoDir = dir() + QStringLiteral("Videos/");

    const QList<QUrl> refused[] = {
        {local(QStringLiteral("notes.txt"))},
        {local(QStringLiteral("missing.avi"))},
        {local(QStringLiteral("Other")), local(QStringLiteral("Videos"))},
        {QUrl(QStringLiteral("https://example.org/clip.avi"))},
        {},
    };
    for (const QList<QUrl>& urls : refused) {
        app->InfoDisplay().INITIALIZE(QString(), 2);
        drop(urls);
        EXPECT_EQ(infoText(), QStringLiteral("DROP ONE VIDEO OR ONE FOLDER!"));
        EXPECT_TRUE(app->st.VideoDir == dir() + QStringLiteral("Videos/") && player().fileName().isEmpty());
    }

    drop({local(QStringLiteral("Videos/Sport/run.avi"))});
    // Below the video directory: the same playlist.
    EXPECT_EQ((QStringList{player().fileName(), app->DATEIMENU().selectedPath(), app->st.VideoDir}),
              (QStringList{run, run, dir() + QStringLiteral("Videos/")}));

    drop({local(QStringLiteral("Other"))});
    EXPECT_EQ(app->st.VideoDir, dir() + QStringLiteral("Other/"));
    EXPECT_TRUE(app->DATEIMENU().isVisible() && player().fileName() == run);
    EXPECT_EQ(app->DATEIMENU().found().names(), QStringList{QStringLiteral("a")});
}

} // namespace
} // namespace vv::test
