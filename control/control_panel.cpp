#include "control/control_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include "app/app.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/twips.h"
#include "control/crazy_vision.h"
#include "control/key_dispatcher.h"
#include "control/key_help.h"
#include "control/panel_layout.h"
#include "control/transport.h"
#include "control/virtual_keys.h"
#include "library/video_selection_window.h"
#include "music/music_window.h"
#include "script/marks.h"
#include "script/overlays.h"
#include "setup/setup_dialog.h"
#include "video/displays.h"

namespace vv {

namespace {

const QColor DarkGrey(0x40, 0x40, 0x40);

QWidget* frame(QWidget* parent, int left, int top, int width, int height, const QColor& colour)
{
    auto* w = new QWidget(parent);
    setColours(w, colour);
    setGeometryTw(w, left, top, width, height);
    return w;
}

QFont transportFont() { return designFont(QStringLiteral("Arial"), 9.75, true); }
QFont digitFont() { return designFont(QStringLiteral("Arial"), 9.75, false); }
QFont smallBoldFont() { return designFont(QStringLiteral("MS Sans Serif"), 8.25, true); }
QFont plainFont() { return designFont(QStringLiteral("MS Sans Serif"), 8.25, false); }

QPushButton* button(QWidget* parent, const QString& caption, const QString& toolTip, int left,
                    int top, int width, int height, const QFont& f)
{
    auto* b = new QPushButton(caption, parent);
    b->setFont(f);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    setGeometryTw(b, left, top, width, height);
    return b;
}

// The small picture of the logo frame: a strip of film.
QPixmap logoPicture()
{
    QPixmap pm(28, 24);
    pm.fill(Qt::black);
    QPainter p(&pm);
    p.setPen(Qt::NoPen);
    p.setBrush(LightGrey);
    p.drawRect(2, 3, 24, 18);
    p.setBrush(Qt::black);
    for (int x = 4; x < 26; x += 5) {
        p.drawRect(x, 4, 2, 2);
        p.drawRect(x, 18, 2, 2);
    }
    p.setBrush(QColor(0x40, 0x80, 0xC0));
    p.drawRect(5, 8, 18, 8);
    return pm;
}

} // namespace

ControlPanel::ControlPanel(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, LightGrey);
    setFocusPolicy(Qt::ClickFocus);

    // Transport.
    PictureControls1 = frame(this, 0, 0, 5835, 570, LightGrey);
    CommandEXIT = button(PictureControls1, QStringLiteral("X"), QStringLiteral("Programm beenden."),
                         0, 0, 345, 360, designFont(QStringLiteral("Arial Black"), 9.75, false));
    Picture2 = frame(PictureControls1, 390, 15, 1890, 510, Qt::black);
    auto* logo = new QLabel(Picture2);
    logo->setPixmap(logoPicture());
    logo->move(3, 5);
    LabelLogo = new QLabel(QStringLiteral("Videoplayer Version 0.1a"), Picture2);
    LabelLogo->setFont(designFont(QStringLiteral("MS Sans Serif"), 6.75, true));
    QPalette logoPal = LabelLogo->palette();
    logoPal.setColor(QPalette::WindowText, Qt::white);
    LabelLogo->setPalette(logoPal);
    LabelLogo->setGeometry(34, 0, Picture2->width() - 36, Picture2->height());
    LabelLogo->setWordWrap(true);
    Picture7 = frame(PictureControls1, 2340, 0, 3345, 525, DarkGrey);
    const QFont tf = transportFont();
    CommandFASTBACK = button(Picture7, QStringLiteral("<<<"), QStringLiteral("30 Sekunden zurück."), 30, 15, 525, 435, tf);
    CommandBACK = button(Picture7, QStringLiteral("<<"), QStringLiteral("1 Sekunde zurück."), 555, 15, 435, 435, tf);
    CommandPREVframe = button(Picture7, QStringLiteral("<"), QStringLiteral("Zum zuvorigen Einzelbild spulen."), 1005, 15, 225, 435, tf);
    CommandPLAY = button(Picture7, QStringLiteral("PLAY"), QStringLiteral("Start / stop media."), 1260, 15, 795, 435, tf);
    CommandNEXTframe = button(Picture7, QStringLiteral(">"), QStringLiteral("Zum nächsten Einzelbild spulen."), 2085, 15, 240, 435, tf);
    CommandFORWARD = button(Picture7, QStringLiteral(">>"), QStringLiteral("1 Sekunde vorwärts."), 2340, 15, 405, 435, tf);
    CommandFASTFORWARD = button(Picture7, QStringLiteral(">>>"), QStringLiteral("30 Sekunden vorwärts."), 2760, 15, 525, 435, tf);

