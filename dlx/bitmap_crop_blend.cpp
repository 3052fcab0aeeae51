#include "bitmap_crop_blend.h"

#include <cstddef>

namespace qzmdlx {
namespace {

static_assert(sizeof(BMM_Color_fl) == 4 * sizeof(float), "a pixel is four floats without padding");

// Rows as flat runs of floats, four to a pixel, so that the per-channel modes vectorise.
float* channels(BMM_Color_fl* row) { return &row->r; }
const float* channels(const BMM_Color_fl* row) { return &row->r; }

void screen(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  for (std::size_t i = 0; i < n; ++i) {
    float o = v[i] * p;
    c[i] = c[i] + o - c[i] * o;
  }
}

void add(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  for (std::size_t i = 0; i < n; ++i) c[i] = c[i] + v[i] * p;
}

void multiply(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  for (std::size_t i = 0; i < n; ++i) c[i] = c[i] * (v[i] * p);
}

// The overlay formula takes the overlay unscaled; the opacity only mixes the outcome with the image.
// `testOverlay` picks which of the two decides between the light and the dark half.
template <bool testOverlay>
void overlayMix(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  const float q = 1.0f - p;
  for (std::size_t i = 0; i < n; ++i) {
    float ci = c[i], vi = v[i];
    float light = 2.0f * (ci + vi - ci * vi) - 1.0f;
    float dark = 2.0f * ci * vi;
    float t = (testOverlay ? vi : ci) > 0.5f ? light : dark;
    c[i] = t * p + ci * q;
  }
}

// Premultiplied "over": only an overlay pixel with some coverage (scaled alpha above 0) changes
// the image.
void over(BMM_Color_fl* __restrict c, const BMM_Color_fl* __restrict v, int width, float p) {
  for (int l = 0; l < width; ++l) {
    float oa = v[l].a * p;
    float keep = 1.0f - oa;
    BMM_Color_fl blended(c[l].r * keep + v[l].r * p, c[l].g * keep + v[l].g * p, c[l].b * keep + v[l].b * p,
                         c[l].a * keep + oa);
    if (oa > 0.0f) c[l] = blended;
  }
}

}  // namespace

void takeAlpha(BMM_Color_fl* __restrict row, const BMM_Color_fl* __restrict alpha, int width) {
  for (int l = 0; l < width; ++l) row[l].a = alpha[l].g;
}

void overBackground(BMM_Color_fl* __restrict row, const BMM_Color_fl* __restrict background, int width) {
  for (int l = 0; l < width; ++l) {
    const float a = row[l].a;
    const BMM_Color_fl& b = background[l];
    if (a == 0.0f) {
      row[l].r = b.r;
      row[l].g = b.g;
      row[l].b = b.b;
    } else if (a < 1.0f) {
      const float rest = 1.0f - a;
      row[l].r = row[l].r * a + b.r * rest;
      row[l].g = row[l].g * a + b.g * rest;
      row[l].b = row[l].b * a + b.b * rest;
    }
  }
}

void blendOverlay(BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity, int mode) {
  const std::size_t n = 4 * static_cast<std::size_t>(width);
  switch (mode) {
    case 0: over(row, overlay, width, opacity); break;
    case 1: screen(channels(row), channels(overlay), n, opacity); break;
    case 2: add(channels(row), channels(overlay), n, opacity); break;
    case 3: multiply(channels(row), channels(overlay), n, opacity); break;
    case 4: overlayMix<false>(channels(row), channels(overlay), n, opacity); break;
    case 5: overlayMix<true>(channels(row), channels(overlay), n, opacity); break;
    default: break;
  }
}

}  // namespace qzmdlx
