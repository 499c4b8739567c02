#pragma once

#include <emmintrin.h>

#include <cstdint>

// Two doubles in one SSE2 register, which every 64-bit x86 CPU has. The
// engine keeps the left channel in lane 0 and the right in lane 1. Each
// operation rounds exactly like its scalar counterpart, so a chain written
// with Double2 gives each channel the same bits as the scalar chain.
struct Double2
{
  static constexpr int kLanes = 2;

  __m128d v;

  Double2() = default;
  explicit Double2(__m128d lanes) : v(lanes) {}

  static Double2 Both(double x) { return Double2(_mm_set1_pd(x)); }
  static Double2 Lanes(double left, double right) { return Double2(_mm_set_pd(right, left)); }
  static Double2 Load(const double* p) { return Double2(_mm_loadu_pd(p)); }
  void Store(double* p) const { _mm_storeu_pd(p, v); }

  double Left() const { return _mm_cvtsd_f64(v); }
  double Right() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

  friend Double2 operator+(Double2 a, Double2 b) { return Double2(_mm_add_pd(a.v, b.v)); }
  friend Double2 operator-(Double2 a, Double2 b) { return Double2(_mm_sub_pd(a.v, b.v)); }
  friend Double2 operator*(Double2 a, Double2 b) { return Double2(_mm_mul_pd(a.v, b.v)); }
  friend Double2 operator/(Double2 a, Double2 b) { return Double2(_mm_div_pd(a.v, b.v)); }
  friend Double2 operator^(Double2 a, Double2 b) { return Double2(_mm_xor_pd(a.v, b.v)); }

  // Comparisons give a lane mask: all ones where true, zero elsewhere (NaN
  // compares false, as in scalar code).
  friend Double2 operator<(Double2 a, Double2 b) { return Double2(_mm_cmplt_pd(a.v, b.v)); }
  friend Double2 operator<=(Double2 a, Double2 b) { return Double2(_mm_cmple_pd(a.v, b.v)); }
  friend Double2 operator>(Double2 a, Double2 b) { return Double2(_mm_cmpgt_pd(a.v, b.v)); }

  // Rounded to single precision and back, lane by lane.
  friend Double2 Single(Double2 a) { return Double2(_mm_cvtps_pd(_mm_cvtpd_ps(a.v))); }
  friend Double2 Abs(Double2 a) { return Double2(_mm_andnot_pd(_mm_set1_pd(-0.0), a.v)); }
  friend Double2 SignOf(Double2 a) { return Double2(_mm_and_pd(_mm_set1_pd(-0.0), a.v)); }
  friend Double2 Min(Double2 a, Double2 b) { return Double2(_mm_min_pd(a.v, b.v)); }
  friend Double2 Max(Double2 a, Double2 b) { return Double2(_mm_max_pd(a.v, b.v)); }
  // The lanes of `a` where `mask` is set, 0 elsewhere.
  friend Double2 KeepWhere(Double2 mask, Double2 a) { return Double2(_mm_and_pd(mask.v, a.v)); }
  friend Double2 Select(Double2 mask, Double2 ifSet, Double2 ifClear)
  {
    return Double2(_mm_or_pd(_mm_and_pd(mask.v, ifSet.v), _mm_andnot_pd(mask.v, ifClear.v)));
  }
  friend bool Any(Double2 mask) { return _mm_movemask_pd(mask.v) != 0; }

  // Integer views of the bit patterns, for building powers of two and signs.
  friend Double2 ShiftLeftBits(Double2 a, int bits)
  {
    return Double2(_mm_castsi128_pd(_mm_slli_epi64(_mm_castpd_si128(a.v), bits)));
  }
  friend Double2 AddBits(Double2 a, int64_t n)
  {
    return Double2(_mm_castsi128_pd(_mm_add_epi64(_mm_castpd_si128(a.v), _mm_set1_epi64x(n))));
  }
};