    // Functions.
    PictureControls2 = frame(this, 0, 570, 5835, 570, LightGrey);
    Picture4 = frame(PictureControls2, 375, 0, 1905, 540, DarkGrey);
    const QFont pf = plainFont();
    CommandSETUP = button(Picture4, QStringLiteral("setup"), QStringLiteral("Setup-Dialog aufrufen."), 0, 0, 615, 240, pf);
    CommandHELP = button(Picture4, QStringLiteral("help"), QStringLiteral("Tastaturbelegung anzeigen."), 615, 0, 615, 240, pf);
    CommandFULLSCREEN = button(Picture4, QStringLiteral("full"), QStringLiteral("Vollbild-Darstellung ein/aus."), 1230, 0, 615, 240, pf);
    CommandCRAZY = button(Picture4, QStringLiteral("crazy"),
                          QStringLiteral("Spezialfunktion: Simuliert \"verrückte\" Kammerafahrt und Schwenks im Video."),
                          0, 240, 615, 240, pf);
    CommandSLOW = button(Picture4, QStringLiteral("slow"), QStringLiteral("Video-Abspielgeschwindigkeit reduzieren."), 615, 240, 615, 240, pf);
    CommandFAST = button(Picture4, QStringLiteral("fast"), QStringLiteral("Video-Abspielgeschwindigkeit erhöhen."), 1230, 240, 615, 240, pf);
    Picture3 = frame(PictureControls2, 2340, 0, 2250, 525, DarkGrey);
    const QFont bf = smallBoldFont();
    CommandDatei = button(Picture3, QStringLiteral("VIDEO"), QStringLiteral("Videoauswahlliste anzeigen."), 30, 15, 900, 240, bf);
    CommandPreviousVideo = button(Picture3, QStringLiteral("-"), QStringLiteral("Zuvoriges Video laden."), 30, 255, 450, 195, bf);
    CommandNextVideo = button(Picture3, QStringLiteral("+"), QStringLiteral("Nächstes Video laden."), 480, 255, 450, 195, bf);
    CommandCD = button(Picture3, QStringLiteral("CD"), QString(), 945, 15, 585, 435, bf);
    CommandMP3 = button(Picture3, QStringLiteral("MP3"), QString(), 1545, 15, 615, 435, bf);
    Picture6 = frame(PictureControls2, 4605, 0, 1080, 525, DarkGrey);
    CommandINTERACT = button(Picture6, QStringLiteral("ACTION"), QStringLiteral("Interaktions-Menü aufrufen."), 30, 15, 990, 435, bf);

    // Scene index keypad: 1 2 3 / 4 5 6 / 7 8 9 like a telephone, 0 under "index".
    PictureControls3 = frame(this, 0, 0, 1575, 1125, LightGrey);
    Picture1 = frame(PictureControls3, 15, 15, 1500, 1140, DarkGrey);
    // The tall, narrow "index" button needs a small, narrow type to show its word.
    QFont indexFont = designFont(QStringLiteral("MS Sans Serif"), 6.75, false);
    indexFont.setStretch(QFont::Condensed);
    CommandINDEX = button(Picture1, QStringLiteral("index"), QStringLiteral("Szenenbilder aus Video anzeigen."), 1095, 15,
                          330, 690, indexFont);
    fitCaption(CommandINDEX);
    const QFont df = digitFont();
    for (int d = 1; d <= 9; ++d) {
        const int row = (d - 1) / 3;
        const int col = (d - 1) % 3;
        CommandZiffer[static_cast<std::size_t>(d)] =
            button(Picture1, QString::number(d), QString(), 15 + col * 360, 15 + row * 360, 330, 330, df);
    }
    CommandZiffer[0] = button(Picture1, QStringLiteral("0"), QString(), 1095, 735, 330, 330, df);

