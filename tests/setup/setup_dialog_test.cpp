// The setup dialog on fake services and players: the directory rows, the
// options, zoom and position, storing and cancelling.

#include <QTest>
#include <QTimer>
#include <functional>

#include "script/overlays.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

using SetupDialogTest = AppFixture;

// Each control, as the user works it, and what it does at once. Then held
// plus and minus zoom one percent a step within the bar's range, also when
// the bar already stands on the next value (a key zoomed since); a held
// button whose dialog closes stops zooming.
TEST_F(SetupDialogTest, EveryControlActsAtOnceAndHeldZoomButtonsStepWithinTheLimits)
{
    showMainWindow();
    QCoreApplication::processEvents();  // the main window's first resize
    SetupDialog& s = app->SETUP();
    s.TextVideoDir->setText(QStringLiteral("/v/"));
    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    const auto picture = [&] { return app->video().pictureRect(); };  // twips
    const QRectF window(0, 0, app->Player().widthTw(), app->Player().heightTw());
    const QString& settingsFile = app->st.SettingsFile;
    const QByteArray stored(" 50 \r\n 0 \r\n 11520 \r\n 8640 \r\n/v/\r\n/media/cd\r\n/media/mp3\r\n");
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("B/b.avi"));
    scanVideos();
    QStringList& random = app->Player().ListRandomPlayback;
    QScrollBar* bar = s.HScrollZOOM;
    int zoomWhileDragged = 0;
    struct Row {
        const char* control;
        std::function<void()> before;  // then the button is clicked, if there is one
        QAbstractButton* button;
        std::function<bool()> done;
    } const rows[] = {
        {"opening closes the overlays", {}, nullptr,
         [&] { return !app->InfoDisplay().isVisible() && s.isVisible(); }},
        {"CD row", {}, s.CommandSetCDROM, [&] { return s.TextCDROMdir->text() == "/media/cd"; }},
        {"music row", {}, s.CommandSETmp3, [&] { return s.TextMP3dir->text() == "/media/mp3"; }},
        {"video row, cancelled", {}, s.CommandSetVideoDir,
         [&] { return s.TextVideoDir->text() == "/v/" && services.endRequests == 0; }},
        {"right", {}, s.CommandRIGHT, [&] { return picture().topLeft() == QPointF(50, 0); }},
        {"up", {}, s.CommandUP, [&] { return picture().topLeft() == QPointF(50, -50); }},
        {"left", {}, s.CommandLEFT, [&] { return picture().topLeft() == QPointF(0, -50); }},
        {"down", {}, s.CommandDOWN, [&] { return picture().topLeft() == QPointF(0, 0); }},
        {"store, the fields' texts as they stand", [&] { s.CommandRIGHT->click(); }, s.CommandSAVESETTINGS,
         [&] { return !s.isVisible() && readFile(settingsFile) == stored; }},
        {"zoom bar, dragged in the dialog opened again: zooms when let go",
         [&] {
             s.INITIALIZE();
             bar->setSliderDown(true);
             bar->setSliderPosition(200);
             zoomWhileDragged = app->st.ZoomPercent;
             bar->setSliderDown(false);
         },
         nullptr,
         [&] {
             return zoomWhileDragged == 100 && s.LabelZoomFaktor->text() == "200 %"
                    && picture().size() == window.size() * 2;
         }},
        {"cancel", {}, s.CommandCANCEL,
         [&] { return !s.isVisible() && app->st.ZoomPercent == 200 && readFile(settingsFile) == stored; }},
        {"default", {}, s.CommandRESET, [&] { return picture() == window && bar->value() == 100; }},
        {"video row, chosen: stored, the video unloaded, the program ended", {}, s.CommandSetVideoDir,
         [&] {
             return readFile(settingsFile).contains("\r\n/home/a/Filme\r\n") && services.boxes.size() == 1
                    && player().opened.endsWith(QString()) && services.endRequests == 1;
         }},
        {"video row, chosen but not storable: the failure said, the program goes on",
         [&] { app->st.SettingsFile = dir() + "missing/folder/settings.ini"; }, s.CommandSetVideoDir,
         [&] { return services.boxes.back().icon == Services::Icon::Critical && services.endRequests == 1; }},
        {"random playlist, filled only while empty: ticked again while filled",
         [&] {
             s.CheckRANDOMplaylist->click();
             random = random.mid(1);
             s.CheckRANDOMplaylist->click();
         },
         s.CheckRANDOMplaylist, [&] { return random == app->DATEIMENU().lstFoundFiles().mid(1); }},
    };
    services.directoryAnswers = {"/media/cd", "/media/mp3", "", "/home/a/Filme", "/home/a/Filme"};
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    s.INITIALIZE();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        if (row.before)
            row.before();
        if (row.button)
            row.button->click();
        EXPECT_TRUE(row.done());
    }
    EXPECT_EQ(services.boxes.size(), 2u);

    struct Held {
        int from, zoomedSince;
        bool bigger, dialogCloses;
        int steps, least, most;
    } const held[] = {{130, 0, false, false, 10, 119, 120}, {100, 0, false, false, 5, 100, 100},
                      {998, 0, true, false, 10, 1000, 1000}, {106, 105, true, false, 3, 108, 109},
                      {100, 0, true, true, 5, 101, 106}};
    s.INITIALIZE();
    for (const Held& row : held) {
        SCOPED_TRACE(row.from);
        bar->setValue(row.from);
        if (row.zoomedSince)
            ZOOMvideo(*app, 0, 0, row.zoomedSince);
        QPushButton* button = row.bigger ? s.CommandBigger : s.CommandSmaller;
        services.eventTimeMs = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (services.eventTimeMs < static_cast<long long>(row.steps) * ZoomStepMilliseconds)
                return;
            timer.stop();
            if (row.dialogCloses)
                HIDEall(*app);
            else
                QTest::mouseRelease(button, Qt::LeftButton);
        });
        timer.start(0);
        button->setDown(true);  // pressed without taking the focus, whose loss would release it
        emit button->pressed();
        EXPECT_GE(app->st.ZoomPercent, row.least);
        EXPECT_LE(app->st.ZoomPercent, row.most);
        EXPECT_EQ(bar->value(), app->st.ZoomPercent);
        EXPECT_TRUE(app->st.motionstop);  // also ends a running crazy vision
    }
}

} // namespace
} // namespace vv::test
