#include "setup/setup_dialog.h"

#include <QFrame>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <algorithm>

#include "app/app.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/twips.h"
#include "library/video_selection_window.h"
#include "script/overlays.h"
#include "video/player_window.h"
#include "video/zoom.h"

namespace vv {

namespace {

const QString SansSerif = QStringLiteral("MS Sans Serif");


QWidget* group(QWidget* parent, int left, int top, int width, int height)
{
    auto* w = new QFrame(parent);
    w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setColours(w, LightGrey);
    setGeometryTw(w, left, top, width, height);
    return w;
}

template <class W>
W* place(W* w, int left, int top, int width, int height)
{
    setGeometryTw(w, left, top, width, height);
    return w;
}

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height,
              const QFont& f)
{
    auto* l = new QLabel(text, parent);
    l->setFont(f);
    return place(l, left, top, width, height);
}

// The program's small logo: the two letters on a dark tile.
QPixmap logoPicture(const QSize& size)
{
    QPixmap pm(size);
    pm.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&pm);
    painter.setPen(LightGrey);
    QFont f = designFont(SansSerif, 10, true);
    f.setPixelSize(std::max(8, size.height() * 2 / 3));
    painter.setFont(f);
    painter.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("VV"));
    return pm;
}

} // namespace

// A window of its own above the main window, so that its title shows.
SetupDialog::SetupDialog(App& app, QWidget* parent) : QWidget(parent, Qt::Tool), app_(app)
{
    setWindowTitle(QStringLiteral("Setup"));
    setColours(this, LightGrey, Qt::black);
    setGeometryTw(this, 0, 0, 8820, 6450);
    setFixedSize(size());

    LabelTitel = label(this, QStringLiteral("SYSTEM SETUP"), 135, 90, 8580, 630, designFont(SansSerif, 24, true));
    Label5 = label(this, QStringLiteral("Ravoriruvid Version 0.1a"), 6510, 480, 2145, 195, designFont(SansSerif, 8.25, true));
    fitCaption(Label5);
    Image1 = label(this, QString(), 8235, 90, 480, 360, designFont(SansSerif, 8.25, false));
    Image1->setPixmap(logoPicture(Image1->size()));

    const QFont heading = designFont(SansSerif, 18, true);
    const QFont plain = designFont(SansSerif, 8.25, false);
    const QFont optionFont = designFont(SansSerif, 12, true);

    Picture5 = group(this, 120, 810, 4215, 1800);
    Label6 = label(Picture5, QStringLiteral("DIRECTORIES"), 120, 45, 3900, 465, heading);
    Label7 = label(Picture5, QStringLiteral("VIDEO:"), 165, 570, 720, 255, plain);
    TextVideoDir = place(new QLineEdit(Picture5), 915, 555, 2325, 315);
    CommandSetVideoDir = place(new QPushButton(QStringLiteral("SET"), Picture5), 3270, 555, 720, 255);
    Label8 = label(Picture5, QStringLiteral("CDROM:"), 150, 990, 735, 255, plain);
    TextCDROMdir = place(new QLineEdit(Picture5), 900, 960, 2340, 315);
    CommandSetCDROM = place(new QPushButton(QStringLiteral("SET"), Picture5), 3285, 975, 720, 255);
    Label9 = label(Picture5, QStringLiteral("MP3:"), 180, 1380, 690, 255, plain);
    TextMP3dir = place(new QLineEdit(Picture5), 885, 1335, 2340, 315);
    CommandSETmp3 = place(new QPushButton(QStringLiteral("SET"), Picture5), 3270, 1365, 720, 255);

    Picture3 = group(this, 150, 2730, 4185, 3495);
    Label2 = label(Picture3, QStringLiteral("OPTIONS"), 120, 45, 3900, 465, heading);
    Option1[0] = place(new QRadioButton(QStringLiteral("Automatic Next Video"), Picture3), 330, 555, 3060, 450);
    Option1[1] = place(new QRadioButton(QStringLiteral("Automatic Replay At End"), Picture3), 315, 915, 3525, 450);
    CheckFastPreviewMode = place(new QCheckBox(QStringLiteral("Fast Preview Mode"), Picture3), 330, 1395, 3615, 495);
    CheckRANDOMplaylist = place(new QCheckBox(QStringLiteral("Random Playlist Playback"), Picture3), 330, 1770, 3615, 495);
    CheckFULLSCREENstart = place(new QCheckBox(QStringLiteral("Start In Fullscreen Mode"), Picture3), 330, 2235, 3615, 315);
    CheckPIP = place(new QCheckBox(QStringLiteral("Picture In Picture"), Picture3), 330, 2520, 3615, 495);
    CheckAlwaysOnTop = place(new QCheckBox(QStringLiteral("Always On Top"), Picture3), 330, 2985, 3615, 300);
    for (QWidget* w : {static_cast<QWidget*>(Option1[0]), static_cast<QWidget*>(Option1[1]),
                       static_cast<QWidget*>(CheckFastPreviewMode), static_cast<QWidget*>(CheckRANDOMplaylist),
                       static_cast<QWidget*>(CheckFULLSCREENstart), static_cast<QWidget*>(CheckPIP),
                       static_cast<QWidget*>(CheckAlwaysOnTop)})
    {
        w->setFont(optionFont);
        fitCaption(w);
    }

    Picture1 = group(this, 4470, 810, 4200, 2910);
    Label1 = label(Picture1, QStringLiteral("ZOOM + POSITION"), 120, 45, 3900, 465, heading);
    const QFont big = designFont(SansSerif, 18, true);
    CommandSmaller = place(new QPushButton(QStringLiteral("-"), Picture1), 180, 510, 675, 435);
    CommandSmaller->setFont(big);
    LabelZoomFaktor = label(Picture1, QStringLiteral("100 %"), 1095, 540, 1995, 435, big);
    LabelZoomFaktor->setAlignment(Qt::AlignCenter);
    CommandBigger = place(new QPushButton(QStringLiteral("+"), Picture1), 3315, 525, 705, 435);
    CommandBigger->setFont(big);
    HScrollZOOM = place(new QScrollBar(Qt::Horizontal, Picture1), 165, 1065, 3840, 300);
    HScrollZOOM->setRange(100, 1000);
    HScrollZOOM->setValue(100);
    HScrollZOOM->setTracking(false);  // dragging the thumb zooms on release
    CommandUP = place(new QPushButton(QStringLiteral("UP"), Picture1), 1365, 1500, 960, 360);
    CommandLEFT = place(new QPushButton(QStringLiteral("LEFT"), Picture1), 225, 1740, 960, 360);
    CommandRIGHT = place(new QPushButton(QStringLiteral("RIGHT"), Picture1), 2475, 1740, 960, 360);
    CommandDOWN = place(new QPushButton(QStringLiteral("DOWN"), Picture1), 1350, 1995, 960, 360);
    CommandRESET = place(new QPushButton(QStringLiteral("DEFAULT"), Picture1), 3135, 2460, 975, 345);

    CommandCANCEL = place(new QPushButton(QStringLiteral("CANCEL"), this), 6000, 5820, 1215, 495);
    CommandSAVESETTINGS = place(new QPushButton(QStringLiteral("STORE"), this), 7485, 5820, 1215, 495);

    connect(CommandSetVideoDir, &QPushButton::clicked, this, &SetupDialog::setVideoDir);
    connect(CommandSetCDROM, &QPushButton::clicked, this, [this] { chooseInto(TextCDROMdir); });
    connect(CommandSETmp3, &QPushButton::clicked, this, [this] { chooseInto(TextMP3dir); });

    connect(CheckAlwaysOnTop, &QCheckBox::clicked, this, [this] {
        if (CheckAlwaysOnTop->isChecked())
            app_.MDI().ENABLEontop();
        else
            app_.MDI().DISABLEontop();
    });
    connect(CheckPIP, &QCheckBox::clicked, this, [this] {
        HIDEall(app_);
        if (CheckPIP->isChecked())
            app_.MDI().PictureINpictureENABLE();
        else
            app_.MDI().FULLSCREENdisable();
    });
    connect(CheckRANDOMplaylist, &QCheckBox::clicked, this, [this] {
        if (CheckRANDOMplaylist->isChecked() && app_.Player().ListRandomPlayback.isEmpty())
            INITIALIZEListRandomPlayback();
    });

    connect(HScrollZOOM, &QScrollBar::valueChanged, this,
            [this](int v) { ZOOMvideo(app_, 0, 0, static_cast<std::int16_t>(v)); });
    connect(CommandBigger, &QPushButton::pressed, this, [this] { holdZoom(CommandBigger, +1); });
    connect(CommandSmaller, &QPushButton::pressed, this, [this] { holdZoom(CommandSmaller, -1); });
    connect(CommandBigger, &QPushButton::released, this, [this] { app_.st.motionstop = true; });
    connect(CommandSmaller, &QPushButton::released, this, [this] { app_.st.motionstop = true; });
    connect(CommandLEFT, &QPushButton::clicked, this, [this] { movePicture(-50, 0); });
    connect(CommandRIGHT, &QPushButton::clicked, this, [this] { movePicture(50, 0); });
    connect(CommandUP, &QPushButton::clicked, this, [this] { movePicture(0, -50); });
    connect(CommandDOWN, &QPushButton::clicked, this, [this] { movePicture(0, 50); });
    connect(CommandRESET, &QPushButton::clicked, this, &SetupDialog::pressRESET);

    connect(CommandCANCEL, &QPushButton::clicked, this, [this] { HIDEall(app_); });
    connect(CommandSAVESETTINGS, &QPushButton::clicked, this, [this] {
        HIDEall(app_);
        SAVEsettings(app_);
    });

    hide();
}

