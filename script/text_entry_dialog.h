#pragma once
// The small dialog in which the user gives a script entry its description.
// It is not modal: while it is open the list's selection may change, and OK
// gives the text to the entry selected at that moment.

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vv {

class App;

class TextEntryDialog : public QWidget {
    Q_OBJECT
public:
    explicit TextEntryDialog(App& app);

    // Puts text into the field, places the dialog over the control panel's
    // interaction list and shows it (not modal).
    void INITIALIZE(const QString& text);

    // OK (also Enter in the field): the description goes to the selected
    // entry, the script is saved, the dialog closes. CANCEL (also Esc):
    // the dialog closes, nothing changes.
    void CommandOK_Click();
    void CommandCANCEL_Click();

    QLineEdit* Text1;
    QPushButton* CommandOK;
    QPushButton* CommandCANCEL;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    App& app_;
};

} // namespace vv
