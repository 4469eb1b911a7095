// The scene index of a video on real clips: grabbing the sixteen scene
// pictures into the windows, the scene files and the sheet, cutting the
// sheet on the next load, and what may happen while a grab lets window
// events run. The player is the fake; the frames come from the files.

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include "app/numbers.h"
#include "control/control_panel.h"
#include "index/frame_source.h"
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
    int position(int k) { return static_cast<int>(leadingNumber(scene(k).Image1->toolTip())); }

    // Fills window k with a plain picture of one colour.
    void paintScene(int k, QColor colour)
    {
        QImage picture(160, 120, QImage::Format_RGB32);
        picture.fill(colour);
        scene(k).setPicture(picture);
    }

    // The frame numbers the sheet's cells show.
    static std::vector<int> sheetFrames(const QString& sheet)
    {
        std::vector<int> frames;
        for (const QImage& cell : cutPreviewSheet(QImage(sheet)))
            frames.push_back(frameNumberOf(cell));
        return frames;
    }
    // f(k) for the sixteen scenes: the frames the windows show, their
    // positions, multiples of a step.
    template <typename F>
    static std::vector<int> each(F f)
    {
        std::vector<int> out;
        for (int k = 0; k < 16; ++k)
            out.push_back(f(k));
        return out;
    }
    std::vector<int> sceneFrames() { return each([this](int k) { return frameNumberOf(scene(k).picture()); }); }
    std::vector<int> positions() { return each([this](int k) { return position(k); }); }
    static std::vector<int> multiples(int step) { return each([step](int k) { return step * k; }); }
};

TEST_F(PreviewTest, GrabbedScenesShowExactlyTheirFramesInWindowsFilesAndSheet)
{
    const std::tuple<const char*, int, int, int> cases[] = {
        // clip, frames, scenes the grab fills, width
        {"open-gop.avi", 250, 16, 320},   // step 16: 0 .. 240
        {"closed-gop.avi", 250, 16, 320},
        {"program.mpg", 250, 16, 320},
        {"odd-width.avi", 100, 16, 318},  // step 6: 0 .. 90
        {"eight.avi", 8, 9, 320},         // step 1: 0 .. 8, position 8 shows frame 7
    };
    for (const auto& [name, frames, scenes, width] : cases) {
        SCOPED_TRACE(name);
        const QString video = clip(QString::fromLatin1(name), frames);
        INITIALIZEvideo(*app, video, 0);
        const QString sheet = previewSheetWriteName(video);
        ASSERT_TRUE(QFileInfo::exists(sheet));
        const std::vector<int> cells = sheetFrames(sheet);
        const int step = *previewStep(frames);
        for (int k = 0; k < scenes; ++k) {
            SCOPED_TRACE(k);
            const int frame = std::min(k * step, frames - 1);
            const QImage file(app->st.ProgramDir + QString::number(k) + ".bmp");
            EXPECT_EQ(position(k), k * step);
            EXPECT_EQ(scene(k).LabelTime->text(), FORMATtimecode(k * step, 25));
            EXPECT_EQ((std::vector{frameNumberOf(scene(k).picture()), frameNumberOf(file), cells[k]}),
                      std::vector<int>(3, frame));
            // The scene files keep the video's own frame size.
            EXPECT_EQ(file.size(), QSize(width, 240));
        }
    }
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(services.waitCursorOn, 5);
    EXPECT_FALSE(services.waitCursorShown);
}

TEST_F(PreviewTest, ScenesOfATruncatedVideoSpreadOverWhatItHolds)
{
    // The header promises 250 frames, the file holds about half of them.
    const int held = FrameSource(testMedia(QStringLiteral("truncated.avi"))).frameCount();
    ASSERT_LT(held, 140);
    const QString video = clip(QStringLiteral("truncated.avi"), held);
    INITIALIZEvideo(*app, video, 0);
    ASSERT_TRUE(QFileInfo::exists(previewSheetWriteName(video)));
    int previous = -1;
    for (int k = 0; k < 16; ++k) {
        const int frame = frameNumberOf(scene(k).picture());
        EXPECT_GT(frame, previous) << k;
        if (k < 15) {
            EXPECT_EQ(frame, position(k)) << k;
        }
        previous = frame;
    }
}

