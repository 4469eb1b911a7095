#include "app/mpv_render.h"

#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <cstdlib>
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
    mpv_render_context_set_update_callback(
        context,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<MpvSoftwareWidget*>(self),
                                      &MpvSoftwareWidget::onMpvUpdate, Qt::QueuedConnection);
        },
        this);
}

MpvSoftwareWidget::~MpvSoftwareWidget()
{
    releaseRenderer();
}

void MpvSoftwareWidget::releaseRenderer()
{
    context_.reset();
}

void MpvSoftwareWidget::setPictureShown(bool shown)
{
    if (shown_ == shown)
        return;
    shown_ = shown;
    renderFrame();
    update();
}

void MpvSoftwareWidget::onMpvUpdate()
{
    if (!context_)
        return;
    if (mpv_render_context_update(context_.get()) & MPV_RENDER_UPDATE_FRAME) {
        renderFrame();
        update();
    }
}

void MpvSoftwareWidget::resizeEvent(QResizeEvent*)
{
    renderFrame();
}

void MpvSoftwareWidget::showEvent(QShowEvent*)
{
    renderFrame();
}

void MpvSoftwareWidget::renderFrame()
{
    if (!context_)
        return;
    const qreal ratio = devicePixelRatioF();
    const int w = qMax(1, qRound(width() * ratio));
    const int h = qMax(1, qRound(height() * ratio));
    // Nothing to see: keep mpv's timing going without drawing.
    const bool skip = !shown_ || !isVisible();

    std::size_t stride = (std::size_t(w) * 4 + RowAlignment - 1) / RowAlignment * RowAlignment;
    const std::size_t bytes = stride * std::size_t(h);
    if (bytes > bufferBytes_) {
        image_ = QImage();
        buffer_ = {static_cast<uchar*>(std::aligned_alloc(RowAlignment, bytes)), std::free};
        bufferBytes_ = buffer_ ? bytes : 0;
        if (!buffer_)
            return;
    }
    int size[2] = {w, h};
    int skipRendering = skip ? 1 : 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(Rgb32PixelFormat)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, buffer_.get()},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skipRendering},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    const int rc = mpv_render_context_render(context_.get(), params);
    if (skip || rc < 0) {
        image_ = QImage();
        return;
    }
    makeOpaque(buffer_.get(), w, h, stride);
    image_ = QImage(buffer_.get(), w, h, int(stride), QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
}

void MpvSoftwareWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (image_.isNull() || !shown_) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(QPoint(0, 0), image_);
    // A picture of the previous size while a new one is on its way.
    const QSizeF drawn = image_.deviceIndependentSize();
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
        update();
        return;
    }
    // Hidden: let mpv go on without drawing, or its video output waits for us.
    makeCurrent();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), 1, 1, 0};
    int skip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
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
    if (!shown_ || !context_)
        gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!context_)
        return;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(context_.get(), params);
}

} // namespace vv
