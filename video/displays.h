#pragma once
// The on-screen displays over the video: the information display (short
// confirmations at the picture's top-left corner), the message display
// (longer notices centred in the main window) and the time display (the time
// code at the picture's top-right corner). The display tick hides them when
// their countdowns run out.

#include <QLabel>
#include <QWidget>
#include <cstdint>

namespace vv {

class App;

// A frameless child window holding one label that sizes itself to its text.
class DisplayWindow : public QWidget {
    Q_OBJECT
public:
    DisplayWindow(App& app, QWidget* parent, const QFont& font, bool passesKeys);

    QLabel* Label;
    // The caption exactly as set (line breaks as carriage returns).
    QString caption() const { return caption_; }
    void setCaption(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    App& app_;
    QSize fixedSize_;  // empty: the window follows its text

private:
    QString caption_;
    bool passesKeys_;
};

class InfoDisplayWindow : public DisplayWindow {
    Q_OBJECT
public:
    InfoDisplayWindow(App& app, QWidget* parent);
    // Shows text at the picture's top-left corner for d seconds (-1 or 0:
    // until hidden).
    void INITIALIZE(const QString& text, std::int32_t d);
};

class MessageDisplayWindow : public DisplayWindow {
    Q_OBJECT
public:
    MessageDisplayWindow(App& app, QWidget* parent);
    // Shows text centred in the main window for d seconds.
    void INITIALIZE(const QString& text, std::int16_t d);
};

class TimeDisplayWindow : public DisplayWindow {
    Q_OBJECT
public:
    TimeDisplayWindow(App& app, QWidget* parent);
    // Shows the time code of the current position at the picture's top-right
    // corner for d seconds (-1: no time limit; 0: no countdown).
    void INITIALIZE(std::int16_t d);
    // Puts the time code of the current position into the display (also
    // while it is hidden), reading the position once.
    void showPosition();
    // Puts a new time code into the display (also while it is hidden); its
    // tool tip gives the frame the text shows.
    void UpdateAnzeige(const QString& Text, std::int64_t frame);
};

} // namespace vv
