// The setup dialog on fake services and players: every control's caption
// and place, the directory rows, the options, zoom and position, storing.

#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/twips.h"
#include "library/video_selection_window.h"
#include "setup/setup_dialog.h"
#include "tests/support/app_fixture.h"
#include "video/displays.h"
#include "video/player_window.h"
#include "script/overlays.h"
#include "video/zoom.h"

namespace vv::test {
namespace {

class SetupDialogTest : public AppFixture {
protected:
    void SetUp() override
    {
        showMainWindow();
        QCoreApplication::processEvents();   // the main window's first resize
        setup().TextVideoDir->setText(QStringLiteral("/v/"));
        setup().TextCDROMdir->setText(QStringLiteral("/c/"));
        setup().TextMP3dir->setText(QStringLiteral("/m/"));
    }

    SetupDialog& setup() { return app->SETUP(); }
    QString settingsFile() { return app->st.SettingsFile; }
    // The picture of the video window, in twips.
    QRectF picture() { return app->video().pictureRect(); }
    QRectF windowRect()
    {
        return QRectF(0, 0, app->Player().widthTw(), app->Player().heightTw());
    }

    // Presses a button and releases it once the held loop has run for the
    // given number of steps.
    void hold(QPushButton* button, int steps)
    {
        services.eventTimeMs = 0;
        QTimer release;
        release.setInterval(0);
        QObject::connect(&release, &QTimer::timeout, [&] {
            if (services.eventTimeMs >= static_cast<long long>(steps) * ZoomStepMilliseconds) {
                release.stop();
                QTest::mouseRelease(button, Qt::LeftButton);
            }
        });
        release.start();
        QTest::mousePress(button, Qt::LeftButton);
    }
};

TEST_F(SetupDialogTest, EveryControlHasItsCaptionAndPlace)
{
    SetupDialog& s = setup();
    struct Row {
        QWidget* widget;
        const char* caption;
        QWidget* parent;
        int left, top, width, height;
    };
    const Row rows[] = {
        {s.LabelTitel, "SYSTEM SETUP", &s, 135, 90, 8580, 630},
        {s.Label5, "Ravoriruvid Version 0.1a", &s, 6510, 480, 2145, 195},
        {s.Picture5, nullptr, &s, 120, 810, 4215, 1800},
        {s.Label6, "DIRECTORIES", s.Picture5, -1, -1, -1, -1},
        {s.Label7, "VIDEO:", s.Picture5, 165, 570, -1, -1},
        {s.TextVideoDir, nullptr, s.Picture5, 915, 555, 2325, 315},
        {s.CommandSetVideoDir, "SET", s.Picture5, 3270, 555, 720, 255},
        {s.Label8, "CDROM:", s.Picture5, 150, 990, -1, -1},
        {s.TextCDROMdir, nullptr, s.Picture5, 900, 960, 2340, 315},
        {s.CommandSetCDROM, "SET", s.Picture5, 3285, 975, 720, 255},
        {s.Label9, "MP3:", s.Picture5, 180, 1380, -1, -1},
        {s.TextMP3dir, nullptr, s.Picture5, 885, 1335, 2340, 315},
        {s.CommandSETmp3, "SET", s.Picture5, 3270, 1365, 720, 255},
        {s.Picture3, nullptr, &s, 150, 2730, 4185, 3495},
        {s.Label2, "OPTIONS", s.Picture3, -1, -1, -1, -1},
        {s.Option1[0], "Automatic Next Video", s.Picture3, 330, 555, 3060, 450},
        {s.Option1[1], "Automatic Replay At End", s.Picture3, 315, 915, 3525, 450},
        {s.CheckFastPreviewMode, "Fast Preview Mode", s.Picture3, 330, 1395, 3615, 495},
        {s.CheckRANDOMplaylist, "Random Playlist Playback", s.Picture3, 330, 1770, 3615, 495},
        {s.CheckFULLSCREENstart, "Start In Fullscreen Mode", s.Picture3, 330, 2235, 3615, 315},
        {s.CheckPIP, "Picture In Picture", s.Picture3, 330, 2520, 3615, 495},
        {s.CheckAlwaysOnTop, "Always On Top", s.Picture3, 330, 2985, 3615, 300},
        {s.Picture1, nullptr, &s, 4470, 810, 4200, 2910},
        {s.Label1, "ZOOM + POSITION", s.Picture1, -1, -1, -1, -1},
        {s.CommandSmaller, "-", s.Picture1, 180, 510, 675, 435},
        {s.LabelZoomFaktor, "100 %", s.Picture1, 1095, 540, 1995, 435},
        {s.CommandBigger, "+", s.Picture1, 3315, 525, 705, 435},
        {s.HScrollZOOM, nullptr, s.Picture1, 165, 1065, 3840, 300},
        {s.CommandUP, "UP", s.Picture1, 1365, 1500, 960, 360},
        {s.CommandLEFT, "LEFT", s.Picture1, 225, 1740, 960, 360},
        {s.CommandRIGHT, "RIGHT", s.Picture1, 2475, 1740, 960, 360},
        {s.CommandDOWN, "DOWN", s.Picture1, 1350, 1995, 960, 360},
        {s.CommandRESET, "DEFAULT", s.Picture1, 3135, 2460, 975, 345},
        {s.CommandCANCEL, "CANCEL", &s, 6000, 5820, 1215, 495},
        {s.CommandSAVESETTINGS, "STORE", &s, 7485, 5820, 1215, 495},
    };
    for (const Row& r : rows) {
        const QString name = r.caption ? QString::fromUtf8(r.caption) : r.widget->metaObject()->className();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(r.widget->parentWidget(), r.parent);
        if (r.caption) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(r.widget))
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(r.widget))
                text = button->text();
            EXPECT_EQ(text, QString::fromUtf8(r.caption));
        }
        if (r.left >= 0) {
            EXPECT_EQ(r.widget->x(), px(r.left));
            EXPECT_EQ(r.widget->y(), px(r.top));
        }
        if (r.width >= 0) {
            EXPECT_EQ(r.widget->size(), QSize(px(r.width), px(r.height)));
        }
    }
    EXPECT_EQ(s.size(), QSize(px(8820), px(6450)));
    EXPECT_EQ(s.palette().color(QPalette::Window), QColor(224, 224, 224));
    EXPECT_EQ(s.HScrollZOOM->minimum(), 100);
    EXPECT_EQ(s.HScrollZOOM->maximum(), 1000);
    EXPECT_EQ(s.HScrollZOOM->value(), 100);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Setup"));
}

