// Bitmap: float RGBA rows and the runs of pixels plug-ins move in and out of them.
#include "bitmap.h"

#include "bitmap/bitmap_factory.h"
#include "bitmap/image_files.h"
#include "bitmap/image_formats.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The part of the run [x, x + pixels) of row y that lies inside: its first column and length.
struct Run {
  int first = 0, count = 0;
};

Run clip(int x, int y, int pixels, int width, int height) {
  if (pixels <= 0 || y < 0 || y >= height) return {};
  std::int64_t lo = std::max<std::int64_t>(x, 0);
  std::int64_t hi = std::min<std::int64_t>(std::int64_t(x) + pixels, width);
  if (hi <= lo) return {};
  return {int(lo), int(hi - lo)};
}

WORD to16(float v) {
  if (!(v > 0.0f)) return 0;  // NaN too
  if (v >= 1.0f) return 65535;
  return static_cast<WORD>(v * 65535.0f + 0.5f);
}

constexpr float kFrom16 = 1.0f / 65535.0f;

}  // namespace

Bitmap::Bitmap(int width, int height, int type, DWORD flags, float* pixels)
    : width_(width), height_(height), type_(type), flags_(flags), pixels_(pixels) {}

Bitmap::~Bitmap() {
  delete[] pixels_;
  delete output_;
}

void Bitmap::DeleteThis() { delete this; }

int Bitmap::GetPixels(int x, int y, int pixels, BMM_Color_fl* ptr) const {
  Run r = clip(x, y, pixels, width_, height_);
  if (!r.count || !ptr || !pixels_) return 0;
  std::memcpy(static_cast<void*>(ptr + (r.first - x)), BitmapFactory::row(*this, y) + size_t(r.first) * 4, size_t(r.count) * sizeof(BMM_Color_fl));
  return r.count;
}

int Bitmap::PutPixels(int x, int y, int pixels, const BMM_Color_fl* ptr) {
  Run r = clip(x, y, pixels, width_, height_);
  if (!r.count || !ptr || !pixels_) return 0;
  std::memcpy(BitmapFactory::row(*this, y) + size_t(r.first) * 4, ptr + (r.first - x), size_t(r.count) * sizeof(BMM_Color_fl));
  return r.count;
}

int Bitmap::GetPixels(int x, int y, int pixels, BMM_Color_64* ptr) const {
  Run r = clip(x, y, pixels, width_, height_);
  if (!r.count || !ptr || !pixels_) return 0;
  const float* src = BitmapFactory::row(*this, y) + size_t(r.first) * 4;
  BMM_Color_64* dst = ptr + (r.first - x);
  for (int i = 0; i < r.count; ++i, src += 4) dst[i] = BMM_Color_64(to16(src[0]), to16(src[1]), to16(src[2]), to16(src[3]));
  return r.count;
}

int Bitmap::PutPixels(int x, int y, int pixels, const BMM_Color_64* ptr) {
  Run r = clip(x, y, pixels, width_, height_);
  if (!r.count || !ptr || !pixels_) return 0;
  float* dst = BitmapFactory::row(*this, y) + size_t(r.first) * 4;
  const BMM_Color_64* src = ptr + (r.first - x);
  for (int i = 0; i < r.count; ++i, dst += 4) {
    dst[0] = src[i].r * kFrom16;
    dst[1] = src[i].g * kFrom16;
    dst[2] = src[i].b * kFrom16;
    dst[3] = src[i].a * kFrom16;
  }
  return r.count;
}

BOOL Bitmap::Fill(const BMM_Color_fl& c) {
  if (!pixels_) return FALSE;
  float* p = pixels_;
  for (size_t i = 0, n = size_t(width_) * size_t(height_); i < n; ++i, p += 4) {
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
  }
  return TRUE;
}

int Bitmap::DeleteStorage() {
  delete[] pixels_;
  pixels_ = nullptr;
  return 1;
}

BMMRES Bitmap::OpenOutput(BitmapInfo* bi) {
  if (!bi || !*bi->Name()) return BMMRES_BADFILENAME;
  if (!sim::formatForFile(bi->Name())) return BMMRES_BADFILENAME;
  delete output_;
  output_ = new BitmapInfo(*bi);
  return BMMRES_SUCCESS;
}

BMMRES Bitmap::Write(BitmapInfo* bi, DWORD) {
  const BitmapInfo* info = bi ? bi : output_;
  if (!info || !*info->Name()) return BMMRES_BADFILENAME;
  if (!pixels_) return BMMRES_INVALIDUSAGE;
  return sim::writeImageFile(*this, *info);
}

int Bitmap::Close(BitmapInfo*, int) {
  delete output_;
  output_ = nullptr;
  return 1;
}
