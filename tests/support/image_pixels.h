// The pixels of an image file, read through the host's image file layer, for tests that compare
// renders.
#pragma once

#include <string>
#include <vector>

namespace test {

struct ImagePixels {
  int width = 0, height = 0;
  std::vector<float> rgba;  // empty when the file could not be read
  bool operator==(const ImagePixels& o) const { return width == o.width && height == o.height && rgba == o.rgba; }
};

ImagePixels readPixels(const std::string& file);

}  // namespace test
