// Postage stamps: a material's small preview image, made by shading a sphere under one default
// light through the material's Shade (a texture map is shown flat through EvalColor). Images are
// rows of ByteWidth(size) bytes, blue-green-red, the bottom row first, as the host keeps them.
#pragma once

#include "imtl.h"

#include <vector>

namespace sim {

class HOST_API ImagePStamp : public PStamp {
 public:
  ImagePStamp(int width, int height);
  int Width() override { return width_; }
  int Height() override { return height_; }
  void SetImage(UBYTE* img) override;
  void GetImage(UBYTE* img) override;
  // The bytes, for the host's own use.
  std::vector<UBYTE>& bytes() { return bytes_; }

 private:
  int width_, height_;
  std::vector<UBYTE> bytes_;
};

// Renders a stamp of `size` by `size` pixels of `mtl` at time `t`.
HOST_API ImagePStamp* renderPStamp(MtlBase* mtl, int size, TimeValue t);

}  // namespace sim
