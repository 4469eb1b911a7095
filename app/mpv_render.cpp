#include "app/mpv_render.h"

#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

namespace vv {
namespace {

Q_LOGGING_CATEGORY(lcRender, "vv.mpv.render")

constexpr std::size_t RowAlignment = 64;

void* glProcAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(QByteArray(name))) : nullptr;
}

} // namespace

void makeOpaque(uchar* pixels, int width, int height, std::size_t stride)
{
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<quint32*>(pixels + stride * std::size_t(y));
        for (int x = 0; x < width; ++x)
            row[x] |= 0xff000000u;
    }
}

void RenderContextFree::operator()(mpv_render_context* context) const
{
    mpv_render_context_free(context);
}

// ---------------------------------------------------------------- software

// The thread that owns the software render calls. mpv's render call waits
// until the frame is due, so it must not run on the window thread: the
// thread renders each frame mpv announces (and the current one again when
// the size changes), keeps the newest picture and asks for a paint.
class SoftwareFrameRenderer {
public:
    SoftwareFrameRenderer(mpv_render_context* context, std::function<void()> pictureReady)
        : context_(context), pictureReady_(std::move(pictureReady)), thread_([this] { run(); })
    {
    }
    ~SoftwareFrameRenderer()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wakeup_.notify_one();
        thread_.join();
    }
    SoftwareFrameRenderer(const SoftwareFrameRenderer&) = delete;
    SoftwareFrameRenderer& operator=(const SoftwareFrameRenderer&) = delete;

    // mpv has something new (called on mpv's threads).
    void mpvUpdated()
    {
        {
            std::lock_guard lock(mutex_);
            mpvUpdate_ = true;
        }
        wakeup_.notify_one();
    }
    // Draw `pixels` big from now on, or nothing (draw false); renders the
    // current frame again.
    void setTarget(QSize pixels, qreal ratio, bool draw)
    {
        {
            std::lock_guard lock(mutex_);
            target_ = {pixels, ratio, draw};
            redraw_ = true;
        }
        wakeup_.notify_one();
    }
    QImage latest() const
    {
        std::lock_guard lock(mutex_);
        return latest_;
    }

private:
    struct Target {
        QSize pixels;
        qreal ratio = 1;
        bool draw = false;
    };

    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wakeup_.wait(lock, [this] { return stop_ || mpvUpdate_ || redraw_; });
            if (stop_)
                return;
            const bool asked = mpvUpdate_;
            bool render = std::exchange(redraw_, false);
            mpvUpdate_ = false;
            const Target target = target_;
            lock.unlock();
            if (asked && (mpv_render_context_update(context_) & MPV_RENDER_UPDATE_FRAME))
                render = true;
            QImage picture = render ? renderFrame(target) : QImage();
            lock.lock();
            if (render) {
                latest_ = std::move(picture);
                lock.unlock();
                pictureReady_();
                lock.lock();
            }
        }
    }

    // Runs mpv's renderer into its buffer and returns the opaque picture (null
    // when nothing is to be drawn).
    QImage renderFrame(const Target& target)
    {
        const int w = qMax(1, target.pixels.width());
        const int h = qMax(1, target.pixels.height());
        std::size_t stride = (std::size_t(w) * 4 + RowAlignment - 1) / RowAlignment * RowAlignment;
        const std::size_t bytes = stride * std::size_t(h);
        if (bytes > bufferBytes_) {
            buffer_ = {static_cast<uchar*>(std::aligned_alloc(RowAlignment, bytes)), std::free};
            bufferBytes_ = buffer_ ? bytes : 0;
        }
        // Nothing to see, or no memory: keep mpv's timing going without drawing.
        int skip = target.draw && buffer_ ? 0 : 1;
        int size[2] = {w, h};
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SW_SIZE, size},
            {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(Rgb32PixelFormat)},
            {MPV_RENDER_PARAM_SW_STRIDE, &stride},
            {MPV_RENDER_PARAM_SW_POINTER, buffer_.get()},
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        if (mpv_render_context_render(context_, params) < 0 || skip)
            return QImage();
        // A fresh image each time: the widget may still be painting the last.
        QImage picture(w, h, QImage::Format_RGB32);
        if (picture.isNull())
            return picture;
        for (int y = 0; y < h; ++y)
            std::memcpy(picture.scanLine(y), buffer_.get() + stride * std::size_t(y), std::size_t(w) * 4);
        makeOpaque(picture.bits(), w, h, std::size_t(picture.bytesPerLine()));
        picture.setDevicePixelRatio(target.ratio);
        return picture;
    }

    mpv_render_context* const context_;
    const std::function<void()> pictureReady_;
    // The pixels mpv writes: rows 64-byte aligned, as its renderer prefers.
    std::unique_ptr<uchar, void (*)(void*)> buffer_{nullptr, nullptr};
    std::size_t bufferBytes_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable wakeup_;
    bool stop_ = false;
    bool mpvUpdate_ = false;
    bool redraw_ = false;
    Target target_;
    QImage latest_;
    std::thread thread_;   // last: starts when everything above exists
};

