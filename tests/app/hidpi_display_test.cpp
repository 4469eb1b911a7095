// On a screen of twice the pixel density every window keeps its layout in
// logical pixels and the video picture is drawn at the screen's resolution.
// The layout is recorded by this program itself, run once per scale factor.

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/mpv_render.h"
#include "control/control_panel.h"
#include "library/video_selection_window.h"
#include "script/slider_window.h"
#include "tests/support/app_fixture.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

constexpr char OutVariable[] = "VV_LAYOUT_OUT";

// Run by the test below with the scale factor set: records every visible
// widget of the main window (logical pixels) with the control panel and the
// slider and then with the video list, and the size in device pixels each
// renderer draws the video picture at, per unit of scale (the same at every
// scale when the picture is drawn at the screen's resolution).
TEST_F(AppFixture, DISABLED_RecordsTheLayout)
{
    QSettings out(qEnvironmentVariable(OutVariable), QSettings::IniFormat);
    const int scale = qEnvironmentVariableIntValue("QT_SCALE_FACTOR");
    addVideo(QStringLiteral("a.avi"));
    showMainWindow();
    QWidget& window = app->MDI();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto record = [&] {
        QTest::qWait(300);
        for (QWidget* w : window.findChildren<QWidget*>())
            if (w->window() == &window && w->isVisibleTo(&window))
                out.setValue(QString::number(out.allKeys().size()) + w->metaObject()->className(),
                             QRect(w->mapTo(&window, QPoint(0, 0)), w->size()));
    };
    app->menu().INITIALIZE();
    app->FormSlider().INITIALIZE();
    record();
    app->DATEIMENU().INITIALIZE(app->st.VideoDir);
    record();

    for (const auto kind : {MpvPlayer::Picture::Software, MpvPlayer::Picture::OpenGL}) {
        QWidget host;
        host.resize(320, 240);
        MpvPlayer player(&host, {.picture = kind, .audio = false});
        host.show();
        ASSERT_TRUE(player.setFileName(testMedia(QStringLiteral("odd-width.avi"))));
        const auto drawn = [&] {
            return kind == MpvPlayer::Picture::Software
                       ? static_cast<MpvSoftwareWidget*>(player.widget())->lastPicture()
                       : static_cast<QOpenGLWidget*>(player.widget())->grabFramebuffer();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return !drawn().isNull(); }, 10000));
        out.setValue(QStringLiteral("picture%1").arg(int(kind)), drawn().size() / scale);
    }
}

TEST(HiDpi, TwiceTheScaleDoublesEveryWindowsLayoutAndDrawsTheVideoAtDeviceResolution)
{
    QTemporaryDir dir;
    // The file the run above records into at that scale factor.
    const auto layoutAt = [&](int scale) {
        const QString file = dir.filePath(QString::number(scale));
        const QStringList command = {QStringLiteral("QT_SCALE_FACTOR=%1").arg(scale),
                                     QLatin1String(OutVariable) + '=' + file, QCoreApplication::applicationFilePath(),
                                     "--gtest_also_run_disabled_tests", "--gtest_filter=AppFixture.*"};
        EXPECT_EQ(QProcess::execute(QStringLiteral("env"), command), 0);
        return file;
    };
    const QSettings single(layoutAt(1), QSettings::IniFormat), twice(layoutAt(2), QSettings::IniFormat);
    ASSERT_GT(single.allKeys().size(), 20);
    ASSERT_EQ(twice.allKeys(), single.allKeys());
    for (const QString& key : single.allKeys())
        EXPECT_EQ(twice.value(key), single.value(key)) << key.toStdString();
}

} // namespace
} // namespace vv::test
