// The setup dialog on fake services and players: the directory rows, the
// options, zoom and position, storing and cancelling.

#include <QTest>
#include <QTimer>
#include <functional>

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
        setup().TextMP3dir->setText(QStringLiteral("/m/"));
        app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    }

    SetupDialog& setup() { return app->SETUP(); }
    QString settingsFile() { return app->st.SettingsFile; }
    QRectF picture() { return app->video().pictureRect(); }  // twips
    QRectF windowRect() { return QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw()); }

};

// Each control, as the user works it, and what it does at once.
TEST_F(SetupDialogTest, EveryControlActsAtOnce)
{
    const QByteArray stored(" 50 \r\n-50 \r\n 11520 \r\n 8640 \r\n/v/\r\n/media/cd\r\n/m/\r\n");
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("B/b.avi"));
    scanVideos();
    QStringList& random = app->Player().ListRandomPlayback;
    int zoomWhileDragged = 0;
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
        {"arrows", [&] {
             for (QPushButton* arrow : {setup().CommandRIGHT, setup().CommandRIGHT, setup().CommandDOWN,
                                        setup().CommandLEFT, setup().CommandUP, setup().CommandUP})
                 arrow->click();
         },
         [&] { return picture() == QRectF(50, -50, 11520, 8640); }},  // no covering rule pulls it back
        {"store, the fields' texts as they stand", [&] { setup().CommandSAVESETTINGS->click(); },
         [&] { return !setup().isVisible() && readFile(settingsFile()) == stored; }},
        {"zoom bar, dragged: zooms when let go",
         [&] {
             setup().HScrollZOOM->setSliderDown(true);
             setup().HScrollZOOM->setSliderPosition(200);
             zoomWhileDragged = app->st.ZoomPercent;
             setup().HScrollZOOM->setSliderDown(false);
         },
         [&] {
             return zoomWhileDragged == 100 && setup().LabelZoomFaktor->text() == "200 %"
                    && picture().size() == windowRect().size() * 2;
         }},
        {"cancel", [&] { setup().CommandCANCEL->click(); },
         [&] { return !setup().isVisible() && app->st.ZoomPercent == 200 && readFile(settingsFile()) == stored; }},
        {"default", [&] { setup().CommandRESET->click(); },
         [&] { return picture() == windowRect() && setup().HScrollZOOM->value() == 100; }},
        {"video row, chosen: stored, the video unloaded, the program ended",
         [&] { setup().CommandSetVideoDir->click(); },
         [&] {
             return readFile(settingsFile()).contains("\r\n/home/a/Filme\r\n") && services.boxes.size() == 1
                    && player().opened.endsWith(QString()) && services.endRequests == 1;
         }},
        {"video row, chosen but not storable: the failure said, the program goes on",
         [&] {
             app->st.SettingsFile = dir() + QStringLiteral("missing/folder/settings.ini");
             setup().CommandSetVideoDir->click();
         },
         [&] { return services.boxes.back().icon == Services::Icon::Critical && services.endRequests == 1; }},
        {"random playlist, filled only while empty",
         [&] {
             setup().CheckRANDOMplaylist->click();
             random = random.mid(1);
             setup().CheckRANDOMplaylist->click();
             setup().CheckRANDOMplaylist->click();  // ticked again while filled
         },
         [&] { return random == app->DATEIMENU().lstFoundFiles().mid(1); }},
    };
    services.directoryAnswers = {QStringLiteral("/media/cd"), QString(), QString(), "/home/a/Filme", "/home/a/Filme"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        row.act();
        EXPECT_TRUE(row.done());
    }
    EXPECT_EQ(services.boxes.size(), 2u);
}

// Held plus and minus zoom one percent a step within the bar's range, also
// when the bar already stands on the next value (a key zoomed since); a held
// button whose dialog closes stops zooming.
TEST_F(SetupDialogTest, HeldPlusAndMinusZoomWithinTheLimits)
{
    struct Row {
        int from, zoomedSince;
        bool bigger, dialogCloses;
        int steps, least, most;
    } const rows[] = {{130, 0, false, false, 10, 119, 120}, {100, 0, false, false, 5, 100, 100},
                      {998, 0, true, false, 10, 1000, 1000}, {106, 105, true, false, 3, 108, 109},
                      {100, 0, true, true, 5, 101, 106}};
    setup().INITIALIZE();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.from);
        setup().HScrollZOOM->setValue(row.from);
        if (row.zoomedSince)
            ZOOMvideo(*app, 0, 0, row.zoomedSince);
        QPushButton* button = row.bigger ? setup().CommandBigger : setup().CommandSmaller;
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
        QTest::mousePress(button, Qt::LeftButton);
        EXPECT_GE(app->st.ZoomPercent, row.least);
        EXPECT_LE(app->st.ZoomPercent, row.most);
        EXPECT_EQ(setup().HScrollZOOM->value(), app->st.ZoomPercent);
        EXPECT_TRUE(app->st.motionstop);  // also ends a running crazy vision
    }
}

} // namespace
} // namespace vv::test