TEST_F(SetupDialogTest, OpeningClosesTheOverlaysAndCentresOnTheMainWindow)
{
    app->InfoDisplay().INITIALIZE(QStringLiteral("PLAY"), 2);
    setup().INITIALIZE();
    EXPECT_TRUE(setup().isVisible());
    EXPECT_FALSE(app->InfoDisplay().isVisible());
    const MainWindow& mdi = app->MDI();
    EXPECT_EQ(setup().x(), px(roundEven((mdi.widthTw() - widthTw(&setup())) / 2.0)));
    EXPECT_EQ(setup().y(), px(roundEven((mdi.heightTw() - heightTw(&setup())) / 2.0)));
}

TEST_F(SetupDialogTest, ChoosingAVideoDirectoryStoresItAndEndsTheProgram)
{
    for (const QString& chosen : {QStringLiteral("/home/a/Filme"), QStringLiteral("/v/")}) {
        SCOPED_TRACE(chosen.toStdString());
        services.boxes.clear();
        services.endRequests = 0;
        services.directoryAnswers = {chosen};   // also the old directory ends the program
        app->video().setPictureRect(QRectF(0, 0, 11520, 8640));

        setup().CommandSetVideoDir->click();

        EXPECT_EQ(services.directoryRequests.back(),
                  (std::pair<QString, QString>(QStringLiteral("Startverzeichnis der AVI-Dateien..."),
                                               QStringLiteral("/"))));
        EXPECT_EQ(setup().TextVideoDir->text(), chosen);
        EXPECT_EQ(readFile(settingsFile()),
                  QByteArray(" 0 \r\n 0 \r\n 11520 \r\n 8640 \r\n") + chosen.toUtf8() + "\r\n/c/\r\n/m/\r\n");
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes.front().text,
                  QStringLiteral("Änderungen durchgeführt und gespeichert. Bitte Programm neu starten..."));
        EXPECT_EQ(player().opened.last(), QString());   // unloaded
        EXPECT_EQ(services.endRequests, 1);
    }
}

TEST_F(SetupDialogTest, ACancelledVideoDirectoryChoiceChangesNothing)
{
    const QByteArray before("old settings");
    writeFile(QStringLiteral("settings.ini"), before);
    services.directoryAnswers = {QString()};

    setup().CommandSetVideoDir->click();

    EXPECT_EQ(setup().TextVideoDir->text(), QStringLiteral("/v/"));
    EXPECT_EQ(readFile(settingsFile()), before);
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(services.endRequests, 0);
}

