#include "tests/support/app_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "app/twips.h"
#include "library/video_selection_window.h"
#include "video/displays.h"
#include "video/player_window.h"

namespace vv::test {

AppFixture::AppFixture()
{
    app = std::make_unique<App>(services, [this](QWidget* host) {
        return std::unique_ptr<MediaPlayer>(new FakePlayer(host, &catalogue));
    });
    app->st.ProgramDir = dir();
    app->st.SettingsFile = dir() + QStringLiteral("settings.ini");
}

QString AppFixture::writeFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString path = dir() + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    f.write(bytes);
    return path;
}

QByteArray AppFixture::readFile(const QString& path) const
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString AppFixture::addVideo(const QString& relativePath, int frames, double seconds, double fps)
{
    const QString path = writeFile(relativePath, QByteArray());
    catalogue[path] = FakeMedia{frames, seconds, fps};
    return path;
}

QString AppFixture::infoText()
{
    return app->InfoDisplay().caption();
}

void AppFixture::showMainWindow()
{
    MainWindow& mdi = app->MDI();
    mdi.resize(768, 576);
    mdi.show();
    app->Player().show();
    app->st.VideoDir = dir();
}

void AppFixture::scanVideos()
{
    app->st.VideoDir = dir();
    app->DATEIMENU().SCANMEDIA(dir());
}

} // namespace vv::test
