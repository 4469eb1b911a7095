// The setup dialog on fake services and players: the directory rows, the
// options, zoom and position, storing and cancelling.

#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "app/numbers.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

class SetupDialogTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        QCoreApplication::processEvents();  // the main window's first resize
        setup().TextVideoDir->setText(QStringLiteral("/v/"));
        setup().TextCDROMdir->setText(QStringLiteral("/c/"));
        setup().TextMP3dir->setText(QStringLiteral("/m/"));
    }

    SetupDialog& setup() { return app->SETUP(); }
    QString settingsFile() { return app->st.SettingsFile; }
    QRectF picture() { return app->video().pictureRect(); }  // twips
    QRectF windowRect() { return QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()); }

    // Presses a button; once the held loop has run for the given number of
    // steps, `then` runs (by default: the button is released).
    void hold(QPushButton* button, int steps, std::function<void()> then = {})
    {
        if (!then)
            then = [button] { QTest::mouseRelease(button, Qt::LeftButton); };
        services.eventTimeMs = 0;
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (services.eventTimeMs >= static_cast<long long>(steps) * ZoomStepMilliseconds) {
                timer.stop();
                then();
            }
        });
        timer.start();
        QTest::mousePress(button, Qt::LeftButton);
    }
};

// Each control, as the user works it, and what it does at once.
TEST_F(SetupDialogTest, EveryControlActsAtOnce)
{
    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    struct Row {
        const char* control;
        std::function<void()> act;
        std::function<bool()> done;
    } const rows[] = {
        {"opening closes the overlays",
         [&] {
             app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
             setup().INITIALIZE();
         },
         [&] { return !app->InfoDisplay().isVisible() && setup().isVisible(); }},
        {"CD row", [&] { setup().CommandSetCDROM->click(); },
         [&] { return setup().TextCDROMdir->text() == QStringLiteral("/media/cd"); }},
        {"music row, cancelled", [&] { setup().CommandSETmp3->click(); },
         [&] { return setup().TextMP3dir->text() == QStringLiteral("/m/"); }},
        {"video row, cancelled", [&] { setup().CommandSetVideoDir->click(); },
         [&] { return setup().TextVideoDir->text() == QStringLiteral("/v/") && services.endRequests == 0; }},
        {"always on top", [&] { setup().CheckAlwaysOnTop->click(); },
         [&] { return bool(app->MDI().windowFlags() & Qt::WindowStaysOnTopHint); }},
        {"arrows", [&] {
             for (QPushButton* arrow : {setup().CommandRIGHT, setup().CommandRIGHT, setup().CommandDOWN,
                                        setup().CommandLEFT, setup().CommandUP, setup().CommandUP})
                 arrow->click();
         },
         [&] { return picture() == QRectF(50, -50, 11520, 8640); }},  // no covering rule pulls it back
        {"zoom bar", [&] { setup().HScrollZOOM->setValue(200); },
         [&] { return setup().LabelZoomFaktor->text() == "200 %" && picture().size() == windowRect().size() * 2; }},
        {"cancel", [&] { setup().CommandCANCEL->click(); },
         [&] { return !setup().isVisible() && app->st.ZoomPercent == 200 && !QFile::exists(settingsFile()); }},
        {"default", [&] { setup().CommandRESET->click(); },
         [&] { return picture() == windowRect() && setup().HScrollZOOM->value() == 100; }},
        {"picture in picture", [&] { setup().CheckPIP->click(); },
         [&] { return app->st.FullScreenMode == -1 && !setup().isVisible(); }},
    };
    services.directoryAnswers = {QStringLiteral("/media/cd"), QString(), QString()};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        row.act();
        EXPECT_TRUE(row.done());
    }

    // Store writes the settings, the fields' texts as they stand.
    app->video().setPictureRect(QRectF(50, -50, 11520, 8640));
    setup().TextMP3dir->setText(QString::fromUtf8("/home/a/Müsik/"));
    setup().CommandSAVESETTINGS->click();
    EXPECT_EQ(readFile(settingsFile()),
              QByteArray(" 50 \r\n-50 \r\n 11520 \r\n 8640 \r\n/v/\r\n/media/cd\r\n/home/a/M\xc3\xbcsik/\r\n"));

    // The random playlist is filled only while it is empty.
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("B/b.avi"));
    scanVideos();
    QStringList& random = app->Player().ListRandomPlayback;
    setup().CheckRANDOMplaylist->click();
    EXPECT_EQ(random, app->DATEIMENU().lstFoundFiles());
    random.removeFirst();
    setup().CheckRANDOMplaylist->click();
    setup().CheckRANDOMplaylist->click();  // ticked again while filled
    EXPECT_EQ(random.size(), 1);
}

