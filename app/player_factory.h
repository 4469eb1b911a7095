#pragma once
// Makes the media players of the program and of integration tests.
//
// The program draws the picture with OpenGL where the machine has a real
// OpenGL implementation, and with mpv's software renderer where it has none or
// only a software rasteriser (Mesa's llvmpipe under Xvfb, for instance): there
// the software renderer costs a fraction of the processor time.

#include <QString>
#include <memory>

#include "app/mediaplayer.h"

class QWidget;

namespace vv {

enum class PictureRendering { OpenGL, Software };

// True for the renderer string of an OpenGL implementation that draws with
// the processor ("llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", ...).
bool isSoftwareRasteriser(const QString& glRenderer);

// The renderer for this machine: Software on platforms without OpenGL (Qt's
// offscreen platform) and for software rasterisers, else OpenGL. Probed once
// per process; the environment variable VV_RENDERING=opengl|software decides
// instead when set.
PictureRendering programRendering();

// The program's player. host: the window the picture fills, or null for the
// audio-only player of the music window.
std::unique_ptr<MediaPlayer> makeProgramPlayer(QWidget* host);

// A player for integration tests: no sound output; with a host the picture is
// drawn by the software renderer (safe on the offscreen platform), without
// one it is audio-only like the program's music player.
std::unique_ptr<MediaPlayer> makeTestPlayer(QWidget* host);

} // namespace vv
