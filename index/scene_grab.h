#pragma once
// The frames of a video's scene index, grabbed and chosen: everything the
// index generation needs short of writing files and filling windows.
//
// The candidates of the preview arithmetic are grabbed in order until sixteen
// are delivered (only as many as still needed are decoded); a packed bitmap
// counts as delivered when cDIB accepts it. When exactly one scene is then
// missing, the video's last frame fills it.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "index/preview_rules.h"

namespace vv {

struct GrabbedScene {
    int scene = 0;               // 0 .. 15
    std::int32_t position = 0;   // the position its scene window is given
    std::int32_t frame = 0;      // the frame the picture shows
    QByteArray packedDib;        // accepted by cDIB::CreateFromPackedDIBPointer
};

struct SceneGrab {
    // False when the video cannot be opened or its frame count is beyond the
    // index arithmetic; then no scene was grabbed.
    bool ok = false;
    std::vector<GrabbedScene> scenes;  // in scene order; fewer than sceneCount when frames were missing
};

// workers: as for grabFrames (0 decides by itself, 1 keeps to one thread);
// unless 1, each source decodes on two threads.
SceneGrab grabScenes(const QString& videoPath, int sceneCount = SceneCount, int workers = 0);

} // namespace vv
