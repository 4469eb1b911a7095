#pragma once
// The directory chooser: a small modal dialog with a list of roots and a
// directory list. The result is the directory the list has open, or ""
// after Cancel.

#include <QComboBox>
#include <QDialog>
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
    // was left when StartPath is "" or does not exist); returns when it is
    // closed. The result is then in LabelQuellVERZ.
    void INITIALIZE(const QString& Titel, const QString& StartPath);
    // Copies the directory list's present directory into LabelQuellVERZ.
    void UpdateLabelQuellVerz();

    QString result() const { return LabelQuellVERZ->text(); }

    QLabel* Label1;
    QLabel* LabelQuellVERZ;
    QComboBox* Drive1;
    QListWidget* Dir1;
    QPushButton* Command1;  // Ok
    QPushButton* Command2;  // Cancel

private:
    App& app_;
    QString current_;
};

} // namespace vv
