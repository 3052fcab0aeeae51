#include "bitmap/bitmap_factory.h"

#include <cstring>
#include <new>

bool BitmapFactory::sizeAllowed(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  return std::int64_t(width) * height <= kMaxPixels;
}

Bitmap* BitmapFactory::make(int width, int height, int type, DWORD flags) {
  if (!sizeAllowed(width, height)) return nullptr;
  size_t floats = size_t(width) * size_t(height) * 4;
  auto* pixels = new (std::nothrow) float[floats];
  if (!pixels) return nullptr;
  std::memset(pixels, 0, floats * sizeof(float));
  return new Bitmap(width, height, type, flags, pixels);
}

float* BitmapFactory::row(Bitmap& bm, int y) {
  if (!bm.pixels_ || y < 0 || y >= bm.height_) return nullptr;
  return bm.pixels_ + size_t(y) * size_t(bm.width_) * 4;
}

const float* BitmapFactory::row(const Bitmap& bm, int y) { return row(const_cast<Bitmap&>(bm), y); }

void BitmapFactory::describe(const Bitmap& bm, BitmapInfo& bi) {
  bi.SetWidth(bm.width_);
  bi.SetHeight(bm.height_);
  bi.SetType(bm.type_);
  bi.ResetFlags(MAP_HAS_ALPHA);
  bi.SetFlags(bm.flags_ & MAP_HAS_ALPHA);
}
