// The scene index of a video on real clips: grabbing the sixteen scene
// pictures into the windows, the scene files and the sheet, cutting the
// sheet on the next load, and what may happen while a grab lets window
// events run. The player is the fake; the frames come from the files. Then
// the scene windows themselves: their time labels on narrow and wide main
// windows, the red mark, a click that jumps, keys, and the SELECT INDEX grid.

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/numbers.h"
#include "app/twips.h"
#include "control/transport.h"
#include "index/preview.h"
#include "index/preview_rules.h"
#include "index/scene_window.h"
#include "script/index_grid_layout.h"
#include "script/overlays.h"
#include "tests/index/scene_clips.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv::test {
namespace {

class PreviewTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        for (int k = 0; k < App::SceneWindowSlots; ++k)
            app->FormImage(k);  // created, as start-up creates them
    }

    // Copies a clip beside the others and makes the fake player know it.
    QString clip(const QString& name, int frames, const QString& as = QString())
    {
        const QString path = copyClip(name, dir(), as);
        catalogue[path] = FakeMedia{frames, frames / 25.0, 25.0};
        return path;
    }
    SceneWindow& scene(int k) { return app->FormImage(k); }
    // Fills every window with a plain picture of one colour.
    void paintScenes(QColor colour)
    {
        QImage picture(160, 120, QImage::Format_RGB32);
        picture.fill(colour);
        for (int k = 0; k < 16; ++k)
            scene(k).setPicture(picture);
    }
    // f(k) for the sixteen scenes.
    template <typename F>
    static std::vector<int> each(F f)
    {
        std::vector<int> out;
        for (int k = 0; k < 16; ++k)
            out.push_back(f(k));
        return out;
    }
    static std::vector<int> sheetFrames(const QString& sheet)
    {
        const QList<QImage> cells = cutPreviewSheet(QImage(sheet));
        return each([&](int k) { return frameNumberOf(cells[k]); });
    }
    std::vector<int> positions()
    {
        return each([this](int k) { return static_cast<int>(leadingNumber(scene(k).Image1->toolTip())); });
    }
    static std::vector<int> multiples(int step) { return each([step](int k) { return step * k; }); }
};

