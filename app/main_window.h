#pragma once
// The main window: the frame in which the video window, the control panel
// and the on-screen displays live. It keeps its height at three quarters of
// its outer width plus the frame, never becomes narrower than the control
// strip, and offers full screen, picture in picture and always on top.

#include <QMainWindow>
#include <cstdint>

namespace vv {

class App;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(App& app);

    // The client area: parent of every child window.
    QWidget* client() const { return client_; }

    // Outer geometry (with the frame) and client size, in twips.
    int leftTw() const;
    int topTw() const;
    int widthTw() const;
    int heightTw() const;
    int clientWidthTw() const;
    int clientHeightTw() const;
    // Sets the outer width, keeping the frame.
    void setWidthTw(int width);
    // Width in pixels (outer).
    int widthPx() const;

    void FULLSCREENenable();
    void PictureINpictureENABLE();
    void FULLSCREENdisable();
    void ENABLEontop();
    void DISABLEontop();

    // The resize rule; runs on every size change unless the guard is set.
    void handleResize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    App& app_;
    QWidget* client_;
    bool resizeGuard_ = false;
    QSize lastRequested_;
};

} // namespace vv