TEST_F(SetupDialogTest, AVideoDirectoryThatCannotBeStoredDoesNotEndTheProgram)
{
    app->st.SettingsFile = dir() + QStringLiteral("missing/folder/settings.ini");
    services.directoryAnswers = {QStringLiteral("/home/a/Filme")};

    setup().CommandSetVideoDir->click();

    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes.front().icon, Services::Icon::Critical);   // the write failure only
    EXPECT_EQ(services.endRequests, 0);
}

TEST_F(SetupDialogTest, TheCdromAndMusicRowsFillTheirFieldsWithoutStoring)
{
    services.directoryAnswers = {QStringLiteral("/media/cd"), QStringLiteral("/home/a/Musik"), QString()};
    setup().CommandSetCDROM->click();
    setup().CommandSETmp3->click();
    EXPECT_EQ(setup().TextCDROMdir->text(), QStringLiteral("/media/cd"));
    EXPECT_EQ(setup().TextMP3dir->text(), QStringLiteral("/home/a/Musik"));

    setup().CommandSETmp3->click();   // cancelled: the field stays
    EXPECT_EQ(setup().TextMP3dir->text(), QStringLiteral("/home/a/Musik"));

    EXPECT_EQ(services.directoryRequests.size(), 3u);
    for (const auto& request : services.directoryRequests)
        EXPECT_EQ(request.first, QStringLiteral("Startverzeichnis der AVI-Dateien..."));
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_EQ(services.endRequests, 0);
}

TEST_F(SetupDialogTest, AlwaysOnTopAndPictureInPictureActAtOnce)
{
    setup().INITIALIZE();
    setup().CheckAlwaysOnTop->click();
    EXPECT_TRUE(app->MDI().windowFlags() & Qt::WindowStaysOnTopHint);
    setup().CheckAlwaysOnTop->click();
    EXPECT_FALSE(app->MDI().windowFlags() & Qt::WindowStaysOnTopHint);

    setup().CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, -1);
    EXPECT_FALSE(setup().isVisible());   // the overlays, this dialog included, are closed
    setup().CheckPIP->click();
    EXPECT_EQ(app->st.FullScreenMode, 0);
}

TEST_F(SetupDialogTest, RandomPlaylistIsFilledOnlyWhileItIsEmpty)
{
    addVideo(QStringLiteral("a.avi"));
    addVideo(QStringLiteral("B/b.avi"));
    scanVideos();
    QStringList& random = app->Player().ListRandomPlayback;

    setup().CheckRANDOMplaylist->click();
    EXPECT_EQ(random, app->DATEIMENU().lstFoundFiles());
    setup().CheckRANDOMplaylist->click();   // cleared: nothing changes
    setup().CheckRANDOMplaylist->click();   // ticked again while filled
    EXPECT_EQ(random.size(), 2);

    random.clear();
    setup().CheckRANDOMplaylist->click();
    setup().CheckRANDOMplaylist->click();
    EXPECT_EQ(random.size(), 2);
}

TEST_F(SetupDialogTest, TheScrollBarZoomsAboutTheCentreWhenItsValueChanges)
{
    const QRectF window = windowRect();
    setup().HScrollZOOM->setValue(200);
    EXPECT_EQ(app->st.ZoomPercent, 200);
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QStringLiteral("200 %"));
    // Grown about the centre (half twips rounded to the even neighbour).
    EXPECT_EQ(picture(), QRectF(-roundEven(window.width() / 2), -roundEven(window.height() / 2),
                                window.width() * 2, window.height() * 2));

    // Dragging the thumb zooms only when it is let go.
    QScrollBar* bar = setup().HScrollZOOM;
    bar->setSliderDown(true);
    bar->setSliderPosition(300);
    EXPECT_EQ(app->st.ZoomPercent, 200);
    bar->setSliderDown(false);
    EXPECT_EQ(app->st.ZoomPercent, 300);
}

