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

TEST_F(SetupDialogTest, DirectoryRowsFillTheirFieldsAndOnlyAChosenVideoDirectoryIsStoredAndEndsTheProgram)
{
    services.directoryAnswers = {QStringLiteral("/media/cd"), QStringLiteral("/home/a/Musik"), QString(), QString()};
    setup().CommandSetCDROM->click();
    setup().CommandSETmp3->click();
    setup().CommandSETmp3->click();  // cancelled: the field stays
    const QByteArray before("old settings");
    writeFile(QStringLiteral("settings.ini"), before);
    setup().CommandSetVideoDir->click();  // cancelled too
    EXPECT_EQ(setup().TextCDROMdir->text(), QStringLiteral("/media/cd"));
    EXPECT_EQ(setup().TextMP3dir->text(), QStringLiteral("/home/a/Musik"));
    EXPECT_EQ(setup().TextVideoDir->text(), QStringLiteral("/v/"));
    EXPECT_EQ(readFile(settingsFile()), before);
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(services.endRequests, 0);

    const QString chosen = QStringLiteral("/home/a/Filme");
    for (const char* pass : {"a new directory", "the same again"}) {
        SCOPED_TRACE(pass);
        services.boxes.clear();
        services.endRequests = 0;
        services.directoryAnswers = {chosen};
        app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
        setup().CommandSetVideoDir->click();
        EXPECT_EQ(services.directoryRequests.back(),
                  (std::pair<QString, QString>(QStringLiteral("Startverzeichnis der AVI-Dateien..."),
                                               QStringLiteral("/"))));
        EXPECT_EQ(setup().TextVideoDir->text(), chosen);
        EXPECT_EQ(readFile(settingsFile()), QByteArray(" 0 \r\n 0 \r\n 11520 \r\n 8640 \r\n") + chosen.toUtf8() +
                                                "\r\n/media/cd\r\n/home/a/Musik\r\n");
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes.front().text,
                  QStringLiteral("Änderungen durchgeführt und gespeichert. Bitte Programm neu starten..."));
        EXPECT_EQ(player().opened.last(), QString());  // unloaded
        EXPECT_EQ(services.endRequests, 1);
    }

    services.boxes.clear();
    services.endRequests = 0;
    app->st.SettingsFile = dir() + QStringLiteral("missing/folder/settings.ini");
    services.directoryAnswers = {QStringLiteral("/home/a/Filme")};
    setup().CommandSetVideoDir->click();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes.front().icon, Services::Icon::Critical);  // the write failure only
    EXPECT_TRUE(services.boxes.front().text.contains(QStringLiteral("settings.ini")));
    EXPECT_EQ(services.endRequests, 0);
}

TEST_F(SetupDialogTest, OpeningClosesTheOverlaysAndOptionsActAtOnce)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    setup().INITIALIZE();
    EXPECT_FALSE(app->InfoDisplay().isVisible());
    EXPECT_TRUE(setup().isWindow());  // framed by the window manager with its title
    EXPECT_EQ(setup().windowTitle(), QStringLiteral("Setup"));
    setup().CheckAlwaysOnTop->click();
    EXPECT_TRUE(app->MDI().windowFlags() & Qt::WindowStaysOnTopHint);
    setup().CheckAlwaysOnTop->click();
    EXPECT_FALSE(app->MDI().windowFlags() & Qt::WindowStaysOnTopHint);

    setup().CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, -1);
    EXPECT_FALSE(setup().isVisible());  // the overlays, this dialog included, are closed
    setup().CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, 0);

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

