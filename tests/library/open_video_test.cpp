// Videos and folders dropped on the main window.

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWindow>

#include "app/main_window.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"

namespace vv::test {
namespace {

class DropTest : public AppFixture {
protected:
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

TEST_F(DropTest, AVideoPlaysAFolderOpensTheListAndAnythingElseChangesNothing)
{
    showMainWindow();
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
        EXPECT_EQ(app->st.VideoDir, dir() + QStringLiteral("Videos/"));
        EXPECT_TRUE(player().fileName().isEmpty());
    }

    drop({local(QStringLiteral("Videos/Sport/run.avi"))});
    EXPECT_EQ(player().fileName(), run);
    EXPECT_EQ(app->st.VideoDir, dir() + QStringLiteral("Videos/"));  // below it: the same playlist
    EXPECT_EQ(app->DATEIMENU().selectedPath(), run);

    drop({local(QStringLiteral("Other"))});
    EXPECT_EQ(app->st.VideoDir, dir() + QStringLiteral("Other/"));
    EXPECT_TRUE(app->DATEIMENU().isVisible());
    EXPECT_EQ(app->DATEIMENU().found().names(), QStringList{QStringLiteral("a")});
    EXPECT_EQ(player().fileName(), run);
}

} // namespace
} // namespace vv::test
