#pragma once
// The directory chooser: a small modal dialog with a list of roots (the file
// system root, the home folder, mounted media) and the list of the open
// directory's subdirectories, ".." leading up. A double click (or Enter)
// opens a directory. The result is the directory the list has open, or ""
// after Cancel; closing the dialog by its frame or with Escape counts as
// Cancel. The chooser remembers where it was left.

#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vv {

class App;

class DirectoryChooser : public QDialog {
    Q_OBJECT
public:
    explicit DirectoryChooser(App& app);

    // Shows the chooser modally with a title, opened at StartPath (where it
    // was left when StartPath is "" or is no directory); returns when it is
    // closed. The result is then in LabelQuellVERZ.
    void INITIALIZE(const QString& Titel, const QString& StartPath);
    // Copies the directory list's present directory into LabelQuellVERZ.
    void UpdateLabelQuellVerz();

    QString result() const { return LabelQuellVERZ->text(); }
    // The directory the list has open.
    QString currentDirectory() const { return current_; }

    // Prepares the chooser as INITIALIZE does, without showing it (for
    // callers that show it themselves).
    void prepare(const QString& Titel, const QString& StartPath);
    // Opens a directory in the list (the nearest existing one).
    void openDirectory(const QString& path);

    QLabel* Label1;
    QLabel* LabelQuellVERZ;
    QComboBox* Drive1;
    QListWidget* Dir1;
    QPushButton* Command1;  // Ok
    QPushButton* Command2;  // Cancel

public slots:
    // Cancel: the result becomes "" and the chooser closes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRoots();
    void rootChosen(int index);
    void openItem(QListWidgetItem* item);

    App& app_;
    QString current_;
    QStringList roots_;
    // The directory last open below each root.
    QHash<QString, QString> lastUnderRoot_;
};

// Text of the first entry of the directory list, which leads one level up.
inline const QString ChooserUpEntry = QStringLiteral("..");

} // namespace vv
