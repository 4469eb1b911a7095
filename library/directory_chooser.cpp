#include "library/directory_chooser.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "app/app.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/twips.h"
#include "library/directory_browser.h"

namespace vv {

namespace {

QString userName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return user;
}

} // namespace

DirectoryChooser::DirectoryChooser(App& app)
    : QDialog(&app.MDI(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), app_(app)
{
    setWindowTitle(QStringLiteral("Verzeichnis wählen..."));
    setColours(this, LightGrey, Qt::black);

    Label1 = new QLabel(QStringLiteral("Gewähltes Verzeichnis:"), this);
    setGeometryTw(Label1, 210, 195, 1650, 195);
    fitCaption(Label1);
    LabelQuellVERZ = new QLabel(this);
    setGeometryTw(LabelQuellVERZ, 1950, 150, 3525, 255);
    QFont bold = LabelQuellVERZ->font();
    bold.setBold(true);
    LabelQuellVERZ->setFont(bold);
    Drive1 = new QComboBox(this);
    setGeometryTw(Drive1, 195, 690, 3960, 315);
    Dir1 = new QListWidget(this);
    setGeometryTw(Dir1, 180, 1140, 3945, 2790);
    Command1 = new QPushButton(QStringLiteral("Ok"), this);
    setGeometryTw(Command1, 5955, 3285, 1215, 495);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    setGeometryTw(Command2, 4455, 3285, 1215, 495);
    setFixedSize(px(7350), px(4065));

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Drive1);
    setTabOrder(Drive1, Dir1);
    Command1->setDefault(true);

    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &DirectoryChooser::reject);
    connect(Drive1, &QComboBox::activated, this, &DirectoryChooser::rootChosen);
    connect(Dir1, &QListWidget::itemDoubleClicked, this, &DirectoryChooser::openItem);
    Dir1->installEventFilter(this);

    current_ = chooserPathText(QDir::homePath());
}

void DirectoryChooser::UpdateLabelQuellVerz()
{
    LabelQuellVERZ->setText(current_);
    LabelQuellVERZ->setToolTip(current_);   // a long path is cut in the label
}

void DirectoryChooser::fillRoots()
{
    roots_ = chooserRoots(QDir::homePath(), userName());
    const QSignalBlocker block(Drive1);
    Drive1->clear();
    Drive1->addItems(roots_);
}

void DirectoryChooser::openDirectory(const QString& path)
{
    const QString previousRoot = rootOf(roots_, current_);
    if (!previousRoot.isEmpty())
        lastUnderRoot_.insert(previousRoot, current_);

    current_ = nearestExistingDirectory(path);
    {
        const QSignalBlocker block(Dir1);
        Dir1->clear();
        if (current_ != QLatin1String("/")) {
            auto* up = new QListWidgetItem(ChooserUpEntry, Dir1);
            up->setData(Qt::UserRole, parentDirectory(current_));
        }
        const QString base = current_ == QLatin1String("/") ? current_ : current_ + QLatin1Char('/');
        for (const QString& name : subdirectoryNames(current_)) {
            auto* item = new QListWidgetItem(name, Dir1);
            item->setData(Qt::UserRole, base + name);
        }
        if (Dir1->count() > 0)
            Dir1->setCurrentRow(0);
        Dir1->scrollToTop();
    }
    {
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(static_cast<int>(roots_.indexOf(rootOf(roots_, current_))));
    }
    UpdateLabelQuellVerz();
}

void DirectoryChooser::rootChosen(int index)
{
    if (index < 0 || index >= roots_.size())
        return;
    // A root opens where the chooser was last below it, as a drive opens
    // at its current directory.
    const QString root = roots_.at(index);
    const QString last = lastUnderRoot_.value(root, root);
    openDirectory(QFileInfo(last).isDir() && rootOf(roots_, last) == root ? last : root);
}

void DirectoryChooser::openItem(QListWidgetItem* item)
{
    if (item)
        openDirectory(item->data(Qt::UserRole).toString());
}

bool DirectoryChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Dir1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openItem(Dir1->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DirectoryChooser::prepare(const QString& Titel, const QString& StartPath)
{
    setWindowTitle(Titel);
    // Centred over the main window.
    const QRect main = app_.MDI().frameGeometry();
    move(main.x() + (main.width() - width()) / 2, main.y() + (main.height() - height()) / 2);
    fillRoots();
    // A start directory that does not exist opens where the chooser was left.
    if (!StartPath.isEmpty() && QFileInfo(StartPath).isDir())
        openDirectory(StartPath);
    else
        openDirectory(current_);
}

void DirectoryChooser::INITIALIZE(const QString& Titel, const QString& StartPath)
{
    prepare(Titel, StartPath);
    exec();
}

void DirectoryChooser::reject()
{
    LabelQuellVERZ->clear();
    LabelQuellVERZ->setToolTip(QString());
    QDialog::reject();
}

} // namespace vv
