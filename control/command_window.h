#pragma once
// An interaction window: an on-screen button of the interaction menu that
// shows one script entry and performs it on a click (or its digit key).

#include <QLabel>
#include <QWidget>

namespace vv {

class App;
class FrameShape;

class CommandWindow : public QWidget {
    Q_OBJECT
public:
    CommandWindow(App& app, QWidget* parent);

    // The window's initialisation; there is nothing to do.
    void INITALIZE() {}
    // Performs the entry the window stands for and rebuilds the menu.
    void DOcommandACTION();

    // Caption: the text shown ("" = no entry); tool tip: the entry's index in
    // the interaction list (" 3").
    QLabel* Label1;
    FrameShape* Shape1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    App& app_;
};

} // namespace vv
