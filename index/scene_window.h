#pragma once
// A scene image window: one scene picture of the loaded video with its time
// code. A click jumps to the scene; moving the mouse over it marks it with a
// red frame. Where the window stands is decided by the navigation strip and
// the index grid.

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstdint>

namespace vv {

class App;

// A red frame along a window's edge, transparent for the mouse.
class FrameShape : public QWidget {
    Q_OBJECT
public:
    FrameShape(QWidget* parent, int borderWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int borderWidth_;
};

class SceneWindow : public QWidget {
    Q_OBJECT
public:
    SceneWindow(App& app, QWidget* parent);

    // Loads the picture from a bitmap file and sets the frame it stands for.
    void INITIALIZE(const QString& file, std::int32_t frame);
    // Sets the frame of a picture the caller has already given (setPicture).
    void INITIALIZEquick(std::int32_t frame);
    void setPicture(const QImage& picture);
    // Jumps to the window's frame (closing the overlays).
    void DOimageACTION();
    // Marks this window as the current scene.
    void MarkMe();

    // The window's number ("0".."17"), as its tag text.
    QString tag;
    // The number as a value: the tag's, or the window's slot in the App when
    // no tag has been given.
    int number() const;
    QLabel* Image1;
    QLabel* LabelTime;
    FrameShape* Shape1;
    const QImage& picture() const { return picture_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int LabelTimeWidth = 1515;  // twips
    static constexpr int LabelTimeHeight = 390;
    void setTimeText(const QString& text);
    static QFont LabelTimeFont();

    App& app_;
    QImage picture_;
};

inline const QString SceneWindowToolTip = QStringLiteral("Szenenbild aus Video (Springen mit Mausklick).");

} // namespace vv
