#include "script/text_entry_dialog.h"

#include "app/app.h"
#include "app/twips.h"

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
    connect(CommandCANCEL, &QPushButton::clicked, this, &QWidget::hide);
}

void TextEntryDialog::INITIALIZE(const QString& text)
{
    Text1->setText(text);
    show();
    raise();
    activateWindow();
    Text1->setFocus();
}

} // namespace vv