// The scroll bar zooms about the centre when its value changes (a dragged
// thumb when it is let go); held plus and minus zoom one percent a step.
TEST_F(SetupDialogTest, TheScrollBarAndHeldPlusAndMinusZoomWithinTheLimits)
{
    const QRectF window = windowRect();
    QScrollBar* bar = setup().HScrollZOOM;
    bar->setValue(200);
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QStringLiteral("200 %"));
    EXPECT_EQ(picture(), QRectF(-roundEven(window.width() / 2), -roundEven(window.height() / 2),
                                window.width() * 2, window.height() * 2));
    bar->setSliderDown(true);
    bar->setSliderPosition(300);
    EXPECT_EQ(app->st.ZoomPercent, 200);
    bar->setSliderDown(false);
    EXPECT_EQ(app->st.ZoomPercent, 300);

    setup().INITIALIZE();
    bar->setValue(100);
    hold(setup().CommandBigger, 30);
    EXPECT_GE(app->st.ZoomPercent, 130);
    EXPECT_LE(app->st.ZoomPercent, 131);
    EXPECT_EQ(bar->value(), app->st.ZoomPercent);
    EXPECT_TRUE(app->st.motionstop);  // also ends a running crazy vision

    const int zoomed = app->st.ZoomPercent;
    hold(setup().CommandSmaller, 10);
    EXPECT_GE(app->st.ZoomPercent, zoomed - 11);
    EXPECT_LE(app->st.ZoomPercent, zoomed - 10);
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QString::number(app->st.ZoomPercent) + QStringLiteral(" %"));

    setup().HScrollZOOM->setValue(100);
    hold(setup().CommandSmaller, 5);
    EXPECT_EQ(app->st.ZoomPercent, 100);
    setup().HScrollZOOM->setValue(998);
    hold(setup().CommandBigger, 10);
    EXPECT_EQ(app->st.ZoomPercent, 1000);

    // The bar already stands on the next value: a key zoomed out since.
    setup().HScrollZOOM->setValue(106);
    ZOOMvideo(*app, 0, 0, 105);
    hold(setup().CommandBigger, 3);
    EXPECT_GE(app->st.ZoomPercent, 108);

    // A held button whose dialog closes (the time display running out, say)
    // stops zooming: the press returns.
    setup().INITIALIZE();
    setup().HScrollZOOM->setValue(100);
    app->st.motionstop = false;
    hold(setup().CommandBigger, 5, [&] { HIDEall(*app); });
    EXPECT_LE(app->st.ZoomPercent, 106);
    EXPECT_TRUE(app->st.motionstop);
}

TEST_F(SetupDialogTest, ArrowsMoveThePictureDefaultPutsItBackStoreWritesItAndCancelWritesNothing)
{
    setup().INITIALIZE();
    setup().HScrollZOOM->setValue(150);
    setup().TextCDROMdir->setText(QStringLiteral("/media/dvd"));
    setup().CommandCANCEL->click();
    EXPECT_FALSE(setup().isVisible());
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_EQ(app->st.ZoomPercent, 150);  // the changes stay

    setup().INITIALIZE();
    setup().CommandRESET->click();
    EXPECT_EQ(app->st.ZoomPercent, 100);
    EXPECT_EQ(picture(), windowRect());
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QStringLiteral("100 %"));
    EXPECT_EQ(setup().HScrollZOOM->value(), 100);

    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    for (QPushButton* arrow : {setup().CommandRIGHT, setup().CommandRIGHT, setup().CommandDOWN})
        arrow->click();
    EXPECT_EQ(picture(), QRectF(100, 50, 11520, 8640));  // no covering rule pulls it back
    for (QPushButton* arrow : {setup().CommandLEFT, setup().CommandUP, setup().CommandUP})
        arrow->click();
    setup().TextMP3dir->setText(QString::fromUtf8("/home/a/Müsik/"));
    setup().CommandSAVESETTINGS->click();
    EXPECT_FALSE(setup().isVisible());
    EXPECT_EQ(readFile(settingsFile()),
              QByteArray(" 50 \r\n-50 \r\n 11520 \r\n 8640 \r\n/v/\r\n/media/dvd\r\n/home/a/M\xc3\xbcsik/\r\n"));
}

} // namespace
} // namespace vv::test
