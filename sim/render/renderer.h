// The host's renderer: casts one ray through the centre of each pixel into the scene's evaluated
// meshes, shades the nearest surface the camera sees through its node's material (or, without one,
// as a plain surface in the node's wire colour), looks through transparent surfaces, and keeps per
// pixel the colour, the coverage (alpha), the node's G-buffer object channel and the material
// G-buffer id the material set.
#pragma once

#include "color.h"
#include "inode.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

// Output sizes a render accepts: a larger one is refused before anything is allocated.
constexpr int kMaxRenderSide = 16384;
constexpr std::int64_t kMaxRenderPixels = std::int64_t(1) << 26;

struct RenderRequest {
  INode* camera = nullptr;  // null: the default view of the scene
  int width = 640;
  int height = 480;
  TimeValue time = 0;
  Color background;          // where nothing is hit; its alpha is 0
  Color ambient;
  // Called after each row with the rows done and the rows in all.
  std::function<void(int, int)> progress;
};

struct RenderedFrame {
  int width = 0;
  int height = 0;
  std::vector<float> rgba;             // four floats a pixel, row 0 at the top
  std::vector<std::int32_t> objectId;  // 0 where nothing is seen
  std::vector<std::int32_t> materialId;
  std::int64_t rays = 0;                // camera and shadow rays cast
  std::string error;                    // set when nothing was rendered, and why
};

HOST_API RenderedFrame renderFrame(const RenderRequest& request);

// Whether a render of that size is accepted.
HOST_API bool renderSizeAllowed(int width, int height);

}  // namespace sim
