// The host's preview: the frames from start to end, every skip-th, rendered at pctSize percent of
// the render output size (640 x 480) through the scene's first camera (the default view without
// one) into PNG files beside the scene file: for out/passes.qzmscene, out/passes_preview_0000.png,
// out/passes_preview_0001.png, ... (the frame number with at least four digits). A file name given
// by the caller replaces the scene's folder and name. A scene never saved has no place for its
// preview: nothing is rendered and the record says so.
#pragma once

#include "maxapi.h"
#include "scene/scene_services.h"

#include <string>
#include <vector>

namespace sim {

// At most this many frames; a longer range is refused before anything is rendered.
constexpr int kMaxPreviewFrames = 10000;
constexpr int kRenderOutputWidth = 640;
constexpr int kRenderOutputHeight = 480;

// Every camera node of the scene, depth first in the order of the node tree; previews take the first.
HOST_API std::vector<INode*> sceneCameras(TimeValue t);

HOST_API void renderPreview(const PreviewParams& params, const std::string& fileName, PreviewRecord& record);

}  // namespace sim
