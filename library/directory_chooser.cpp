#include "library/directory_chooser.h"

#include "app/app.h"
#include "app/twips.h"

namespace vv {

DirectoryChooser::DirectoryChooser(App& app) : QDialog(nullptr), app_(app)
{
    setWindowTitle(QStringLiteral("Verzeichnis wählen..."));
    Label1 = new QLabel(QStringLiteral("Gewähltes Verzeichnis:"), this);
    setGeometryTw(Label1, 210, 195, 1650, 195);
    LabelQuellVERZ = new QLabel(this);
    setGeometryTw(LabelQuellVERZ, 1950, 150, 3525, 255);
    Drive1 = new QComboBox(this);
    setGeometryTw(Drive1, 195, 690, 3960, 315);
    Dir1 = new QListWidget(this);
    setGeometryTw(Dir1, 180, 1140, 3945, 2790);
    Command1 = new QPushButton(QStringLiteral("Ok"), this);
    setGeometryTw(Command1, 5955, 3285, 1215, 495);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    setGeometryTw(Command2, 4455, 3285, 1215, 495);
    setFixedSize(px(7350), px(4065));
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, [this] {
        LabelQuellVERZ->clear();
        reject();
    });
}

void DirectoryChooser::UpdateLabelQuellVerz()
{
    LabelQuellVERZ->setText(current_);
}

void DirectoryChooser::INITIALIZE(const QString& Titel, const QString& StartPath)
{
    setWindowTitle(Titel);
    if (!StartPath.isEmpty())
        current_ = StartPath;
    UpdateLabelQuellVerz();
    exec();
}

} // namespace vv
