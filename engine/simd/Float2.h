#pragma once

#include <emmintrin.h>

#include "engine/simd/Double2.h"

// Two floats in the low half of an SSE register, left channel in lane 0:
// the single-precision counterpart of Double2, rounding like scalar floats.
struct Float2
{
  __m128 v;

  Float2() = default;
  explicit Float2(__m128 lanes) : v(lanes) {}

  static Float2 Both(float x) { return Float2(_mm_set1_ps(x)); }
  static Float2 Lanes(float left, float right)
  {
    return Float2(_mm_set_ps(0.0f, 0.0f, right, left));
  }
  // Each lane rounded to single precision.
  static Float2 From(Double2 d) { return Float2(_mm_cvtpd_ps(d.v)); }
  Double2 ToDouble() const { return Double2(_mm_cvtps_pd(v)); }

  float Left() const { return _mm_cvtss_f32(v); }
  float Right() const { return _mm_cvtss_f32(_mm_shuffle_ps(v, v, 1)); }

  friend Float2 operator+(Float2 a, Float2 b) { return Float2(_mm_add_ps(a.v, b.v)); }
  friend Float2 operator-(Float2 a, Float2 b) { return Float2(_mm_sub_ps(a.v, b.v)); }
  friend Float2 operator*(Float2 a, Float2 b) { return Float2(_mm_mul_ps(a.v, b.v)); }

  // 0 in the lanes where 0 < |a| <= limit; the other lanes, -0 included, as they are.
  friend Float2 FlushTiny(Float2 a, float limit)
  {
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), a.v);
    const __m128 tiny =
      _mm_and_ps(_mm_cmple_ps(magnitude, _mm_set1_ps(limit)), _mm_cmpneq_ps(a.v, _mm_setzero_ps()));
    return Float2(_mm_andnot_ps(tiny, a.v));
  }
};
