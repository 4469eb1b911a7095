#pragma once
// The position slider: a bar along the bottom of the video window whose dark
// fill shows how far the video has played. A click or a drag sets the
// position; two small buttons stand where the range start and end were
// marked and jump back to them.
//
// While the left button is held on the bar, the playback tick is off (it
// neither moves the fill nor enforces a loop) and every move seeks; the tick
// comes back on with the release when the video is meant to play.

#include <QPushButton>
#include <QWidget>
#include <optional>

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

    // The IN and OUT buttons, placed at the end of the fill for the player's
    // present position (the marks call these). placeOutButton with
    // exchanged: the end just marked lies before the start, the marks have
    // changed places and so do the buttons.
    void placeInButton();
    void placeOutButton(bool exchanged);
    void hideMarkButtons();

    // The mouse on the bar or the fill, x in twips from the bar's left edge.
    void barPressed(double x);
    void barDragged(double x);
    void barReleased();

    // Clicks on the IN and OUT buttons: jump to the marks.
    void CommandMarkIN_Click();
    void CommandMarkOUT_Click();

    QWidget* SliderPicture;      // the bar
    QWidget* Slider;             // the fill
    QPushButton* CommandMarkIN;  // jumps to the range start
    QPushButton* CommandMarkOUT; // jumps to the range end

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void seekToBarPoint(double x);
    void layOutMarkButtons();
    double fillFor(double frame) const;

    App& app_;
    // The positions the buttons were placed for, so that they can be placed
    // again when the bar changes its width.
    double inFrame_ = 0;
    double outFrame_ = 0;
    // A drag that moved on while its seek was still running: the latest
    // point, taken up as soon as the seek returns.
    bool seeking_ = false;
    std::optional<double> pendingPoint_;
};

} // namespace vv
