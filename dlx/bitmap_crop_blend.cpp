#include "bitmap_crop_blend.h"

#include <cstddef>

// One pixel is one 128-bit vector of r, g, b, a. x86-64 always has SSE2 (MinGW and MSVC included);
// elsewhere the plain forms run one channel at a time. Both do the same operations in the same
// order, so they give the same bits.
#if defined(__SSE2__) || defined(_M_X64)
#define QZM_PIXEL_SSE2 1
#include <emmintrin.h>
#endif

namespace qzmdlx {
namespace {

static_assert(sizeof(BMM_Color_fl) == 4 * sizeof(float), "a pixel is four floats without padding");

// Rows as flat runs of floats, four to a pixel, so that the per-channel modes vectorise.
float* channels(BMM_Color_fl* row) { return &row->r; }
const float* channels(const BMM_Color_fl* row) { return &row->r; }

// Screen, add and multiply are plain loops over channels in both paths: the compiler vectorises them.
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
void plainOverlayMix(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  const float q = 1.0f - p;
  for (std::size_t i = 0; i < n; ++i) {
    const float ci = c[i], vi = v[i];
    const float light = 2.0f * (ci + vi - ci * vi) - 1.0f;
    const float dark = 2.0f * ci * vi;
    const float t = (testOverlay ? vi : ci) > 0.5f ? light : dark;
    c[i] = t * p + ci * q;
  }
}

// Premultiplied "over" (o = overlay x opacity): c x (1 - o.a) + o, only where o.a is above 0.
void plainOver(BMM_Color_fl* __restrict c, const BMM_Color_fl* __restrict v, int width, float p) {
  for (int l = 0; l < width; ++l) {
    const float oa = v[l].a * p;
    if (!(oa > 0.0f)) continue;
    const float keep = 1.0f - oa;
    c[l] = BMM_Color_fl(c[l].r * keep + v[l].r * p, c[l].g * keep + v[l].g * p, c[l].b * keep + v[l].b * p,
                        c[l].a * keep + oa);
  }
}

#ifdef QZM_PIXEL_SSE2

__m128 select(__m128 mask, __m128 ifSet, __m128 ifClear) {
  return _mm_or_ps(_mm_and_ps(mask, ifSet), _mm_andnot_ps(mask, ifClear));
}
template <int lane>
__m128 broadcast(__m128 x) {
  return _mm_shuffle_ps(x, x, _MM_SHUFFLE(lane, lane, lane, lane));
}
// All bits set in the lanes of r, g and b; clear in the alpha lane.
__m128 colourLanes() { return _mm_castsi128_ps(_mm_set_epi32(0, -1, -1, -1)); }

// `n` counts channels of whole pixels, so it is a multiple of four.
template <bool testOverlay>
void vectorOverlayMix(float* __restrict c, const float* __restrict v, std::size_t n, float p) {
  const __m128 P = _mm_set1_ps(p), Q = _mm_set1_ps(1.0f - p), one = _mm_set1_ps(1.0f), two = _mm_set1_ps(2.0f),
               half = _mm_set1_ps(0.5f);
  for (std::size_t i = 0; i + 4 <= n; i += 4) {
    const __m128 ci = _mm_loadu_ps(c + i), vi = _mm_loadu_ps(v + i);
    const __m128 light = _mm_sub_ps(_mm_mul_ps(two, _mm_sub_ps(_mm_add_ps(ci, vi), _mm_mul_ps(ci, vi))), one);
    const __m128 dark = _mm_mul_ps(_mm_mul_ps(two, ci), vi);
    const __m128 t = select(_mm_cmpgt_ps(testOverlay ? vi : ci, half), light, dark);
    _mm_storeu_ps(c + i, _mm_add_ps(_mm_mul_ps(t, P), _mm_mul_ps(ci, Q)));
  }
}

void vectorOver(BMM_Color_fl* __restrict c, const BMM_Color_fl* __restrict v, int width, float p) {
  const __m128 P = _mm_set1_ps(p), one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps();
  for (int l = 0; l < width; ++l) {
    const __m128 ci = _mm_loadu_ps(&c[l].r);
    const __m128 o = _mm_mul_ps(_mm_loadu_ps(&v[l].r), P);
    const __m128 oa = broadcast<3>(o);
    const __m128 blended = _mm_add_ps(_mm_mul_ps(ci, _mm_sub_ps(one, oa)), o);
    _mm_storeu_ps(&c[l].r, select(_mm_cmpgt_ps(oa, zero), blended, ci));
  }
}

void vectorTakeAlpha(BMM_Color_fl* __restrict row, const BMM_Color_fl* __restrict alpha, int width) {
  const __m128 colour = colourLanes();
  for (int l = 0; l < width; ++l) {
    const __m128 green = broadcast<1>(_mm_loadu_ps(&alpha[l].r));
    _mm_storeu_ps(&row[l].r, select(colour, _mm_loadu_ps(&row[l].r), green));
  }
}

void vectorOverBackground(BMM_Color_fl* __restrict row, const BMM_Color_fl* __restrict background, int width) {
  const __m128 colour = colourLanes(), one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps();
  for (int l = 0; l < width; ++l) {
    const __m128 c = _mm_loadu_ps(&row[l].r), b = _mm_loadu_ps(&background[l].r);
    const __m128 a = broadcast<3>(c);
    const __m128 mixed = _mm_add_ps(_mm_mul_ps(c, a), _mm_mul_ps(b, _mm_sub_ps(one, a)));
    __m128 out = select(_mm_cmplt_ps(a, one), mixed, c);
    out = select(_mm_cmpeq_ps(a, zero), b, out);
    _mm_storeu_ps(&row[l].r, select(colour, out, c));
  }
}

#endif

// The modes that have a form of their own in each path.
struct OverlayForms {
  void (*over)(BMM_Color_fl*, const BMM_Color_fl*, int, float);
  void (*overlayOnImage)(float*, const float*, std::size_t, float);
  void (*overlayOnOverlay)(float*, const float*, std::size_t, float);
};

constexpr OverlayForms kPlainForms{plainOver, plainOverlayMix<false>, plainOverlayMix<true>};
#ifdef QZM_PIXEL_SSE2
constexpr OverlayForms kVectorForms{vectorOver, vectorOverlayMix<false>, vectorOverlayMix<true>};
#endif

void blend(const OverlayForms& forms, BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity,
           int mode) {
  if (width <= 0) return;
  const std::size_t n = 4 * static_cast<std::size_t>(width);
  switch (mode) {
    case 0: forms.over(row, overlay, width, opacity); break;
    case 1: screen(channels(row), channels(overlay), n, opacity); break;
    case 2: add(channels(row), channels(overlay), n, opacity); break;
    case 3: multiply(channels(row), channels(overlay), n, opacity); break;
    case 4: forms.overlayOnImage(channels(row), channels(overlay), n, opacity); break;
    case 5: forms.overlayOnOverlay(channels(row), channels(overlay), n, opacity); break;
    default: break;
  }
}

}  // namespace

namespace plain {

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
  blend(kPlainForms, row, overlay, width, opacity, mode);
}

}  // namespace plain

#ifdef QZM_PIXEL_SSE2

void takeAlpha(BMM_Color_fl* row, const BMM_Color_fl* alpha, int width) { vectorTakeAlpha(row, alpha, width); }
void overBackground(BMM_Color_fl* row, const BMM_Color_fl* background, int width) {
  vectorOverBackground(row, background, width);
}
void blendOverlay(BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity, int mode) {
  blend(kVectorForms, row, overlay, width, opacity, mode);
}

#else

void takeAlpha(BMM_Color_fl* row, const BMM_Color_fl* alpha, int width) { plain::takeAlpha(row, alpha, width); }
void overBackground(BMM_Color_fl* row, const BMM_Color_fl* background, int width) {
  plain::overBackground(row, background, width);
}
void blendOverlay(BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity, int mode) {
  plain::blendOverlay(row, overlay, width, opacity, mode);
}

#endif

}  // namespace qzmdlx
