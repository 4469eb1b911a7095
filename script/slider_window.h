#pragma once
// The position slider: a bar along the bottom of the video window whose dark
// fill shows how far the video has played. A click or a drag sets the
// position; two small buttons stand where the range start and end were
// marked and jump back to them.

#include <QPushButton>
#include <QWidget>

namespace vv {

class App;

class SliderWindow : public QWidget {
    Q_OBJECT
public:
    SliderWindow(App& app, QWidget* parent);

    // Lays the window out along the bottom of the video window (above the
    // control panel when that is up) and shows it.
    void INITIALIZE();
    // Sets the fill for the player's present position (and repaints it).
    void followPosition(bool repaint);

    QWidget* SliderPicture;      // the bar
    QWidget* Slider;             // the fill
    QPushButton* CommandMarkIN;  // jumps to the range start
    QPushButton* CommandMarkOUT; // jumps to the range end

private:
    App& app_;
};

} // namespace vv