MpvSoftwareWidget::MpvSoftwareWidget(mpv_handle* mpv, QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);

    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    const int rc = mpv_render_context_create(&context, mpv, params);
    if (rc < 0) {
        qCWarning(lcRender) << "software renderer unavailable:" << mpv_error_string(rc);
        return;
    }
    context_.reset(context);
    // One paint request at a time on its way: a window thread that falls
    // behind paints the newest picture once instead of every one missed.
    auto pending = std::make_shared<std::atomic<bool>>(false);
    renderer_ = std::make_unique<SoftwareFrameRenderer>(context, [this, pending] {
        if (!pending->exchange(true))
            QMetaObject::invokeMethod(this, [this, pending] {
                pending->store(false);
                update();
            }, Qt::QueuedConnection);
    });
    mpv_render_context_set_update_callback(
        context, [](void* renderer) { static_cast<SoftwareFrameRenderer*>(renderer)->mpvUpdated(); },
        renderer_.get());
    updateTarget();
}

MpvSoftwareWidget::~MpvSoftwareWidget()
{
    releaseRenderer();
}

void MpvSoftwareWidget::releaseRenderer()
{
    if (context_)
        mpv_render_context_set_update_callback(context_.get(), nullptr, nullptr);
    renderer_.reset();
    context_.reset();
}

QImage MpvSoftwareWidget::lastPicture() const
{
    return renderer_ ? renderer_->latest() : QImage();
}

void MpvSoftwareWidget::setPictureShown(bool shown)
{
    if (shown_ == shown)
        return;
    shown_ = shown;
    updateTarget();
    update();
}

void MpvSoftwareWidget::resizeEvent(QResizeEvent*)
{
    updateTarget();
}

void MpvSoftwareWidget::showEvent(QShowEvent*)
{
    updateTarget();
}

void MpvSoftwareWidget::hideEvent(QHideEvent*)
{
    updateTarget();
}

void MpvSoftwareWidget::updateTarget()
{
    if (!renderer_)
        return;
    const qreal ratio = devicePixelRatioF();
    renderer_->setTarget(QSize(qRound(width() * ratio), qRound(height() * ratio)), ratio,
                         shown_ && isVisible());
}

void MpvSoftwareWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage image = shown_ && renderer_ ? renderer_->latest() : QImage();
    if (image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(QPoint(0, 0), image);
    // A picture of the previous size while a new one is on its way.
    const QSizeF drawn = image.deviceIndependentSize();
    if (drawn.width() < width())
        painter.fillRect(QRectF(drawn.width(), 0, width() - drawn.width(), height()), Qt::black);
    if (drawn.height() < height())
        painter.fillRect(QRectF(0, drawn.height(), width(), height() - drawn.height()), Qt::black);
}

// ---------------------------------------------------------------- OpenGL

MpvGlWidget::MpvGlWidget(mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), mpv_(mpv)
{
    setFocusPolicy(Qt::StrongFocus);
    due_.setSingleShot(true);
    due_.setTimerType(Qt::PreciseTimer);
    connect(&due_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    // Tells mpv when its frames really reached the window, for its timing.
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
        if (context_)
            mpv_render_context_report_swap(context_.get());
    });
}

MpvGlWidget::~MpvGlWidget()
{
    releaseRenderer();
    // QOpenGLWidget destroys the context after this destructor has run.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void MpvGlWidget::releaseRenderer()
{
    if (!context_)
        return;
    // The render context owns GL objects of the widget's context.
    const bool current = context() && context()->isValid();
    if (current)
        makeCurrent();
    context_.reset();
    if (current)
        doneCurrent();
}

void MpvGlWidget::setPictureShown(bool shown)
{
    if (shown_ == shown)
        return;
    shown_ = shown;
    update();
}

void MpvGlWidget::initializeGL()
{
    // The widget's context goes away when the widget moves to another window;
    // the render context must go first and is made anew in the next
    // initializeGL.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvGlWidget::releaseRenderer,
            Qt::UniqueConnection);
    if (context_)
        return;

    mpv_opengl_init_params init{glProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* created = nullptr;
    const int rc = mpv_render_context_create(&created, mpv_, params);
    if (rc < 0) {
        qCWarning(lcRender) << "OpenGL renderer unavailable:" << mpv_error_string(rc);
        return;
    }
    context_.reset(created);
    mpv_render_context_set_update_callback(
        created,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<MpvGlWidget*>(self), &MpvGlWidget::onMpvUpdate,
                                      Qt::QueuedConnection);
        },
        this);
    if (onRendererCreated)
        onRendererCreated();
}

void MpvGlWidget::onMpvUpdate()
{
    if (!context_)
        return;
    if (!(mpv_render_context_update(context_.get()) & MPV_RENDER_UPDATE_FRAME))
        return;
    if (isVisible()) {
        // Paint when the frame is due; the render call then need not wait.
        mpv_render_frame_info next{};
        mpv_render_param query[] = {
            {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &next},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        std::int64_t waitUs = 0;
        if (mpv_render_context_get_info(context_.get(), query[0]) >= 0 && next.target_time > 0)
            waitUs = next.target_time - mpv_get_time_us(mpv_);
        if (waitUs > 1000)
            due_.start(int(waitUs / 1000));
        else
            update();
        return;
    }
    // Hidden: let mpv go on without drawing, or its video output waits for us.
    makeCurrent();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), 1, 1, 0};
    int skip = 1;
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(context_.get(), params);
    doneCurrent();
}

void MpvGlWidget::paintGL()
{
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), qRound(width() * ratio), qRound(height() * ratio), 0};
    int flipY = 1;
    int skip = shown_ ? 0 : 1;
    // Painting happens when the frame is due (onMpvUpdate), or for the window
    // system: never wait here.
    int block = 0;
    if (!shown_ || !context_)
        gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!context_)
        return;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(context_.get(), params);
}

} // namespace vv
