// The scene index of a video on real clips: grabbing the sixteen scene
// pictures into the windows, the scene files and the sheet, cutting the
// sheet on the next load, and what may happen while a grab lets window
// events run. The player is the fake; the frames come from the files.

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "app/numbers.h"
#include "index/preview.h"
#include "index/preview_rules.h"
#include "index/scene_window.h"
#include "tests/index/scene_clips.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/timecode.h"

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

TEST_F(PreviewTest, GrabbedScenesShowTheirFramesInWindowsFilesAndSheetAndKeepTheirPositionsWhenCut)
{
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
            EXPECT_EQ(scene(k).LabelTime->text(), FORMATtimecode(k * step, 25));
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
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(PreviewTest, VideosThatCannotBeIndexedFailSilentlyAndLeaveEverythingAsItWas)
{
    paintScenes(Qt::green);
    const QString garbage = clip(QStringLiteral("garbage.avi"), 250);
    const QString empty = writeFile(QStringLiteral("empty.avi"), QByteArray());
    for (const QString& video : {garbage, empty, dir() + QStringLiteral("missing.avi")}) {
        app->st.LoadedVideo = video;
        MAKEpreview(*app, video);
        EXPECT_FALSE(QFileInfo::exists(previewSheetWriteName(video))) << video.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(app->st.ProgramDir + QStringLiteral("0.bmp")));
    EXPECT_EQ(scene(5).picture().pixelColor(10, 10), QColor(Qt::green));
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_FALSE(services.waitCursorShown);
}

// An unreadable sheet is made anew; the next load cuts it (once), and cut
// and saved again it stays the same; after another video's grab it is cut again.
TEST_F(PreviewTest, TheNextLoadCutsTheSheetOnceAndAnUnreadableSheetIsMadeAnew)
{
    const QString a = clip(QStringLiteral("open-gop.avi"), 250, QStringLiteral("a.avi"));
    const QString b = clip(QStringLiteral("odd-width.avi"), 100, QStringLiteral("b.avi"));
    const QString sheet = writeFile(QStringLiteral("a.bmp"), QByteArray("BM this is no bitmap"));
    INITIALIZEvideo(*app, a, 0);  // grabbed
    const QImage made = QImage(sheet).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(made.size(), QSize(640, 480));
    EXPECT_TRUE(app->st.LastLoadedSheet.isEmpty());
    INITIALIZEvideo(*app, b, 0);  // grabbed
    INITIALIZEvideo(*app, a, 0);  // cut from a.bmp
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING ")));
    EXPECT_EQ(app->st.LastLoadedSheet, sheet);
    EXPECT_EQ(scene(7).picture().size(), QSize(160, 120));
    SAVEpreview(*app, a);
    EXPECT_EQ(QImage(sheet).convertToFormat(QImage::Format_RGB32), made);
    EXPECT_EQ(readFile(sheet).size(), 54 + 640 * 3 * 480);  // an uncompressed 24-bit bitmap file

    // The windows hold a.bmp's cells already: nothing is cut again.
    paintScenes(Qt::red);
    LOADpreview(*app, a);
    EXPECT_EQ(scene(4).picture().pixelColor(5, 5), QColor(Qt::red));
    // A grab of another video puts other pictures into the windows.
    QFile::remove(dir() + QStringLiteral("b.bmp"));
    INITIALIZEvideo(*app, b, 0);
    EXPECT_EQ(frameNumberOf(scene(1).picture()), 6);
    INITIALIZEvideo(*app, a, 0);
    EXPECT_EQ(frameNumberOf(scene(4).picture()), 64);
}

// A grab long enough for window events to run while it waits: the windows
// show its progress, the same video asked for again returns at once, and a
// video loaded meanwhile (the video list makes the long video's sheet) keeps
// its own scenes in the windows.
TEST_F(PreviewTest, WindowsRunDuringALongGrabAndAVideoLoadedMeanwhileKeepsItsOwnScenes)
{
    const QString long_ = dir() + QStringLiteral("long.avi");
    ASSERT_TRUE(QFile::copy(longClip(), long_));
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
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.first().startsWith(QStringLiteral("INDEXING")));
    // The information display gets back its text.
    EXPECT_EQ(infoText(), QStringLiteral("SELECT VIDEO..."));
    EXPECT_EQ(app->st.InfoDisplayCountdown, -1);
    EXPECT_FALSE(app->InfoDisplay().isHidden());
    EXPECT_EQ(services.waitCursorOn, 1);
    EXPECT_FALSE(services.waitCursorShown);
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

} // namespace
} // namespace vv::test
