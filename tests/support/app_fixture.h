#pragma once
// An App on fakes: scripted media player, recorded message boxes, a temporary
// folder for videos, scripts and settings. The main window is shown at the
// start-up size (768 pixels wide) on the test's platform.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_window.h"
#include "library/video_selection_window.h"
#include "video/displays.h"
#include "video/player_window.h"
#include "tests/support/fake_player.h"
#include "tests/support/fake_services.h"

namespace vv::test {

class AppFixture : public ::testing::Test {
public:
    // A file's bytes; empty when it cannot be read.
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

protected:
    AppFixture()
    {
        app->st.ProgramDir = dir();
        app->st.SettingsFile = dir() + QStringLiteral("settings.ini");
    }
    ~AppFixture() override { app.reset(); }  // before the folder goes

    // A video file in the temporary folder (an empty file) that the fake
    // player plays with the given time base. Returns its full path.
    QString addVideo(const QString& relativePath, int frames = 250, double seconds = 10.0, double fps = 25.0)
    {
        const QString path = writeFile(relativePath, QByteArray());
        catalogue[path] = FakeMedia{frames, seconds, fps};
        return path;
    }
    // Writes a file in the temporary folder; returns its full path.
    QString writeFile(const QString& relativePath, const QByteArray& bytes)
    {
        const QString path = dir() + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
        return path;
    }

    // The video window's player (the fake).
    FakePlayer& player() { return static_cast<FakePlayer&>(app->video()); }
    // The last text the information display was given.
    QString infoText() { return app->InfoDisplay().caption(); }
    // Shows the main window at its start-up size and sets the directories.
    void showMainWindow()
    {
        app->MDI().resize(768, 576);
        app->MDI().show();
        app->Player().show();
        app->st.VideoDir = dir();
    }
    // Scans dir() as the video directory (fills the playlist).
    void scanVideos()
    {
        app->st.VideoDir = dir();
        app->DATEIMENU().SCANMEDIA(dir());
    }

    QString dir() const { return temp_.path() + QLatin1Char('/'); }

    FakeServices services;
    FakeCatalogue catalogue;
    std::unique_ptr<App> app = std::make_unique<App>(services, [this](QWidget* host) {
        return std::unique_ptr<MediaPlayer>(new FakePlayer(host, &catalogue));
    });

private:
    QTemporaryDir temp_;
};

} // namespace vv::test
