#pragma once
// An App on fakes: scripted media player, recorded message boxes, a temporary
// folder for videos, scripts and settings. The main window is shown at the
// start-up size (768 pixels wide) on the test's platform.

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/app.h"
#include "tests/support/fake_player.h"
#include "tests/support/fake_services.h"

namespace vv::test {

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override { app.reset(); }  // before the folder goes

    // A video file in the temporary folder (an empty file) that the fake
    // player plays with the given time base. Returns its full path.
    QString addVideo(const QString& relativePath, int frames = 250, double seconds = 10.0, double fps = 25.0);
    // Writes a file in the temporary folder; returns its full path.
    QString writeFile(const QString& relativePath, const QByteArray& bytes);
    QByteArray readFile(const QString& path) const;

    // The video window's player (the fake).
    FakePlayer& player() { return static_cast<FakePlayer&>(app->video()); }
    // The last text the information display was given.
    QString infoText();
    // Shows the main window at its start-up size and sets the directories.
    void showMainWindow();
    // Scans dir() as the video directory (fills the playlist).
    void scanVideos();

    QString dir() const { return temp_.path() + QLatin1Char('/'); }

    FakeServices services;
    FakeCatalogue catalogue;
    std::unique_ptr<App> app;

private:
    QTemporaryDir temp_;
};

} // namespace vv::test
