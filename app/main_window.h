#pragma once
// The main window: the frame in which the video window, the control panel
// and the on-screen displays live. It keeps its height at three quarters of
// its outer width plus the frame, never becomes narrower than the control
// strip, and offers full screen, picture in picture and always on top.
// Closing it ends the program.
//
// Window width and height below are the outer ones (with the frame); the
// client area is the central widget client().

#include <QMainWindow>
#include <QTimer>
#include <QMargins>
#include <cstdint>

namespace vv {

class App;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The window's frame bits: a border and a sizing frame. The window shows
    // a frame while either is set.
    static constexpr std::uint32_t WindowBorder = 0x800000;
    static constexpr std::uint32_t WindowSizingFrame = 0x40000;

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

    // Full screen: saves the window's geometry, removes the frame and lets
    // the client area cover the whole screen. FullScreenMode = -1.
    void FULLSCREENenable();
    // Picture in picture: saves the geometry, removes the frame and puts the
    // window into the top-right quarter of the screen. FullScreenMode = -1.
    void PictureINpictureENABLE();
    // Ends either mode: back to the saved geometry with the frame.
    // FullScreenMode = 0.
    void FULLSCREENdisable();
    // Keeps the window above all normal windows, or no longer; it neither
    // moves nor changes its size.
    void ENABLEontop();
    void DISABLEontop();

    // The frame bits in force (WindowBorder, WindowSizingFrame).
    std::uint32_t windowStyle() const { return style_; }
    bool isOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    // The resize rule; runs on every size change unless the guard is set.
    // In full screen and picture in picture the mode's geometry stands: only
    // the video window is fitted and the picture reset. `framing`: run for a
    // frame the window manager put around the window, which keeps the picture.
    void handleResize(bool framing = false);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A video file or a folder dropped on the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Sets one frame bit on or off and redraws the frame, keeping the
    // window's outer rectangle, or placing the window at outer.
    void SETwindowSTYLE(std::uint32_t bit, bool on);
    void SETwindowSTYLE(std::uint32_t bit, bool on, const QRect& outer);
    // Changes one window flag (if it differs) and places the window at the
    // outer rectangle.
    void changeWindowFlag(Qt::WindowType flag, bool on, const QRect& outer);
    // Places the window by its outer rectangle (pixels, or twips).
    void placeOuter(const QRect& outer);
    void placeOuterTw(double left, double top, double width, double height);
    // The frame the window manager puts around the client area while the
    // window has one (as last seen; none before it was first seen).
    QMargins frameMargins() const;
    // The frame as the window system reports it at this moment.
    QMargins reportedFrame() const;
    // Remembers the frame the window system reports, once it reports one.
    void noteFrame();
    // The outer rectangle: the client area with the frame.
    QRect outerRect() const;
    void saveWindowGeometry();
    void setNormalState();
    // The screen the window is on, in pixels.
    QRect screenRect() const;
    // Fits the video window to the client area; the picture is reset only
    // when the inner size really changed and `placePicture` is set.
    void fitVideoWindow(bool placePicture = true);

    App& app_;
    QWidget* client_;
    std::uint32_t style_ = WindowBorder | WindowSizingFrame;
    QMargins knownFrame_;
    QMargins ruledFrame_;  // the frame the resize rule counted last
    bool resizeGuard_ = false;
    QSize lastRequested_;
    QSize fittedSize_;  // the inner size the picture was placed for
    // An outer width asked for before the window manager framed the window:
    // set once the frame is known (0 when none is pending).
    int pendingOuterWidth_ = 0;
    // The outer place last asked for. A window manager that frames or
    // unframes the window in the same breath may leave it where it was
    // without a word, so the window system's own view of the window is
    // looked at shortly after, and the place asked again, a few times at most.
    QRect placing_;
    int placingChecks_ = 0;
    QTimer placementCheck_;
    void checkPlacement();
};

} // namespace vv
