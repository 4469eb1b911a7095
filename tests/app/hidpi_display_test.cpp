// On a screen of twice the pixel density every window keeps its layout in
// logical pixels and the video picture is drawn at the screen's resolution.
// The layout is recorded by this program itself, run once per scale factor.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QOpenGLWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QDataStream>
#include <cmath>

#include "app/main_window.h"
#include "app/mpv_player.h"
#include "app/mpv_render.h"
#include "control/control_panel.h"
#include "script/slider_window.h"
#include "control/transport.h"
#include "index/preview_rules.h"
#include "video/loading.h"
#include "library/video_selection_window.h"
#include "tests/support/app_fixture.h"
#include "tests/support/test_media.h"

namespace vv::test {
namespace {

constexpr char OutVariable[] = "VV_LAYOUT_OUT";
using Layout = QMap<QString, QList<int>>;

// Every visible widget below the window by its place in the tree: its
// rectangle in device pixels.
void recordLayout(QWidget* window, const QString& name, Layout& out)
{
    const qreal ratio = window->devicePixelRatioF();
    const std::function<void(QWidget*, const QString&)> walk = [&](QWidget* w, const QString& key) {
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        const QRect device(r.topLeft() * ratio, r.size() * ratio);
        out[key] = {device.x(), device.y(), device.width(), device.height()};
        int i = 0;
        for (QObject* child : w->children()) {
            auto* cw = qobject_cast<QWidget*>(child);
            if (cw && cw->isVisibleTo(window) && !cw->isWindow())
                walk(cw, key + QLatin1Char('/') + QLatin1String(cw->metaObject()->className()) + QString::number(i++));
        }
    };
    walk(window, name);
}

class HiDpiChild : public AppFixture {};

// Run by the test below with the scale factor set: records the layout of the
// control panel with the slider and of the video list, a grab of the main
// window and the sizes the video picture is drawn at in both renderers.
TEST_F(HiDpiChild, DISABLED_RecordsTheLayout)
{
    const QString out = qEnvironmentVariable(OutVariable);
    for (const char* name : {"a.avi", "b.avi"}) {
        QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
        sheet.fill(Qt::darkCyan);
        sheet.save(previewSheetName(addVideo(QLatin1String(name))), "BMP");
    }
    showMainWindow();
    QWidget& window = app->MDI();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Layout layout;
    app->menu().INITIALIZE();
    app->FormSlider().INITIALIZE();
    QTest::qWait(200);
    recordLayout(&window, QStringLiteral("panel"), layout);
    VIDEOLISTswitch(*app, app->st.VideoDir);
    QTest::qWait(200);
    recordLayout(&window, QStringLiteral("list"), layout);
    const QPixmap grab = window.grab();
    layout["grab-ratio"] = {qRound(grab.devicePixelRatio())};
    ASSERT_TRUE(grab.save(out + QStringLiteral("/window.png")));

    for (const auto picture : {MpvPlayer::Picture::Software, MpvPlayer::Picture::OpenGL}) {
        QWidget host;
        host.resize(320, 240);
        MpvPlayer player(&host, {.picture = picture, .audio = false});
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        ASSERT_TRUE(player.setFileName(testMedia(QStringLiteral("odd-width.avi"))));
        QImage drawn;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            drawn = player.pictureKind() == MpvPlayer::Picture::Software
                        ? static_cast<MpvSoftwareWidget*>(player.widget())->lastPicture()
                        : static_cast<QOpenGLWidget*>(player.widget())->grabFramebuffer();
            return !drawn.isNull();
        }, 10000));
        layout[QStringLiteral("picture%1").arg(int(player.pictureKind()))] = {drawn.width(), drawn.height()};
    }
    QFile file(out + QStringLiteral("/layout"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QDataStream stream(&file);
    stream << layout;
}

// The layout and the grab at one scale factor, as recorded by the run above.
std::pair<Layout, QImage> layoutAt(double scale, const QString& dir)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
    env.insert(QLatin1String(OutVariable), dir);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=HiDpiChild.DISABLED_RecordsTheLayout")});
    std::pair<Layout, QImage> recorded;
    QFile file(dir + QStringLiteral("/layout"));
    QDataStream stream(&file);
    if (child.waitForFinished(120000) && child.exitCode() == 0 && file.open(QIODevice::ReadOnly))
        stream >> recorded.first;
    recorded.second.load(dir + QStringLiteral("/window.png"));
    return recorded;
}

TEST(HiDpi, TwiceTheScaleDoublesEveryWindowsLayoutAndDrawsTheVideoAtDeviceResolution)
{
    QTemporaryDir one, two;
    const auto [single, singleGrab] = layoutAt(1, one.path());
    const auto [twice, twiceGrab] = layoutAt(2, two.path());
    ASSERT_GT(single.size(), 20);
    ASSERT_EQ(twice.keys(), single.keys());
    for (auto it = single.cbegin(); it != single.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("grab")) || it.key().startsWith(QLatin1String("picture")))
            continue;
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(twice[it.key()][i], 2 * it.value()[i], 2) << it.key().toStdString() << " value " << i;
    }
    EXPECT_EQ(twice["grab-ratio"], QList<int>{2});
    // The video picture fills the device pixels of its window.
    for (const QString& picture : {QStringLiteral("picture0"), QStringLiteral("picture1")}) {
        if (single.contains(picture)) {
            EXPECT_EQ(single[picture], (QList<int>{320, 240})) << picture.toStdString();
            EXPECT_EQ(twice[picture], (QList<int>{640, 480})) << picture.toStdString();
        }
    }

    // The pictures agree too: the doubled grab, brought down to the single
    // size, differs from the single one only in the edges of text and lines.
    ASSERT_FALSE(singleGrab.isNull());
    EXPECT_NEAR(twiceGrab.width(), 2 * singleGrab.width(), 2);
    EXPECT_NEAR(twiceGrab.height(), 2 * singleGrab.height(), 2);
    const QImage down = twiceGrab.scaled(singleGrab.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    const QImage base = singleGrab.convertToFormat(QImage::Format_RGB32);
    qint64 different = 0;
    for (int y = 0; y < base.height(); ++y) {
        for (int x = 0; x < base.width(); ++x) {
            const QRgb a = base.pixel(x, y), b = down.pixel(x, y);
            const int distance = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b));
            different += distance + std::abs(qBlue(a) - qBlue(b)) > 96;
        }
    }
    EXPECT_LT(different, base.width() * base.height() / 50) << "of " << base.width() * base.height();
}

} // namespace
} // namespace vv::test
