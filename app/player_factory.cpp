#include "app/player_factory.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include "app/mpv_player.h"

namespace vv {
namespace {

Q_LOGGING_CATEGORY(lcFactory, "vv.mpv.factory", QtWarningMsg)

PictureRendering probeRendering()
{
    const QByteArray wanted = qgetenv("VV_RENDERING").toLower();
    if (wanted == "software")
        return PictureRendering::Software;
    if (wanted == "opengl")
        return PictureRendering::OpenGL;

    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return PictureRendering::Software;

    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        qCInfo(lcFactory) << "no OpenGL: software rendering";
        return PictureRendering::Software;
    }
    const auto* text = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = QString::fromLatin1(text ? text : "");
    context.doneCurrent();
    const bool software = isSoftwareRasteriser(renderer);
    qCInfo(lcFactory) << "OpenGL renderer" << renderer << (software ? ": software rendering" : ": OpenGL rendering");
    return software ? PictureRendering::Software : PictureRendering::OpenGL;
}

} // namespace

bool isSoftwareRasteriser(const QString& glRenderer)
{
    static const char* const rasterisers[] = {
        "llvmpipe", "softpipe", "software rasterizer", "swrast", "swr (", "lavapipe",
        "gdi generic", "microsoft basic render",
    };
    const QString renderer = glRenderer.toLower();
    if (renderer.trimmed().isEmpty())
        return true;
    for (const char* name : rasterisers) {
        if (renderer.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

PictureRendering programRendering()
{
    static const PictureRendering rendering = probeRendering();
    return rendering;
}

std::unique_ptr<MediaPlayer> makeProgramPlayer(QWidget* host)
{
    MpvPlayer::Config config;
    if (!host)
        config.picture = MpvPlayer::Picture::None;
    else
        config.picture = programRendering() == PictureRendering::OpenGL ? MpvPlayer::Picture::OpenGL
                                                                        : MpvPlayer::Picture::Software;
    return std::make_unique<MpvPlayer>(host, config);
}

std::unique_ptr<MediaPlayer> makeTestPlayer(QWidget* host)
{
    MpvPlayer::Config config;
    config.picture = host ? MpvPlayer::Picture::Software : MpvPlayer::Picture::None;
    config.audio = false;
    return std::make_unique<MpvPlayer>(host, config);
}

} // namespace vv