void SetupDialog::INITIALIZE()
{
    HIDEall(app_);
    // Centred on the main window's client area.
    const MainWindow& mdi = app_.MDI();
    const QPoint centred(px(roundEven((mdi.widthTw() - widthTw(this)) / 2.0)),
                         px(roundEven((mdi.heightTw() - heightTw(this)) / 2.0)));
    move(mdi.client()->mapToGlobal(centred));
    showZoomOnScrollBar();
    show();
    raise();
}

void SetupDialog::INITIALIZEListRandomPlayback()
{
    QStringList& random = app_.Player().ListRandomPlayback;
    for (const QString& path : app_.DATEIMENU().lstFoundFiles())
        random.append(path);
}

QString SetupDialog::SelectDirectory(const QString& Titel, const QString& StartPath)
{
    return app_.sv.selectDirectory(Titel, StartPath);
}

bool SetupDialog::chooseInto(QLineEdit* field)
{
    // A cancelled choice leaves the field as it was.
    const QString chosen = SelectDirectory(ChooseDirectoryTitle, ChooseDirectoryStart);
    if (chosen.isEmpty())
        return false;
    field->setText(chosen);
    return true;
}

void SetupDialog::setVideoDir()
{
    // A cancelled choice stores nothing and the program goes on.
    if (!chooseInto(TextVideoDir))
        return;
    // A settings file that cannot be written has been reported; the program
    // goes on rather than claiming the change was stored.
    if (!SAVEsettings(app_))
        return;
    app_.sv.messageBox(QStringLiteral("Änderungen durchgeführt und gespeichert. Bitte Programm neu starten..."));
    app_.video().setFileName(QString());
    app_.sv.endProgram();
}