TEST_F(PreviewTest, AnEightFrameVideoKeepsTheOldPicturesOfMissingScenesAndItsPositionsWhenCut)
{
    for (int k = 0; k < 16; ++k)
        paintScene(k, QColor(0, 0, 200));
    const QString video = clip(QStringLiteral("eight.avi"), 8);
    INITIALIZEvideo(*app, video, 0);
    const QImage sheet(previewSheetWriteName(video));
    for (int k = 9; k < 16; ++k) {
        EXPECT_EQ(scene(k).picture().pixelColor(80, 60), QColor(0, 0, 200)) << k;
        EXPECT_EQ(sheet.pixelColor(sheetCell(k).center()), QColor(0, 0, 200)) << k;
    }
    EXPECT_EQ(frameNumberOf(scene(8).picture()), 7);

    const std::vector<int> grabbed = positions();
    app->st.LastLoadedSheet.clear();
    INITIALIZEvideo(*app, video, 0);
    ASSERT_EQ(app->st.LastLoadedSheet, previewSheetReadName(video));
    const std::vector<int> cut = positions();
    EXPECT_EQ(std::vector(cut.begin(), cut.begin() + 9), std::vector(grabbed.begin(), grabbed.begin() + 9));
}

TEST_F(PreviewTest, VideosThatCannotBeIndexedFailSilentlyAndLeaveEverythingAsItWas)
{
    for (int k = 0; k < 16; ++k)
        paintScene(k, Qt::green);
    const QString garbage = clip(QStringLiteral("garbage.avi"), 250);
    const QString empty = writeFile(QStringLiteral("empty.avi"), QByteArray());
    for (const QString& video : {garbage, empty, dir() + QStringLiteral("missing.avi")}) {
        SCOPED_TRACE(video.toStdString());
        app->st.LoadedVideo = video;
        MAKEpreview(*app, video);
        EXPECT_FALSE(QFileInfo::exists(previewSheetWriteName(video)));
    }
    EXPECT_FALSE(QFileInfo::exists(app->st.ProgramDir + QStringLiteral("0.bmp")));
    EXPECT_EQ(scene(5).picture().pixelColor(10, 10), QColor(Qt::green));
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_FALSE(services.waitCursorShown);
}

TEST_F(PreviewTest, ASheetForAnotherVideoLeavesThePlayingVideosScenesAlone)
{
    const QString playing = clip(QStringLiteral("open-gop.avi"), 250);
    INITIALIZEvideo(*app, playing, 0);
    const QString other = clip(QStringLiteral("odd-width.avi"), 100);
    MAKEpreview(*app, other);

    // The other video's sheet and scene files...
    EXPECT_EQ(sheetFrames(previewSheetWriteName(other)), multiples(6));
    EXPECT_EQ(frameNumberOf(QImage(app->st.ProgramDir + QStringLiteral("2.bmp"))), 12);
    // ...while the windows keep the playing video's scenes.
    EXPECT_EQ(sceneFrames(), multiples(16));
    EXPECT_EQ(positions(), multiples(16));
}

