#pragma once

#include <cstdint>

// Two lane vectors of type V as one, every operation applied to both halves
// side by side. Nothing is computed differently, lane by lane; the two
// halves' long chains of dependent operations simply interleave, so the CPU
// has independent work at hand while one of them waits.
template <class V>
struct Twice
{
  static constexpr int kLanes = 2 * V::kLanes;

  V a, b;

  static Twice Both(double x) { return {V::Both(x), V::Both(x)}; }
  static Twice Load(const double* p) { return {V::Load(p), V::Load(p + V::kLanes)}; }
  void Store(double* p) const
  {
    a.Store(p);
    b.Store(p + V::kLanes);
  }

  friend Twice operator+(Twice x, Twice y) { return {x.a + y.a, x.b + y.b}; }
  friend Twice operator-(Twice x, Twice y) { return {x.a - y.a, x.b - y.b}; }
  friend Twice operator*(Twice x, Twice y) { return {x.a * y.a, x.b * y.b}; }
  friend Twice operator/(Twice x, Twice y) { return {x.a / y.a, x.b / y.b}; }
  friend Twice operator^(Twice x, Twice y) { return {x.a ^ y.a, x.b ^ y.b}; }
  friend Twice operator<(Twice x, Twice y) { return {x.a < y.a, x.b < y.b}; }
  friend Twice operator<=(Twice x, Twice y) { return {x.a <= y.a, x.b <= y.b}; }
  friend Twice operator>(Twice x, Twice y) { return {x.a > y.a, x.b > y.b}; }

  friend Twice Abs(Twice x) { return {Abs(x.a), Abs(x.b)}; }
  friend Twice SignOf(Twice x) { return {SignOf(x.a), SignOf(x.b)}; }
  friend Twice Min(Twice x, Twice y) { return {Min(x.a, y.a), Min(x.b, y.b)}; }
  friend Twice Max(Twice x, Twice y) { return {Max(x.a, y.a), Max(x.b, y.b)}; }
  friend Twice KeepWhere(Twice m, Twice x) { return {KeepWhere(m.a, x.a), KeepWhere(m.b, x.b)}; }
  friend Twice Select(Twice m, Twice x, Twice y)
  {
    return {Select(m.a, x.a, y.a), Select(m.b, x.b, y.b)};
  }
  friend bool Any(Twice m) { return Any(m.a) || Any(m.b); }
  friend Twice ShiftLeftBits(Twice x, int bits)
  {
    return {ShiftLeftBits(x.a, bits), ShiftLeftBits(x.b, bits)};
  }
  friend Twice AddBits(Twice x, int64_t n) { return {AddBits(x.a, n), AddBits(x.b, n)}; }
};
