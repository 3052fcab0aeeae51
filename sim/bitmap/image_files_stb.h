// What the parts of the header-library image file module share (image_files_stb*.cpp): whole files
// as bytes, pixels in and out of the host's float rows, and the formats that stb's headers do not
// cover (PNG text, OpenEXR).
#pragma once

#include "bitmap/bitmap_factory.h"
#include "bitmap/image_files.h"
#include "bitmap/image_formats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim::stbfiles {

using Bytes = std::vector<unsigned char>;

// Clamped to 0..1 and rounded to the nearest of `scale` + 1 levels; NaN goes to 0.
inline std::uint32_t quantize(float v, float scale) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return static_cast<std::uint32_t>(scale);
  return static_cast<std::uint32_t>(v * scale + 0.5f);
}

// The bitmap's pixels, top row first, `channels` (3 or 4) per pixel, each quantized to `scale`.
std::vector<std::uint16_t> integerPixels(const Bitmap& bm, int channels, float scale);

// A bitmap of w x h from `channels` (1..4) samples per pixel, top row first, read by `sample(i)`
// as a float: grey fills r, g and b; without alpha, alpha is 1. Null when memory is not to be had.
template <class Sample>
Bitmap* makeBitmap(int w, int h, int channels, int type, Sample sample) {
  const bool alpha = channels == 2 || channels == 4;
  Bitmap* bm = BitmapFactory::make(w, h, type, alpha ? MAP_HAS_ALPHA : 0);
  if (!bm) return nullptr;
  size_t i = 0;
  for (int y = 0; y < h; ++y) {
    float* dst = BitmapFactory::row(*bm, y);
    for (int x = 0; x < w; ++x, dst += 4, i += size_t(channels)) {
      if (channels < 3) {
        dst[0] = dst[1] = dst[2] = sample(i);
        dst[3] = channels == 2 ? sample(i + 1) : 1.0f;
      } else {
        for (int c = 0; c < 3; ++c) dst[c] = sample(i + size_t(c));
        dst[3] = channels == 4 ? sample(i + 3) : 1.0f;
      }
    }
  }
  return bm;
}

// Fills in what reading a file tells its BitmapInfo.
void describeRead(BitmapInfo& bi, const Bitmap& bm, const char* device);

// PNG, written here (stb writes 8 bits only and no text): 8 or 16 bits, RGB or RGBA, each tag a
// text chunk of its own.
bool encodePng(const Bitmap& bm, const ImageFileSettings& s, const ImageFileTags& tags, Bytes& out);
// The text chunks of a PNG file's bytes.
void pngTags(const Bytes& file, ImageFileTags& tags);

// Whether every run-length row of a Radiance HDR file of width x height adds up to its width, as far
// as the file goes; rows stb reads as flat pixels are not looked into.
bool hdrRowsWhole(const Bytes& file, int width, int height);

bool isExr(const Bytes& file);
Bitmap* readExr(const Bytes& file, BitmapInfo& bi, BMMRES& status);
// OpenEXR files keep floats; `alpha` says whether an A channel goes with R, G and B.
BMMRES encodeExr(const Bitmap& bm, bool alpha, const ImageFileTags& tags, Bytes& out);
bool exrTags(const Bytes& file, ImageFileTags& tags, BMMRES& status);

}  // namespace sim::stbfiles
