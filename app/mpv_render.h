#pragma once
// The two widgets that show the libmpv player's picture through mpv's render
// API: OpenGL in a QOpenGLWidget where the machine has real OpenGL, mpv's
// software renderer into an image where it has none (or only a software
// rasteriser). Both draw window-sized (zoom and pan are mpv's business), draw
// black where there is no video, and know nothing else: keys, clicks and the
// placement belong to the player that owns them.
//
// Neither holds the window thread while mpv waits for a frame's time: the
// software renderer runs on a thread of its own and hands finished pictures
// to its widget, which only paints the latest; the OpenGL widget asks mpv not
// to wait and tells it when each frame was shown.

#include <QImage>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

namespace vv {

// mpv's name of 4-byte pixels blue, green, red, unused: the memory order of
// QImage::Format_RGB32 on little-endian machines.
inline constexpr char Rgb32PixelFormat[] = "bgr0";

// mpv leaves the unused fourth byte of those pixels as it happens to be;
// Format_RGB32 wants it 0xff. Sets it for height rows of width pixels, stride
// bytes apart.
void makeOpaque(uchar* pixels, int width, int height, std::size_t stride);

// What the player needs from either widget.
class PictureView {
public:
    virtual ~PictureView() = default;
    virtual QWidget* widget() = 0;
    // false: black instead of the video (mpv keeps its timing).
    virtual void setPictureShown(bool shown) = 0;
    // A render context exists, so mpv can open its video output.
    virtual bool hasRenderer() const = 0;
    // Frees the render context; must happen before the mpv handle is destroyed.
    virtual void releaseRenderer() = 0;
    // Called whenever a render context has been created (the OpenGL one is
    // made when the widget is first shown, and again after its window changes).
    std::function<void()> onRendererCreated;
};

// The render context: freed with mpv's own function.
struct RenderContextFree {
    void operator()(mpv_render_context* context) const;
};
using RenderContextPtr = std::unique_ptr<mpv_render_context, RenderContextFree>;

class SoftwareFrameRenderer;

class MpvSoftwareWidget final : public QWidget, public PictureView {
    Q_OBJECT
public:
    // mpv must outlive the render context (see releaseRenderer).
    MpvSoftwareWidget(mpv_handle* mpv, QWidget* parent);
    ~MpvSoftwareWidget() override;

    QWidget* widget() override { return this; }
    void setPictureShown(bool shown) override;
    bool hasRenderer() const override { return context_ != nullptr; }
    void releaseRenderer() override;

    // The last picture drawn, window-sized (null while nothing is drawn).
    QImage lastPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTarget();

    RenderContextPtr context_;
    // Stopped before context_ is freed (declared after it).
    std::unique_ptr<SoftwareFrameRenderer> renderer_;
    bool shown_ = true;
};

class MpvGlWidget final : public QOpenGLWidget, public PictureView {
    Q_OBJECT
public:
    MpvGlWidget(mpv_handle* mpv, QWidget* parent);
    ~MpvGlWidget() override;

    QWidget* widget() override { return this; }
    void setPictureShown(bool shown) override;
    bool hasRenderer() const override { return context_ != nullptr; }
    void releaseRenderer() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void onMpvUpdate();

    mpv_handle* mpv_;
    RenderContextPtr context_;
    QTimer due_;   // paints the next frame when it is due
    bool shown_ = true;
};

} // namespace vv