// Videos that cannot be indexed fail silently and leave everything as it
// was; grabbed scenes show their frames in the windows, the scene files and
// the sheet, and the next load cuts the sheet once.
TEST_F(PreviewTest, UnindexableVideosChangeNothingGrabbedScenesShowTheirFramesEverywhereAndTheNextLoadCutsOnce)
{
    paintScenes(Qt::green);
    // A garbage file, an empty one, a missing one, a sound without a picture.
    const QString garbage = clip(QStringLiteral("garbage.avi"), 250), tone = clip(QStringLiteral("tone.wav"), 250);
    const QString empty = writeFile(QStringLiteral("empty.avi"), QByteArray());
    for (const QString& video : {garbage, empty, dir() + QStringLiteral("missing.avi"), tone}) {
        app->st.LoadedVideo = video;
        MAKEpreview(*app, video);
        EXPECT_FALSE(QFileInfo::exists(previewSheetWriteName(video))) << video.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(app->st.ProgramDir + QStringLiteral("0.bmp")));
    EXPECT_EQ(scene(5).picture().pixelColor(10, 10), QColor(Qt::green));
    EXPECT_FALSE(services.waitCursorShown);

    const std::tuple<const char*, int, int, int> cases[] = {
        // clip, frames, scenes the grab fills, width
        {"odd-width.avi", 100, 16, 318},  // step 6: 0 .. 90
        {"eight.avi", 8, 9, 320},         // step 1: 0 .. 8, position 8 shows frame 7; the other windows keep theirs
    };
    for (const auto& [name, frames, scenes, width] : cases) {
        SCOPED_TRACE(name);
        paintScenes(Qt::blue);
        const QString video = clip(QString::fromLatin1(name), frames);
        INITIALIZEvideo(*app, video, 0);
        const QImage sheet(previewSheetWriteName(video));
        const std::vector<int> cells = sheetFrames(previewSheetWriteName(video));
        const int step = *previewStep(frames);
        const std::vector<int> grabbed = positions();
        for (int k = 0; k < 16; ++k) {
            SCOPED_TRACE(k);
            if (k >= scenes) {
                EXPECT_EQ(scene(k).picture().pixelColor(80, 60), QColor(Qt::blue));
                EXPECT_EQ(sheet.pixelColor(sheetCell(k).center()), QColor(Qt::blue));
                continue;
            }
            const QImage file(app->st.ProgramDir + QString::number(k) + ".bmp");
            EXPECT_EQ(grabbed[k], k * step);
            EXPECT_EQ((std::vector{frameNumberOf(scene(k).picture()), frameNumberOf(file), cells[k]}),
                      std::vector<int>(3, std::min(k * step, frames - 1)));
            EXPECT_EQ(file.size(), QSize(width, 240));  // the video's own frame size
        }
        // Cut from the sheet on the next load, the scenes keep their positions.
        app->st.LastLoadedSheet.clear();
        INITIALIZEvideo(*app, video, 0);
        ASSERT_EQ(app->st.LastLoadedSheet, previewSheetReadName(video));
        const std::vector<int> cut = positions();
        EXPECT_EQ(std::vector(cut.begin(), cut.begin() + scenes), std::vector(grabbed.begin(), grabbed.begin() + scenes));
    }

    // An unreadable sheet is made anew; the next load cuts it (once), and cut
    // and saved again it stays the same; after another video's grab it is cut again.
    const QString a = clip(QStringLiteral("open-gop.avi"), 250, QStringLiteral("a.avi"));
    const QString sheet = writeFile(QStringLiteral("a.bmp"), QByteArray("BM this is no bitmap"));
    INITIALIZEvideo(*app, a, 0);
    const QImage made = QImage(sheet).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(made.size(), QSize(640, 480));
    INITIALIZEvideo(*app, dir() + QStringLiteral("eight.avi"), 0);
    INITIALIZEvideo(*app, a, 0);
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING ")));
    EXPECT_EQ(app->st.LastLoadedSheet, sheet);
    SAVEpreview(*app, a);
    EXPECT_EQ(QImage(sheet).convertToFormat(QImage::Format_RGB32), made);
    EXPECT_EQ(readFile(sheet).size(), 54 + 640 * 3 * 480);  // an uncompressed 24-bit bitmap file
    paintScenes(Qt::red);  // the windows hold a.bmp's cells already: nothing is cut again
    LOADpreview(*app, a);
    EXPECT_EQ(scene(4).picture().pixelColor(5, 5), QColor(Qt::red));
    ASSERT_TRUE(QFile::remove(dir() + QStringLiteral("odd-width.bmp")));
    INITIALIZEvideo(*app, dir() + QStringLiteral("odd-width.avi"), 0);
    EXPECT_EQ(frameNumberOf(scene(1).picture()), 6);
    INITIALIZEvideo(*app, a, 0);
    EXPECT_EQ(frameNumberOf(scene(4).picture()), 64);
    EXPECT_TRUE(services.boxes.empty());
}

// A grab long enough for window events to run while it waits: the windows
// show its progress, the same video asked for again returns at once, and a
// video loaded meanwhile (the video list makes the long video's sheet) keeps
// its own scenes in the windows.
TEST_F(PreviewTest, WindowsRunDuringALongGrabAndAVideoLoadedMeanwhileKeepsItsOwnScenes)
{
    const QString long_ = longClip(dir() + QStringLiteral("long.avi"));
    catalogue[long_] = FakeMedia{4000, 160.0, 25.0};
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT VIDEO..."), -1);
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { seen << infoText(); });
    watch.start(10);
    bool nestedReturned = false;
    QTimer::singleShot(0, [&] {
        MAKEpreview(*app, long_);
        nestedReturned = true;
    });
    MAKEpreview(*app, long_);
    watch.stop();
    EXPECT_TRUE(nestedReturned);
    EXPECT_TRUE(!seen.isEmpty() && seen.first().startsWith(QStringLiteral("INDEXING")));
    // The information display gets back its text; the wait cursor came once and went.
    EXPECT_EQ(infoText(), QStringLiteral("SELECT VIDEO..."));
    EXPECT_TRUE(app->st.InfoDisplayCountdown == -1 && !app->InfoDisplay().isHidden());
    EXPECT_TRUE(services.waitCursorOn == 1 && !services.waitCursorShown);
    EXPECT_EQ(sheetFrames(previewSheetWriteName(long_)), multiples(250));

    const QString other = clip(QStringLiteral("open-gop.avi"), 250);
    bool loaded = false;
    QTimer::singleShot(0, [&] {
        INITIALIZEvideo(*app, other, 0);
        loaded = true;
    });
    MAKEpreview(*app, long_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(each([this](int k) { return frameNumberOf(scene(k).picture()); }), multiples(16));
    EXPECT_EQ(sheetFrames(previewSheetWriteName(other)), multiples(16));
}

