#pragma once

#include <immintrin.h>

#include <cstdint>

#include "engine/simd/Double2.h"

// Four doubles in one AVX register: Double2's operations, twice as wide.
// Only code compiled for AVX2 and reached after a CPU check may use it.
struct Double4
{
  static constexpr int kLanes = 4;

  __m256d v;

  Double4() = default;
  explicit Double4(__m256d lanes) : v(lanes) {}

  static Double4 Both(double x) { return Double4(_mm256_set1_pd(x)); }
  static Double4 Load(const double* p) { return Double4(_mm256_loadu_pd(p)); }
  // Lanes 0-1 from low, 2-3 from high.
  static Double4 Halves(Double2 low, Double2 high)
  {
    return Double4(_mm256_insertf128_pd(_mm256_castpd128_pd256(low.v), high.v, 1));
  }
  Double2 Low() const { return Double2(_mm256_castpd256_pd128(v)); }
  Double2 High() const { return Double2(_mm256_extractf128_pd(v, 1)); }
  void Store(double* p) const { _mm256_storeu_pd(p, v); }

  friend Double4 operator+(Double4 a, Double4 b) { return Double4(_mm256_add_pd(a.v, b.v)); }
  friend Double4 operator-(Double4 a, Double4 b) { return Double4(_mm256_sub_pd(a.v, b.v)); }
  friend Double4 operator*(Double4 a, Double4 b) { return Double4(_mm256_mul_pd(a.v, b.v)); }
  friend Double4 operator/(Double4 a, Double4 b) { return Double4(_mm256_div_pd(a.v, b.v)); }
  friend Double4 operator^(Double4 a, Double4 b) { return Double4(_mm256_xor_pd(a.v, b.v)); }

  friend Double4 operator<(Double4 a, Double4 b)
  {
    return Double4(_mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ));
  }
  friend Double4 operator<=(Double4 a, Double4 b)
  {
    return Double4(_mm256_cmp_pd(a.v, b.v, _CMP_LE_OQ));
  }
  friend Double4 operator>(Double4 a, Double4 b)
  {
    return Double4(_mm256_cmp_pd(a.v, b.v, _CMP_GT_OQ));
  }

  friend Double4 Abs(Double4 a) { return Double4(_mm256_andnot_pd(_mm256_set1_pd(-0.0), a.v)); }
  friend Double4 SignOf(Double4 a) { return Double4(_mm256_and_pd(_mm256_set1_pd(-0.0), a.v)); }
  friend Double4 Min(Double4 a, Double4 b) { return Double4(_mm256_min_pd(a.v, b.v)); }
  friend Double4 Max(Double4 a, Double4 b) { return Double4(_mm256_max_pd(a.v, b.v)); }
  friend Double4 KeepWhere(Double4 mask, Double4 a) { return Double4(_mm256_and_pd(mask.v, a.v)); }
  friend Double4 Select(Double4 mask, Double4 ifSet, Double4 ifClear)
  {
    return Double4(_mm256_blendv_pd(ifClear.v, ifSet.v, mask.v));
  }
  friend bool Any(Double4 mask) { return _mm256_movemask_pd(mask.v) != 0; }

  friend Double4 ShiftLeftBits(Double4 a, int bits)
  {
    return Double4(_mm256_castsi256_pd(_mm256_slli_epi64(_mm256_castpd_si256(a.v), bits)));
  }
  friend Double4 AddBits(Double4 a, int64_t n)
  {
    return Double4(
      _mm256_castsi256_pd(_mm256_add_epi64(_mm256_castpd_si256(a.v), _mm256_set1_epi64x(n))));
  }
};
