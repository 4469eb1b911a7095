#include "music/music_window.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

#include "app/app.h"
#include "app/look.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "control/key_dispatcher.h"
#include "music/acdc.h"
#include "script/overlays.h"
#include "script/slider_window.h"
#include "video/displays.h"
#include "video/loading.h"
#include "video/player_window.h"

namespace vv {

QString musicPositionText(int index, int count)
{
    return QString::number(index + 1) + QStringLiteral(" OF ") + QString::number(count);
}

MusicWindow::MusicWindow(App& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setColours(this, LightGrey, Qt::black);

    LabelTitel = new QLabel(QStringLiteral("SELECT MUSIC..."), this);
    LabelTitel->setFont(designFont(QStringLiteral("MS Sans Serif"), 24, true));
    setGeometryTw(LabelTitel, 150, 120, 6000, 660);
    LabelFile1Count = new QLabel(QStringLiteral("1 of 9999"), this);
    LabelFile1Count->setFont(designFont(QStringLiteral("MS Sans Serif"), 12, true));
    LabelFile1Count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setGeometryTw(LabelFile1Count, 6300, 420, 3405, 390);

    lstFoundFiles2 = new FoundListBox(this);
    setGeometryTw(lstFoundFiles2, 150, 915, 9555, 6120);
    lstFoundFiles2->setFont(designFont(QStringLiteral("MS Sans Serif"), 18, true));
    QPalette listPal = lstFoundFiles2->palette();
    listPal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    listPal.setColor(QPalette::Text, Qt::black);
    lstFoundFiles2->setPalette(listPal);
    lstFoundFiles2->installEventFilter(this);
    connect(lstFoundFiles2, &FoundListBox::selected, this, &MusicWindow::selectionChanged);
    connect(lstFoundFiles2, &QListWidget::itemDoubleClicked, this, [this] { doubleClicked(); });

    setGeometryTw(this, 0, 0, 9855, 8085);

    // The music plays on a player of its own: sound only, positions in
    // seconds.
    player_ = app.makePlayer(nullptr);
    player_->setPositionUnits(MediaPlayer::Seconds);

    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, [this] { ACDCtick(app_); });
    Timer1.start();
    hide();
}

MusicWindow::~MusicWindow()
{
    Timer1.stop();
}

void MusicWindow::selectionChanged(int index)
{
    if (index < 0 || index >= found().count())
        return;
    LabelFile1Count->setText(musicPositionText(index, lstFoundFiles2->count()));
}

void MusicWindow::INITIALIZE(const QString& StartPath)
{
    if (app_.hasMenu())
        app_.menu().hide();
    if (app_.hasFormSlider())
        app_.FormSlider().hide();
    HIDEscenepictures(app_);
    if (app_.st.MP3Dir != StartPath || found().isEmpty())
        SCANMEDIA(StartPath);
    const PlayerWindow& player = app_.Player();
    move((player.width() - width()) / 2, (player.height() - height()) / 2);
    show();
    raise();
    lstFoundFiles2->setFocus(Qt::OtherFocusReason);
    app_.st.ActiveMode = 3;
}

void MusicWindow::SCANMEDIA(const QString& StartPath)
{
    lstFoundFiles2->scan(app_, StartPath, MusicPatterns, static_cast<int>(app_.st.MP3Dir.size()));
}

void MusicWindow::InitializeSound(const QString& Datei)
{
    const QScopedValueRollback<bool> entering(enteringSound_, true);
    ACDCenterFile(app_, Datei);
    MediaPlayer& player = MediaPlayer1();
    player.setPositionUnits(MediaPlayer::Seconds);
    if (!player.setFileName(Datei)) {
        // The simulation moves on to the next song at its next tick.
        app_.InfoDisplay().INITIALIZE(QStringLiteral("MUSIC FILE CANNOT BE PLAYED!"), 3);
        return;
    }
    player.play();
}

QString MusicWindow::getNEXTfromPLAYLIST()
{
    const int count = found().count();
    if (count == 0)
        return QString();
    const int current = lstFoundFiles2->currentRow();
    const int next = (current < 0 || current + 1 >= count) ? 0 : current + 1;
    lstFoundFiles2->select(next);
    return found().pathAt(next);
}

void MusicWindow::doubleClicked()
{
    const QString path = lstFoundFiles2->selectedPath();
    if (path.isEmpty())
        return;
    HIDEall(app_);
    hide();
    InitializeSound(path);
}

void MusicWindow::enterPressed()
{
    const QString path = lstFoundFiles2->selectedPath();
    if (path.isEmpty())
        return;
    app_.st.CurrentVideo = path;
    hide();
    // This window was the overlay up: with it gone the next Esc opens it again.
    if (app_.st.ActiveMode == 3)
        app_.st.ActiveMode = 0;
    app_.Player().show();
    INITIALIZEvideo(app_, path, 0);
}

bool MusicWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstFoundFiles2 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        KEYcommand(app_, *key);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            enterPressed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vv
