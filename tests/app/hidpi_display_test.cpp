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
#include <QTextStream>
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

// One line per visible widget below the window: its place in the tree and
// its rectangle in device pixels.
void recordLayout(QWidget* window, const QString& name, QTextStream& out)
{
    const qreal ratio = window->devicePixelRatioF();
    const std::function<void(QWidget*, const QString&)> walk = [&](QWidget* w, const QString& key) {
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        out << key << ' ' << qRound(r.x() * ratio) << ' ' << qRound(r.y() * ratio) << ' '
            << qRound(r.width() * ratio) << ' ' << qRound(r.height() * ratio) << '\n';
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

// Run by the test below with the scale factor set: records the layout, a
// grab of the main window and the sizes the video picture is drawn at.
TEST_F(HiDpiChild, DISABLED_RecordsTheLayout)
{
    const QString out = qEnvironmentVariable(OutVariable);
    ASSERT_FALSE(out.isEmpty());
    for (const char* name : {"a.avi", "b.avi"}) {
        QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
        sheet.fill(Qt::darkCyan);
        sheet.save(previewSheetName(addVideo(QLatin1String(name))), "BMP");
    }
    showMainWindow();
    QWidget& window = app->MDI();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QFile file(out + QStringLiteral("/layout.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QTextStream text(&file);
    // The control panel with the slider, then the video list.
    app->menu().INITIALIZE();
    app->FormSlider().INITIALIZE();
    QTest::qWait(200);
    recordLayout(&window, QStringLiteral("panel"), text);
    VIDEOLISTswitch(*app, app->st.VideoDir);
    QTest::qWait(200);
    recordLayout(&window, QStringLiteral("list"), text);
    const QPixmap grab = window.grab();
    text << "grab-ratio " << grab.devicePixelRatio() << '\n';
    ASSERT_TRUE(grab.save(out + QStringLiteral("/window.png")));

    // The video picture, in both renderers, on a 320 x 240 window.
    for (const auto picture : {MpvPlayer::Picture::Software, MpvPlayer::Picture::OpenGL}) {
        QWidget host;
        host.resize(320, 240);
        MpvPlayer::Config config;
        config.picture = picture;
        config.audio = false;
        MpvPlayer player(&host, config);
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
        text << "picture" << int(player.pictureKind()) << ' ' << drawn.width() << ' ' << drawn.height() << '\n';
    }
}

// The layout at one scale factor, as recorded by the run above.
struct Layout {
    QMap<QString, QList<int>> lines;
    QImage grab;
};

Layout layoutAt(double scale, const QString& dir)
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
    Layout layout;
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return layout;
    QFile file(dir + QStringLiteral("/layout.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return layout;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        QList<int> values;
        for (qsizetype i = 1; i < parts.size(); ++i)
            values << parts[i].toInt();
        if (!parts.isEmpty() && !parts[0].isEmpty())
            layout.lines.insert(QString::fromUtf8(parts[0]), values);
    }
    layout.grab.load(dir + QStringLiteral("/window.png"));
    return layout;
}

TEST(HiDpi, TwiceTheScaleDoublesEveryWindowsLayoutAndDrawsTheVideoAtDeviceResolution)
{
    QTemporaryDir one, two;
    const Layout single = layoutAt(1, one.path());
    const Layout twice = layoutAt(2, two.path());
    ASSERT_GT(single.lines.size(), 20);
    ASSERT_EQ(twice.lines.keys(), single.lines.keys());

    for (auto it = single.lines.cbegin(); it != single.lines.cend(); ++it) {
        if (it.key().startsWith(QLatin1String("grab")) || it.key().startsWith(QLatin1String("picture")))
            continue;
        const QList<int>& doubled = twice.lines[it.key()];
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(doubled[i], 2 * it.value()[i], 2) << it.key().toStdString() << " value " << i;
    }
    EXPECT_EQ(twice.lines["grab-ratio"], QList<int>{2});
    // The video picture fills the device pixels of its window.
    for (const QString& picture : {QStringLiteral("picture0"), QStringLiteral("picture1")}) {
        if (!single.lines.contains(picture))
            continue;
        EXPECT_EQ(single.lines[picture], (QList<int>{320, 240})) << picture.toStdString();
        EXPECT_EQ(twice.lines[picture], (QList<int>{640, 480})) << picture.toStdString();
    }

    // The pictures agree too: the doubled grab, brought down to the single
    // size, differs from the single one only in the edges of text and lines.
    ASSERT_FALSE(single.grab.isNull());
    EXPECT_NEAR(twice.grab.width(), 2 * single.grab.width(), 2);
    EXPECT_NEAR(twice.grab.height(), 2 * single.grab.height(), 2);
    const QImage down = twice.grab.scaled(single.grab.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    const QImage base = single.grab.convertToFormat(QImage::Format_RGB32);
    qint64 different = 0;
    for (int y = 0; y < base.height(); ++y) {
        for (int x = 0; x < base.width(); ++x) {
            const QRgb a = base.pixel(x, y), b = down.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 96)
                ++different;
        }
    }
    EXPECT_LT(different, base.width() * base.height() / 50) << "of " << base.width() * base.height();
}

} // namespace
} // namespace vv::test
