#include "index/scene_grab.h"

#include <algorithm>

#include "index/cdib.h"
#include "index/frame_source.h"

namespace vv {

namespace {

bool acceptable(const QByteArray& packed)
{
    cDIB check;
    return check.CreateFromPackedDIB(packed);
}

} // namespace

SceneGrab grabScenes(const QString& videoPath, int sceneCount, int workers)
{
    SceneGrab result;
    // A grab the user waits for decodes on two threads per source: on a busy
    // machine that halves the wait for 7 % more work. One made in the
    // background keeps to one.
    FrameSourceOptions options;
    options.decoderThreads = workers == 1 ? 1 : 2;
    FrameSource source(videoPath, options);
    if (!source.isOpen())
        return result;
    const std::int32_t n = source.frameCount();
    const auto step = previewStep(n, sceneCount);
    if (!step)
        return result;
    result.ok = true;

    const std::vector<PreviewCandidate> candidates = previewCandidates(n, *step);
    std::vector<bool> accepted;
    std::vector<QByteArray> pictures;
    accepted.reserve(candidates.size());
    pictures.reserve(candidates.size());

    // Grab in rounds: as many further candidates as scenes are still missing.
    int filled = 0;
    while (filled < sceneCount && accepted.size() < candidates.size()) {
        const std::size_t from = accepted.size();
        const std::size_t to = std::min(candidates.size(), from + static_cast<std::size_t>(sceneCount - filled));
        std::vector<std::int32_t> frames;
        for (std::size_t j = from; j < to; ++j)
            frames.push_back(candidates[j].frame);
        std::vector<QByteArray> got = grabFrames(source, frames, workers);
        for (QByteArray& picture : got) {
            const bool ok = acceptable(picture);
            accepted.push_back(ok);
            filled += ok ? 1 : 0;
            pictures.push_back(ok ? std::move(picture) : QByteArray());
        }
    }

    for (const SceneAssignment& a : assignScenes(candidates, accepted, sceneCount))
        result.scenes.push_back({a.scene, a.candidate.position, a.candidate.frame, pictures[a.candidateIndex]});

    if (lastFrameFillsIn(static_cast<int>(result.scenes.size()), sceneCount)) {
        const QByteArray picture = source.getFrameBytes(n - 1);
        if (acceptable(picture))
            result.scenes.push_back({sceneCount - 1, n - 1, n - 1, picture});
    }
    return result;
}

} // namespace vv
