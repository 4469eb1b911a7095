#pragma once
// The small dialog in which the user gives a script entry its description.

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vv {

class App;

class TextEntryDialog : public QWidget {
    Q_OBJECT
public:
    explicit TextEntryDialog(App& app);

    // Puts text into the field, places the dialog beside the interaction list
    // and shows it (not modal).
    void INITIALIZE(const QString& text);

    QLineEdit* Text1;
    QPushButton* CommandOK;
    QPushButton* CommandCANCEL;

private:
    App& app_;
};

} // namespace vv