// A chosen video directory is stored and ends the program, unless the
// settings file cannot be written: then only the failure is said.
TEST_F(SetupDialogTest, AChosenVideoDirectoryIsStoredAndEndsTheProgramUnlessItCannotBeStored)
{
    services.directoryAnswers = {QStringLiteral("/home/a/Filme")};
    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    setup().CommandSetVideoDir->click();
    EXPECT_EQ(services.directoryRequests.back().first, QStringLiteral("Startverzeichnis der AVI-Dateien..."));
    EXPECT_EQ(readFile(settingsFile()),
              QByteArray(" 0 \r\n 0 \r\n 11520 \r\n 8640 \r\n/home/a/Filme\r\n/c/\r\n/m/\r\n"));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes.front().text,
              QStringLiteral("Änderungen durchgeführt und gespeichert. Bitte Programm neu starten..."));
    EXPECT_EQ(player().opened.last(), QString());  // unloaded
    EXPECT_EQ(services.endRequests, 1);

    services.boxes.clear();
    app->st.SettingsFile = dir() + QStringLiteral("missing/folder/settings.ini");
    services.directoryAnswers = {QStringLiteral("/home/a/Filme")};
    setup().CommandSetVideoDir->click();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes.front().icon, Services::Icon::Critical);
    EXPECT_EQ(services.endRequests, 1);
}

// A dragged thumb zooms when it is let go; held plus and minus zoom one
// percent a step within the bar's range, also when the bar already stands
// on the next value (a key zoomed since); a held button whose dialog
// closes stops zooming.
TEST_F(SetupDialogTest, TheScrollBarAndHeldPlusAndMinusZoomWithinTheLimits)
{
    QScrollBar* bar = setup().HScrollZOOM;
    bar->setSliderDown(true);
    bar->setSliderPosition(300);
    EXPECT_EQ(app->st.ZoomPercent, 100);
    bar->setSliderDown(false);
    EXPECT_EQ(app->st.ZoomPercent, 300);

    struct Row {
        int from;
        bool bigger;
        int steps, least, most;
    } const rows[] = {{100, true, 30, 130, 131}, {130, false, 10, 119, 120}, {100, false, 5, 100, 100},
                      {998, true, 10, 1000, 1000}};
    setup().INITIALIZE();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.from);
        bar->setValue(row.from);
        hold(row.bigger ? setup().CommandBigger : setup().CommandSmaller, row.steps);
        EXPECT_GE(app->st.ZoomPercent, row.least);
        EXPECT_LE(app->st.ZoomPercent, row.most);
        EXPECT_EQ(bar->value(), app->st.ZoomPercent);
        EXPECT_TRUE(app->st.motionstop);  // also ends a running crazy vision
    }
    bar->setValue(106);
    ZOOMvideo(*app, 0, 0, 105);
    hold(setup().CommandBigger, 3);
    EXPECT_GE(app->st.ZoomPercent, 108);

    bar->setValue(100);
    hold(setup().CommandBigger, 5, [&] { HIDEall(*app); });
    EXPECT_LE(app->st.ZoomPercent, 106);
}

} // namespace
} // namespace vv::test
