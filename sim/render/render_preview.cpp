#include "render/render_preview.h"

#include "core/c_format.h"
#include "object.h"
#include "render/render_output.h"
#include "scene/scene_walk.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <vector>

namespace sim {

std::vector<INode*> sceneCameras(TimeValue t) {
  std::vector<INode*> cameras;
  forEachSceneNode([&](INode* node) {
    Object* obj = node->EvalWorldState(t).obj;
    if (obj && obj->SuperClassID() == CAMERA_CLASS_ID) cameras.push_back(node);
  });
  return cameras;
}

void renderPreview(const PreviewParams& params, const std::string& fileName, PreviewRecord& record) {
  namespace fs = std::filesystem;
  record.images.clear();
  record.error.clear();
  const std::string base = fileName.empty() ? sceneServices().sceneFile : fileName;
  if (base.empty()) {
    record.error = "the scene has not been saved, so the preview has no folder";
    return;
  }
  const fs::path where(base);
  const std::string stem = (where.parent_path() / where.stem()).string() + (fileName.empty() ? "_preview_" : "_");
  const int step = params.skip < 1 ? 1 : params.skip;
  if (params.end < params.start) {
    record.error = c_format("the frame range %d to %d is empty", params.start, params.end);
    return;
  }
  if ((std::int64_t(params.end) - params.start) / step + 1 > kMaxPreviewFrames) {
    record.error = c_format("the frame range %d to %d has more than %d frames", params.start, params.end, kMaxPreviewFrames);
    return;
  }
  const std::int64_t lastTick = std::int64_t(INT_MAX) / GetTicksPerFrame();
  if (params.start < -lastTick || params.end > lastTick) {
    record.error = c_format("the frame range %d to %d lies outside the host's time", params.start, params.end);
    return;
  }
  if (params.pctSize < 1 || params.pctSize > 1000) {
    record.error = c_format("a preview of %d percent of the output size cannot be made", params.pctSize);
    return;
  }
  RenderRequest request;
  request.width = std::max(1, kRenderOutputWidth * params.pctSize / 100);
  request.height = std::max(1, kRenderOutputHeight * params.pctSize / 100);
  request.background = sceneServices().environment.background;
  request.ambient = sceneServices().environment.ambient;
  for (std::int64_t frame = params.start; frame <= params.end; frame += step) {
    request.time = TimeValue(frame) * GetTicksPerFrame();
    const std::vector<INode*> cameras = sceneCameras(request.time);
    request.camera = cameras.empty() ? nullptr : cameras.front();
    RenderOutput out = renderToBitmap(request);
    if (!out.image) {
      record.error = out.error;
      return;
    }
    out.info.SetName(c_format("%s%04d.png", stem.c_str(), static_cast<int>(frame)).c_str());
    std::string why = writeImageFile(out.image, out.info);
    out.image->DeleteThis();
    if (!why.empty()) {
      record.error = why;
      return;
    }
    record.images.push_back(out.info.Name());
  }
}

}  // namespace sim
