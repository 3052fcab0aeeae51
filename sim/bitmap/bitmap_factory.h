// The host's own access to bitmaps: making them with their storage, and whole rows of floats for
// image files and script primitives.
#pragma once

#include "bitmap.h"

#include <cstdint>

class HOST_API BitmapFactory {
 public:
  // The largest image the host makes: 2^28 pixels (4 GiB of floats), 65535 on a side.
  static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 28;
  static constexpr int kMaxSide = 65535;
  static bool sizeAllowed(int width, int height);

  // A bitmap with every pixel 0; null for a size not allowed or memory not to be had.
  static Bitmap* make(int width, int height, int type, DWORD flags);
  // Four floats per pixel, `width` pixels; null without storage or for a row outside.
  static float* row(Bitmap& bm, int y);
  static const float* row(const Bitmap& bm, int y);
  // Copies the bitmap's size, type and alpha flag into `bi`.
  static void describe(const Bitmap& bm, BitmapInfo& bi);
};
