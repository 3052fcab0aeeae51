// Four floats worked on together: the hierarchy meets four boxes or four triangles with one ray in
// one go. SSE where the compiler offers it; elsewhere plain loops that do the same arithmetic in the
// same order, so both builds give the same hits to the last bit.
#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define QZM_LANES_SSE 1
#endif

namespace sim::lanes {

#ifdef QZM_LANES_SSE

struct F4 {
  __m128 v;
};
struct M4 {
  __m128 v;
};

inline F4 load(const float* p) { return {_mm_loadu_ps(p)}; }
inline F4 splat(float x) { return {_mm_set1_ps(x)}; }
inline void store(float* p, F4 a) { _mm_storeu_ps(p, a.v); }
inline F4 operator+(F4 a, F4 b) { return {_mm_add_ps(a.v, b.v)}; }
inline F4 operator-(F4 a, F4 b) { return {_mm_sub_ps(a.v, b.v)}; }
inline F4 operator*(F4 a, F4 b) { return {_mm_mul_ps(a.v, b.v)}; }
inline F4 operator/(F4 a, F4 b) { return {_mm_div_ps(a.v, b.v)}; }
// a < b ? a : b and a > b ? a : b per lane, as the SSE instructions define them.
inline F4 min(F4 a, F4 b) { return {_mm_min_ps(a.v, b.v)}; }
inline F4 max(F4 a, F4 b) { return {_mm_max_ps(a.v, b.v)}; }
inline M4 operator<(F4 a, F4 b) { return {_mm_cmplt_ps(a.v, b.v)}; }
inline M4 operator<=(F4 a, F4 b) { return {_mm_cmple_ps(a.v, b.v)}; }
inline M4 operator>(F4 a, F4 b) { return {_mm_cmpgt_ps(a.v, b.v)}; }
inline M4 operator>=(F4 a, F4 b) { return {_mm_cmpge_ps(a.v, b.v)}; }
inline M4 operator!=(F4 a, F4 b) { return {_mm_cmpneq_ps(a.v, b.v)}; }
inline M4 operator&(M4 a, M4 b) { return {_mm_and_ps(a.v, b.v)}; }
inline int bits(M4 m) { return _mm_movemask_ps(m.v); }
// Lanes whose bits share one with `mask`.
inline M4 sharesBits(const std::uint32_t* lanes, std::uint32_t mask) {
  __m128i x = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes)), _mm_set1_epi32(int(mask)));
  __m128i none = _mm_cmpeq_epi32(x, _mm_setzero_si128());
  return {_mm_castsi128_ps(_mm_xor_si128(none, _mm_set1_epi32(-1)))};
}

#else

struct F4 {
  float v[4];
};
struct M4 {
  bool v[4];
};

template <class Op>
inline F4 each(F4 a, F4 b, Op op) {
  F4 r;
  for (int i = 0; i < 4; ++i) r.v[i] = op(a.v[i], b.v[i]);
  return r;
}
template <class Op>
inline M4 test(F4 a, F4 b, Op op) {
  M4 r;
  for (int i = 0; i < 4; ++i) r.v[i] = op(a.v[i], b.v[i]);
  return r;
}

inline F4 load(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
inline F4 splat(float x) { return {{x, x, x, x}}; }
inline void store(float* p, F4 a) {
  for (int i = 0; i < 4; ++i) p[i] = a.v[i];
}
inline F4 operator+(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x + y; }); }
inline F4 operator-(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x - y; }); }
inline F4 operator*(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x * y; }); }
inline F4 operator/(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x / y; }); }
inline F4 min(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x < y ? x : y; }); }
inline F4 max(F4 a, F4 b) { return each(a, b, [](float x, float y) { return x > y ? x : y; }); }
inline M4 operator<(F4 a, F4 b) { return test(a, b, [](float x, float y) { return x < y; }); }
inline M4 operator<=(F4 a, F4 b) { return test(a, b, [](float x, float y) { return x <= y; }); }
inline M4 operator>(F4 a, F4 b) { return test(a, b, [](float x, float y) { return x > y; }); }
inline M4 operator>=(F4 a, F4 b) { return test(a, b, [](float x, float y) { return x >= y; }); }
inline M4 operator!=(F4 a, F4 b) { return test(a, b, [](float x, float y) { return x != y; }); }
inline M4 operator&(M4 a, M4 b) {
  M4 r;
  for (int i = 0; i < 4; ++i) r.v[i] = a.v[i] && b.v[i];
  return r;
}
inline int bits(M4 m) {
  int r = 0;
  for (int i = 0; i < 4; ++i) r |= m.v[i] ? 1 << i : 0;
  return r;
}
inline M4 sharesBits(const std::uint32_t* lanes, std::uint32_t mask) {
  M4 r;
  for (int i = 0; i < 4; ++i) r.v[i] = (lanes[i] & mask) != 0;
  return r;
}

#endif

}  // namespace sim::lanes
