#include "script/text_entry_dialog.h"

#include <QKeyEvent>

#include "app/app.h"
#include "app/main_window.h"
#include "app/twips.h"
#include "control/control_panel.h"
#include "script/mark_rules.h"
#include "script/marks.h"
#include "video/player_window.h"

namespace vv {

TextEntryDialog::TextEntryDialog(App& app) : QWidget(nullptr, Qt::Tool), app_(app)
{
    setWindowTitle(AppTitle);
    Text1 = new QLineEdit(this);
    setGeometryTw(Text1, 120, 120, 4200, 315);
    CommandOK = new QPushButton(QStringLiteral("OK"), this);
    setGeometryTw(CommandOK, 1920, 555, 1155, 375);
    CommandCANCEL = new QPushButton(QStringLiteral("CANCEL"), this);
    setGeometryTw(CommandCANCEL, 3165, 555, 1155, 375);
    resize(px(4440), px(1050));
    connect(CommandOK, &QPushButton::clicked, this, &TextEntryDialog::CommandOK_Click);
    connect(CommandCANCEL, &QPushButton::clicked, this, &TextEntryDialog::CommandCANCEL_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &TextEntryDialog::CommandOK_Click);
}

void TextEntryDialog::INITIALIZE(const QString& text)
{
    Text1->setText(text);
    const MainWindow& mdi = app_.MDI();
    const ControlPanel& menu = app_.menu();
    const PlayerWindow& player = app_.Player();
    const QWidget* group = menu.PictureControls3;
    const QWidget* list = menu.ListSCRIPT;
    const DialogAnchor chain[5] = {
        {static_cast<double>(mdi.leftTw()), static_cast<double>(mdi.topTw())},
        {static_cast<double>(player.leftTw()), static_cast<double>(player.topTw())},
        {static_cast<double>(leftTw(&menu)), static_cast<double>(topTw(&menu))},
        {static_cast<double>(leftTw(group)), static_cast<double>(topTw(group))},
        {static_cast<double>(leftTw(list)), static_cast<double>(topTw(list))},
    };
    const DialogPlace place = textEntryPlace(chain, mdi.heightTw(), mdi.clientHeightTw());
    moveTw(this, place.left, place.top);
    show();
    raise();
    activateWindow();
    Text1->setFocus();
}

void TextEntryDialog::CommandOK_Click()
{
    TextEntryConfirmed(app_, Text1->text());
    hide();
}

void TextEntryDialog::CommandCANCEL_Click()
{
    hide();
}

void TextEntryDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        CommandCANCEL_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vv