    // Range marking and the interaction list.
    PictureControls4 = frame(this, 0, 0, 4335, 1170, LightGrey);
    ListSCRIPT = new ScriptListBox(PictureControls4);
    setGeometryTw(ListSCRIPT, 0, 60, 2985, 1035);
    ListSCRIPT->setToolTip(QStringLiteral("Interaktivitäts-Liste - Anspringen durch Doppelklick."));
    QPalette listPal = ListSCRIPT->palette();
    listPal.setColor(QPalette::Base, DarkGrey);
    listPal.setColor(QPalette::Text, Qt::white);
    ListSCRIPT->setPalette(listPal);
    ListSCRIPT->setFont(pf);
    Picture5 = frame(PictureControls4, 3045, 30, 1290, 540, LightGrey);
    CommandMarkIN = button(Picture5, QStringLiteral("IN"), QStringLiteral("Aktuelle Videoposition als Bereichsstart setzen."), 0, 0, 600, 240, pf);
    CommandMarkOUT = button(Picture5, QStringLiteral("OUT"), QStringLiteral("Aktuelle Videoposition als Bereichsende setzen."), 615, -15, 600, 240, pf);
    CommandMARK = button(Picture5, QStringLiteral("SET START"), QString(), 0, 240, 1215, 240, pf);
    CommandLEARN = button(PictureControls4, QStringLiteral("LEARN"),
                          QStringLiteral("Aktuellen Bereichstart (=Sprung) oder aktuellen Bereichsstart+Bereichsende (=LOOP) in Interaktivitätsliste eintragen."),
                          3030, 585, 720, 240, pf);
    CommandDELETE = button(PictureControls4, QStringLiteral("DEL"), QStringLiteral("Aktuell markierten Eintrag in Interaktivitätsliste löschen."),
                           3030, 825, 720, 240, pf);

    setGeometryTw(this, 0, 0, 5835, 1140);

    // Before a video is loaded only what needs no video works.
    for (QPushButton* b : {CommandFASTBACK, CommandBACK, CommandPREVframe, CommandPLAY, CommandNEXTframe,
                           CommandFORWARD, CommandFASTFORWARD, CommandMarkIN, CommandMarkOUT, CommandMARK,
                           CommandLEARN, CommandDELETE, CommandINTERACT, CommandCRAZY, CommandSLOW, CommandFAST,
                           CommandINDEX, CommandDatei, CommandPreviousVideo, CommandNextVideo})
        b->setEnabled(false);
    for (QPushButton* b : CommandZiffer)
        b->setEnabled(false);

    App& a = app_;
    connect(CommandEXIT, &QPushButton::clicked, this, [&a] { EXITplayer(a); });
    connect(CommandFASTBACK, &QPushButton::clicked, this, [&a] { GOfastREWIND(a); });
    connect(CommandBACK, &QPushButton::clicked, this, [&a] { GOrewind(a); });
    connect(CommandPREVframe, &QPushButton::clicked, this, [&a] { GOpreviousFRAME(a); });
    connect(CommandPLAY, &QPushButton::clicked, this, [&a] { CommandPLAY_Click(a); });
    connect(CommandNEXTframe, &QPushButton::clicked, this, [&a] { GOnextFRAME(a); });
    connect(CommandFORWARD, &QPushButton::clicked, this, [&a] { GOforward(a); });
    connect(CommandFASTFORWARD, &QPushButton::clicked, this, [&a] { GOfastFORWARD(a); });
    connect(CommandSETUP, &QPushButton::clicked, this, [&a] { a.SETUP().INITIALIZE(); });
    connect(CommandHELP, &QPushButton::clicked, this, [&a] { SHOWkeyboardHELP(a); });
    connect(CommandFULLSCREEN, &QPushButton::clicked, this, [&a] { FULLSCREENswitch(a); });
    connect(CommandCRAZY, &QPushButton::clicked, this, [&a] { CRAZYvisionSWITCH(a); });
    connect(CommandSLOW, &QPushButton::clicked, this, [&a] { SPEEDdown(a); });
    connect(CommandFAST, &QPushButton::clicked, this, [&a] { SPEEDup(a); });
    connect(CommandDatei, &QPushButton::clicked, this, [&a] { VIDEOLISTswitch(a, a.st.VideoDir); });
    connect(CommandPreviousVideo, &QPushButton::clicked, this, [&a] { LOADpreviousVIDEO(a); });
    connect(CommandNextVideo, &QPushButton::clicked, this, [&a] { LOADnextVIDEO(a); });
    connect(CommandCD, &QPushButton::clicked, this, [&a] { a.DATEIMENU().INITIALIZE(a.st.CDROMDir); });
    connect(CommandMP3, &QPushButton::clicked, this, [&a] { a.FormMP3().INITIALIZE(a.st.MP3Dir); });
    connect(CommandINTERACT, &QPushButton::clicked, this, [&a] { SHOWinteraction(a); });
    connect(CommandINDEX, &QPushButton::clicked, this, [&a] { SELECTindex(a); });
    for (int d = 0; d <= 9; ++d)
        connect(CommandZiffer[static_cast<std::size_t>(d)], &QPushButton::clicked, this,
                [&a, d] { JUMPindex(a, static_cast<std::int16_t>(d)); });
    connect(CommandMarkIN, &QPushButton::clicked, this, [&a] { CommandMarkIN_Click(a); });
    connect(CommandMarkOUT, &QPushButton::clicked, this, [&a] { CommandMarkOUT_Click(a); });
    connect(CommandMARK, &QPushButton::clicked, this, [&a] { CommandMARK_Click(a); });
    connect(CommandLEARN, &QPushButton::clicked, this, [&a] { CommandLEARN_Click(a); });
    connect(CommandDELETE, &QPushButton::clicked, this, [&a] { CommandDELETE_Click(a); });
    connect(ListSCRIPT, &ScriptListBox::clicked, this, [&a] { ListSCRIPT_Click(a); });
    connect(ListSCRIPT, &ScriptListBox::doubleClicked, this, [&a] { ListSCRIPT_DblClick(a); });
    connect(ListSCRIPT, &ScriptListBox::rightPressed, this, [&a] { ListSCRIPT_RightButton(a); });

