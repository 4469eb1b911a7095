#include "app/player_factory.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

#include "app/mpv_player.h"

namespace vv {
namespace {

Q_LOGGING_CATEGORY(lcFactory, "vv.mpv.factory", QtWarningMsg)

bool xServerHasExtension(xcb_connection_t* connection, const char* name)
{
    const xcb_query_extension_cookie_t cookie = xcb_query_extension(connection, std::strlen(name), name);
    std::unique_ptr<xcb_query_extension_reply_t, void (*)(void*)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), std::free);
    return reply && reply->present;
}

bool hasRenderNode()
{
    const QDir dri(QStringLiteral("/dev/dri"));
    return !dri.entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

} // namespace

PictureRendering chooseRendering(const RenderingFacts& facts)
{
    const QByteArray wanted = facts.wanted.toLower();
    if (wanted == "software")
        return PictureRendering::Software;
    if (wanted == "opengl")
        return PictureRendering::OpenGL;

    const bool xcb = facts.platform == QLatin1String("xcb");
    if (!xcb && facts.platform != QLatin1String("wayland") && facts.platform != QLatin1String("eglfs"))
        return PictureRendering::Software;   // offscreen, minimal, vnc, linuxfb ...
    const QByteArray always = facts.alwaysSoftware.trimmed().toLower();
    if (!always.isEmpty() && always != "0" && always != "false")
        return PictureRendering::Software;
    if (xcb && facts.xcbIntegration.trimmed().toLower() == "none")
        return PictureRendering::Software;
    if (!facts.renderNode || (xcb && !facts.directRendering))
        return PictureRendering::Software;
    return PictureRendering::OpenGL;
}

RenderingFacts renderingFacts()
{
    RenderingFacts facts;
    facts.platform = QGuiApplication::platformName();
    facts.wanted = qgetenv("VV_RENDERING");
    facts.alwaysSoftware = qgetenv("LIBGL_ALWAYS_SOFTWARE");
    facts.xcbIntegration = qgetenv("QT_XCB_GL_INTEGRATION");
    facts.renderNode = hasRenderNode();
    if (facts.platform == QLatin1String("xcb")) {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        facts.directRendering =
            connection && (xServerHasExtension(connection, "DRI3") || xServerHasExtension(connection, "DRI2"));
    }
    return facts;
}

PictureRendering programRendering()
{
    static const PictureRendering rendering = [] {
        const RenderingFacts facts = renderingFacts();
        const PictureRendering chosen = chooseRendering(facts);
        qCInfo(lcFactory) << "platform" << facts.platform << "render node" << facts.renderNode
                          << "direct rendering" << facts.directRendering << ":"
                          << (chosen == PictureRendering::OpenGL ? "OpenGL" : "software") << "rendering";
        return chosen;
    }();
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
