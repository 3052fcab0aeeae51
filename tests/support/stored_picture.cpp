#include "support/stored_picture.h"

#include "support/image_pixels.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace test {

std::string differenceFromStoredPicture(Bitmap& picture, const std::string& pathInSource) {
  const std::string stored = std::string(QZM_SOURCE_DIR) + "/" + pathInSource;
  if (std::getenv("QZM_UPDATE_TEST_PICTURES")) {
    BitmapInfo out(stored.c_str());
    if (picture.Write(&out) != BMMRES_SUCCESS) return "could not write " + stored;
  }
  ImagePixels expected = readPixels(stored);
  if (expected.rgba.empty()) return "could not read " + stored;
  const int w = picture.Width(), h = picture.Height();
  std::string difference;
  if (w != expected.width || h != expected.height) {
    difference = "the picture is " + std::to_string(w) + "x" + std::to_string(h) + ", the stored one " +
                 std::to_string(expected.width) + "x" + std::to_string(expected.height);
  }
  for (int y = 0; y < h && difference.empty(); ++y)
    for (int x = 0; x < w && difference.empty(); ++x) {
      BMM_Color_fl c;
      picture.GetPixels(x, y, 1, &c);
      const float* e = &expected.rgba[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
      // Stored files hold 8 bits a channel: a level matches when it rounds to the same byte.
      if (std::lround(c.r * 255) != std::lround(e[0] * 255) || std::lround(c.g * 255) != std::lround(e[1] * 255) ||
          std::lround(c.b * 255) != std::lround(e[2] * 255))
        difference = "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
    }
  if (!difference.empty()) {
    std::filesystem::path name(pathInSource);
    std::string actual = std::string(QZM_BUILD_DIR) + "/" + name.stem().string() + "_actual.png";
    BitmapInfo out(actual.c_str());
    picture.Write(&out);
    difference += "; the picture drawn is " + actual;
  }
  return difference;
}

}  // namespace test