    for (QWidget* w : {static_cast<QWidget*>(CommandDatei), static_cast<QWidget*>(CommandPLAY),
                       static_cast<QWidget*>(CommandFORWARD), static_cast<QWidget*>(CommandFASTFORWARD),
                       static_cast<QWidget*>(CommandBACK), static_cast<QWidget*>(CommandFASTBACK),
                       static_cast<QWidget*>(CommandMARK)})
        passKeysOf(w);

    hide();
}

void ControlPanel::passKeysOf(QWidget* w)
{
    w->installEventFilter(this);
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // The key goes to the key map; space and enter still press the
        // button itself.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool buttonKey = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                               key->key() == Qt::Key_Enter;
        if (const int code = virtualKey(*key); code && !buttonKey) {
            KEYcommand(app_, code);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ControlPanel::keyPressEvent(QKeyEvent* event)
{
    // Only keys pressed while the panel itself has the focus; keys that a
    // button of the panel left unhandled are not passed on.
    if (const int code = virtualKey(*event); code && QApplication::focusWidget() == this) {
        KEYcommand(app_, code);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ControlPanel::pressPLAY()
{
    CommandPLAY_Click(app_);
}

bool ControlPanel::meantToPlay() const
{
    return CommandPLAY->text() == QLatin1String("STOP");
}

void ControlPanel::pressMARK()
{
    CommandMARK_Click(app_);
}

void ControlPanel::INITIALIZE()
{
    MainWindow& mdi = app_.MDI();
    std::array<PanelGroup, 4> groups;
    QWidget* const widgets[4] = {PictureControls1, PictureControls2, PictureControls3, PictureControls4};
    for (std::size_t i = 0; i < 4; ++i)
        groups[i] = {static_cast<float>(widthTw(widgets[i])), static_cast<float>(heightTw(widgets[i])),
                     static_cast<float>(topTw(widgets[i]))};
    const PanelPlacement placement = layoutPanel(static_cast<float>(mdi.widthTw()), groups);
    for (std::size_t i = 0; i < 4; ++i) {
        const GroupPlacement& g = placement.groups[i];
        QWidget* w = widgets[i];
        const double left = g.left ? *g.left : leftTw(w);
        const double top = g.top ? *g.top : topTw(w);
        moveTw(w, left, top);
        if (g.visible)
            w->setVisible(*g.visible);
    }
    const double height = placement.panelHeight ? *placement.panelHeight : heightTw(this);
    setGeometryTw(this, 0, mdi.clientHeightTw() - height, mdi.clientWidthTw(), height);
    show();
    raise();

    app_.InfoDisplay().INITIALIZE(QStringLiteral("NAVIGATE"), 2);
    app_.st.ActiveMode = 1;
}

} // namespace vv