TEST_F(PreviewTest, TheSceneWindowsTimeLabelMarkAndIndexGrid)
{
    // A 1000-frame video on the fake player, its scenes every 62nd frame.
    INITIALIZEvideo(*app, addVideo(QStringLiteral("clip.avi"), 1000, 40.0, 25.0), 0);
    for (int k = 0; k < 16; ++k)
        scene(k).INITIALIZEquick(k * 62);
    const QString bitmap = dir() + QStringLiteral("scene.bmp");
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(bitmap, "BMP"));
    SceneWindow& w = scene(3);
    // At a main window 800 pixels wide the label shows after a load, not after a mark.
    app->MDI().setWidthTw(tw(800));
    w.INITIALIZE(bitmap, 930);
    EXPECT_EQ(w.picture().size(), QSize(320, 240));
    // The whole time code shows, inside the window.
    EXPECT_GE(w.LabelTime->width(), w.LabelTime->sizeHint().width());
    EXPECT_LE(w.LabelTime->width(), 101);
    EXPECT_FALSE(w.LabelTime->isHidden());
    // Marking another window hides this one's label; marking this one keeps
    // the time code current while it was hidden.
    w.INITIALIZEquick(124);
    scene(5).MarkMe();
    w.MarkMe();
    EXPECT_EQ(w.LabelTime->text(), QStringLiteral("00:00:04-24"));
    EXPECT_TRUE(w.LabelTime->isHidden() && scene(5).Shape1->isHidden());
    app->MDI().setWidthTw(tw(768));

    // The grid shows the scenes over the video and the mouse marks them (once);
    // a click on picture or time jumps there and closes the overlays, except in
    // display mode 4; keys go to the key map.
    SELECTindex(*app);
    EXPECT_EQ(infoText(), QStringLiteral("SELECT INDEX"));
    const PlayerWindow& p = app->Player();
    const QRect cell = indexGridCells(QRect(p.leftTw(), p.topTw(), p.widthTw(), p.heightTw()), 16)[6];
    EXPECT_EQ(scene(6).geometry(), QRect(px(cell.left()), px(cell.top()), px(cell.width()), px(cell.height())));

    // The mouse marks the scene under it.
    QTest::mouseMove(scene(6).Image1, QPoint(20, 20));
    QTest::mouseMove(scene(7).Image1, QPoint(20, 20));
    EXPECT_TRUE(app->st.SelectedScene == 7 && !scene(7).Shape1->isHidden() && scene(6).Shape1->isHidden());

    QTest::mouseClick(scene(15).Image1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(player().framePosition(), 930);
    EXPECT_TRUE(app->st.ActiveMode == 0 && scene(15).isHidden() && app->InfoDisplay().isHidden());

    SELECTindex(*app);
    QTest::mouseClick(scene(2).LabelTime, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(player().framePosition(), 124);

    SHOWindexgrid(*app);
    app->st.ActiveMode = 4;
    QTest::mouseClick(scene(1).Image1, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(player().framePosition(), 62);
    EXPECT_TRUE(!scene(1).isHidden() && app->st.ActiveMode == 4);

    player().setFramePosition(100);
    QTest::keyClick(&scene(1), Qt::Key_F);  // keys go to the key map
    EXPECT_EQ(player().framePosition(), 850);
}

} // namespace
} // namespace vv::test