void SetupDialog::holdZoom(QPushButton* button, int step)
{
    AppState& st = app_.st;
    st.motionstop = false;
    // The release ends the loop; so does the button going away unreleased
    // (the dialog hidden under the mouse), which would otherwise never end it.
    while (!st.motionstop && button->isDown() && button->isVisible()) {
        const int next = st.ZoomPercent + step;
        if (next >= HScrollZOOM->minimum() && next <= HScrollZOOM->maximum()) {
            if (HScrollZOOM->value() == next)
                // The bar already stands there (the zoom was changed by a
                // key since): zoom without waiting for a change of the bar.
                ZOOMvideo(app_, 0, 0, static_cast<std::int16_t>(next));
            else
                HScrollZOOM->setValue(next);
        }
        app_.sv.runEventsFor(ZoomStepMilliseconds);
    }
    st.motionstop = true;
}

void SetupDialog::movePicture(int dx, int dy)
{
    MediaPlayer& player = app_.video();
    player.setPictureRect(player.pictureRect().translated(dx, dy));
}

void SetupDialog::showZoomOnScrollBar()
{
    const QSignalBlocker block(HScrollZOOM);
    HScrollZOOM->setValue(app_.st.ZoomPercent);
}

void SetupDialog::pressRESET()
{
    std::int16_t zoom = 100;
    SIZEvideo(app_, zoom, 1);
    showZoomOnScrollBar();
    repaint();
}

} // namespace vv