TEST_F(PreviewTest, TheNextLoadCutsTheSheetAndASecondCutOfTheSameSheetIsSkipped)
{
    const QString a = clip(QStringLiteral("open-gop.avi"), 250, QStringLiteral("a.avi"));
    const QString b = clip(QStringLiteral("odd-width.avi"), 100, QStringLiteral("b.avi"));
    INITIALIZEvideo(*app, a, 0);  // grabbed
    INITIALIZEvideo(*app, b, 0);  // grabbed
    INITIALIZEvideo(*app, a, 0);  // cut from a.bmp
    EXPECT_TRUE(infoText().startsWith(QStringLiteral("QUICKLOADING ")));
    EXPECT_EQ(app->st.LastLoadedSheet, dir() + QStringLiteral("a.bmp"));
    EXPECT_EQ(scene(7).picture().size(), QSize(160, 120));
    EXPECT_EQ(sceneFrames(), multiples(16));
    EXPECT_EQ(positions(), multiples(16));

    // The windows hold a.bmp's cells already: nothing is cut again.
    paintScene(4, Qt::red);
    LOADpreview(*app, a);
    EXPECT_EQ(scene(4).picture().pixelColor(5, 5), QColor(Qt::red));

    // A grab of another video puts other pictures into the windows; loading
    // a again must cut its sheet again.
    QFile::remove(dir() + QStringLiteral("b.bmp"));
    INITIALIZEvideo(*app, b, 0);
    EXPECT_EQ(frameNumberOf(scene(1).picture()), 6);
    INITIALIZEvideo(*app, a, 0);
    EXPECT_EQ(frameNumberOf(scene(1).picture()), 16);
    EXPECT_EQ(frameNumberOf(scene(4).picture()), 64);
}

TEST_F(PreviewTest, ASheetThatCannotBeReadIsMadeAnewAndCutAndSavedAgainStaysTheSame)
{
    const QString video = clip(QStringLiteral("closed-gop.avi"), 250);
    const QString sheet = writeFile(QStringLiteral("closed-gop.bmp"), QByteArray("BM this is no bitmap"));
    INITIALIZEvideo(*app, video, 0);
    const QImage made(sheet);
    ASSERT_EQ(made.size(), QSize(640, 480));
    EXPECT_EQ(frameNumberOf(scene(15).picture()), 240);
    EXPECT_TRUE(app->st.LastLoadedSheet.isEmpty());

    LOADpreview(*app, video);
    SAVEpreview(*app, video);
    EXPECT_EQ(QImage(sheet).convertToFormat(QImage::Format_RGB32), made.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(readFile(sheet).size(), 54 + 640 * 3 * 480);  // an uncompressed 24-bit bitmap file
}

// A grab long enough for window events to run while it waits.
class LongGrabTest : public PreviewTest {
protected:
    void SetUp() override
    {
        PreviewTest::SetUp();
        const QString source = longClip();
        ASSERT_FALSE(source.isEmpty());
        long_ = dir() + QStringLiteral("long.avi");
        ASSERT_TRUE(QFile::copy(source, long_));
        catalogue[long_] = FakeMedia{4000, 160.0, 25.0};
    }
    QString long_;
};

TEST_F(LongGrabTest, WindowsRunAndShowProgressWhileTheScenesAreGrabbed)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("SELECT VIDEO..."), -1);
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { seen << infoText(); });
    watch.start(10);
    bool nestedReturned = false;
    QTimer::singleShot(0, [&] {
        // The same video again, as Enter in the video list would ask for it.
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
}

TEST_F(LongGrabTest, AVideoLoadedDuringAGrabKeepsItsOwnScenes)
{
    // The video list makes the long video's sheet; meanwhile another video
    // is loaded (and grabbed). The windows must end with the loaded one's.
    const QString other = clip(QStringLiteral("open-gop.avi"), 250);
    bool loaded = false;
    QTimer::singleShot(0, [&] {
        INITIALIZEvideo(*app, other, 0);
        loaded = true;
    });
    MAKEpreview(*app, long_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(app->st.LoadedVideo, other);
    EXPECT_EQ(sceneFrames(), multiples(16));
    EXPECT_EQ(sheetFrames(previewSheetWriteName(long_)), multiples(250));
    EXPECT_EQ(sheetFrames(previewSheetWriteName(other)), multiples(16));
    EXPECT_FALSE(services.waitCursorShown);
}

} // namespace
} // namespace vv::test
