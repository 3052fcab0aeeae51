// A render made into the host's bitmaps: the frame as a 64-bit image with alpha and, when the
// current renderer's render elements are active, the object-id and material-id images handed to
// their elements (and written to the elements' files when they name one).
#pragma once

#include "bitmap.h"
#include "render/renderer.h"

#include <string>

namespace sim {

struct RenderOutput {
  Bitmap* image = nullptr;  // the caller's; null when `error` says why
  BitmapInfo info;
  std::string error;
  std::string elementError;  // a render element's file that could not be written, and why
  std::int64_t rays = 0;
};

HOST_API RenderOutput renderToBitmap(const RenderRequest& request);

// Writes `bm` to the file `info` names: empty text when written, else the reason.
HOST_API std::string writeImageFile(Bitmap* bm, BitmapInfo& info);

}  // namespace sim