TEST_F(SetupDialogTest, HeldPlusAndMinusZoomOnePercentPerStepUntilReleased)
{
    setup().INITIALIZE();
    hold(setup().CommandBigger, 30);
    EXPECT_GE(app->st.ZoomPercent, 130);
    EXPECT_LE(app->st.ZoomPercent, 131);
    EXPECT_EQ(setup().HScrollZOOM->value(), app->st.ZoomPercent);
    EXPECT_TRUE(app->st.motionstop);   // also ends a running crazy vision

    const int zoomed = app->st.ZoomPercent;
    hold(setup().CommandSmaller, 10);
    EXPECT_GE(app->st.ZoomPercent, zoomed - 11);
    EXPECT_LE(app->st.ZoomPercent, zoomed - 10);
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QString::number(app->st.ZoomPercent) + QStringLiteral(" %"));
}

TEST_F(SetupDialogTest, HeldButtonsStopAtTheLimits)
{
    setup().INITIALIZE();
    hold(setup().CommandSmaller, 5);
    EXPECT_EQ(app->st.ZoomPercent, 100);

    setup().HScrollZOOM->setValue(998);
    hold(setup().CommandBigger, 10);
    EXPECT_EQ(app->st.ZoomPercent, 1000);
    EXPECT_EQ(setup().HScrollZOOM->value(), 1000);
}

TEST_F(SetupDialogTest, AHeldButtonWhoseDialogClosesStopsZooming)
{
    setup().INITIALIZE();
    services.eventTimeMs = 0;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (services.eventTimeMs >= 5 * ZoomStepMilliseconds) {
            closer.stop();
            HIDEall(*app);   // e.g. the time display running out
        }
    });
    closer.start();
    QTest::mousePress(setup().CommandBigger, Qt::LeftButton);   // returns: no endless loop
    EXPECT_LE(app->st.ZoomPercent, 106);
    EXPECT_TRUE(app->st.motionstop);
}

TEST_F(SetupDialogTest, HeldPlusZoomsAlsoWhenTheBarAlreadyStandsOnTheNextValue)
{
    setup().INITIALIZE();
    setup().HScrollZOOM->setValue(106);
    ZOOMvideo(*app, 0, 0, 105);   // a key zoomed out since
    hold(setup().CommandBigger, 3);
    EXPECT_GE(app->st.ZoomPercent, 108);
}

TEST_F(SetupDialogTest, ArrowButtonsMoveThePictureDirectlyByFiftyTwips)
{
    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    setup().CommandRIGHT->click();
    setup().CommandRIGHT->click();
    setup().CommandDOWN->click();
    EXPECT_EQ(picture(), QRectF(100, 50, 11520, 8640));   // no covering rule pulls it back
    setup().CommandLEFT->click();
    setup().CommandUP->click();
    setup().CommandUP->click();
    EXPECT_EQ(picture(), QRectF(50, -50, 11520, 8640));
}

TEST_F(SetupDialogTest, DefaultPutsThePictureBackToHundredPercentCentred)
{
    setup().HScrollZOOM->setValue(250);
    setup().CommandLEFT->click();
    setup().CommandDOWN->click();

    setup().CommandRESET->click();

    EXPECT_EQ(app->st.ZoomPercent, 100);
    EXPECT_EQ(picture(), windowRect());
    EXPECT_EQ(setup().LabelZoomFaktor->text(), QStringLiteral("100 %"));
    EXPECT_EQ(setup().HScrollZOOM->value(), 100);
}

TEST_F(SetupDialogTest, StoreWritesTheFieldsAndThePicturesPresentGeometry)
{
    setup().INITIALIZE();
    app->video().setPictureRect(QRectF(0, 0, 11520, 8640));
    setup().CommandRIGHT->click();
    setup().CommandUP->click();
    setup().TextMP3dir->setText(QString::fromUtf8("/home/a/Müsik/"));

    setup().CommandSAVESETTINGS->click();

    EXPECT_FALSE(setup().isVisible());
    EXPECT_EQ(readFile(settingsFile()),
              QByteArray(" 50 \r\n-50 \r\n 11520 \r\n 8640 \r\n/v/\r\n/c/\r\n/home/a/M\xc3\xbcsik/\r\n"));
}

TEST_F(SetupDialogTest, CancelClosesWithoutStoringAndKeepsTheChanges)
{
    setup().INITIALIZE();
    setup().HScrollZOOM->setValue(150);
    setup().TextCDROMdir->setText(QStringLiteral("/media/dvd"));
    setup().CommandCANCEL->click();
    EXPECT_FALSE(setup().isVisible());
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_EQ(app->st.ZoomPercent, 150);
    EXPECT_EQ(setup().TextCDROMdir->text(), QStringLiteral("/media/dvd"));
}

} // namespace
} // namespace vv::test
