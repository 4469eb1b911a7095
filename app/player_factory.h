#pragma once
// Makes the media players of the program and of integration tests.
//
// The program draws the picture with OpenGL where the machine has a real
// OpenGL implementation, and with mpv's software renderer where it has none or
// only a software rasteriser (Mesa's llvmpipe under Xvfb, for instance): there
// the software renderer costs a fraction of the processor time.
//
// The choice is made from what the platform and the environment tell, without
// creating an OpenGL context: on a machine without a GPU that would load the
// software rasteriser (tens of megabytes) only to learn it is not wanted.

#include <QByteArray>
#include <QString>
#include <memory>

#include "app/mediaplayer.h"

class QWidget;

namespace vv {

enum class PictureRendering { OpenGL, Software };

// What decides the renderer.
struct RenderingFacts {
    QString platform;           // Qt's platform name: "xcb", "wayland", "offscreen", ...
    QByteArray wanted;          // VV_RENDERING: "opengl", "software" or empty
    QByteArray alwaysSoftware;  // LIBGL_ALWAYS_SOFTWARE
    QByteArray xcbIntegration;  // QT_XCB_GL_INTEGRATION
    bool renderNode = false;    // a GPU's render node exists (/dev/dri/renderD*)
    bool directRendering = false;   // X server offers direct rendering (DRI3 or DRI2)
};

// OpenGL only where a GPU can draw: a render node, and on X a server that
// lets clients render directly (Xvfb, VNC and remote displays do not);
// software where Qt's platform has no OpenGL, the environment asks for
// software OpenGL or none. VV_RENDERING decides when set.
PictureRendering chooseRendering(const RenderingFacts& facts);

// The facts of this process's platform and environment (asks the X server
// for its extensions on X; nothing loads an OpenGL driver).
RenderingFacts renderingFacts();

// chooseRendering(renderingFacts()), once per process.
PictureRendering programRendering();

// The program's player. host: the window the picture fills, or null for the
// audio-only player of the music window.
std::unique_ptr<MediaPlayer> makeProgramPlayer(QWidget* host);

// A player for integration tests: no sound output; with a host the picture is
// drawn by the software renderer (safe on the offscreen platform), without
// one it is audio-only like the program's music player.
std::unique_ptr<MediaPlayer> makeTestPlayer(QWidget* host);

} // namespace vv
