#pragma once

#include <cmath>
#include <cstdint>

// The colour stage's tanh and sin, lane by lane for any lane type (Double2,
// Double4) and free of library calls, so the per-sample loop runs the same
// instructions on every platform.
//
// Accuracy, against the exact function, measured over millions of arguments:
// - Tanh: within 3 units in the last place everywhere. |x| <= 1.5 uses a
//   rational approximation; beyond, 1 - 2e/(1 + e) with e = exp(-2|x|) from a
//   reduced Taylor series. From |x| = 20 on the result is ±1, as it rounds in
//   double from 19.06 on. Arguments of any size, infinities included, are fine.
// - Sin: within 2 units in the last place for |y| <= 2^20, after reduction
//   by π in three parts. Larger arguments (an input sample above +60 dB full
//   scale, which only a broken source sends) go to the library per lane.
//
// The stage scales tanh by 0.015 and sin by 0.0003 before adding them to a
// sample, so these errors leave the coloured sample within an ulp of the one
// the library functions give, and mostly identical to it.
namespace colour
{
// The hot path is a few dozen instructions per call: inlined, its constants
// and registers stay put across the loop.
#define MORVEX_LANE_INLINE inline __attribute__((always_inline))

// 1.5 * 2^52: adding it rounds a double below 2^51 to an integer, which
// then sits in the low bits of the sum's pattern.
constexpr double kRoundingMagic = 6755399441055744.0;
constexpr int64_t kRoundingMagicBits = 0x4338000000000000;

constexpr double kTanhRationalLimit = 1.5;
constexpr double kTanhSaturated = 20.0;
constexpr double kSinLimit = 1048576.0;  // 2^20
constexpr double kColourlessBelow = 1e-13;

// e^z for -41 < z < 0, through z = k ln2 + r, |r| <= ln2 / 2.
template <class V>
V ExpNegative(V z)
{
  const double ln2Hi = 0.6931471806019545;  // 32 bits, so k * ln2Hi is exact
  const double ln2Lo = -4.2009150726810846e-11;
  const V s = z * V::Both(1.4426950408889634) + V::Both(kRoundingMagic);
  const V k = s - V::Both(kRoundingMagic);
  const V r = (z - k * V::Both(ln2Hi)) - k * V::Both(ln2Lo);
  // Taylor series to r^12 / 12!: below 2e-16 relative error at |r| = ln2 / 2.
  const double inverseFactorial[13] = {1.0,
                                       1.0,
                                       0.5,
                                       0.16666666666666666,
                                       0.041666666666666664,
                                       0.008333333333333333,
                                       0.001388888888888889,
                                       0.0001984126984126984,
                                       2.48015873015873e-05,
                                       2.7557319223985893e-06,
                                       2.755731922398589e-07,
                                       2.505210838544172e-08,
                                       2.08767569878681e-09};
  V p = V::Both(inverseFactorial[12]);
  for (int n = 11; n >= 0; --n) p = p * r + V::Both(inverseFactorial[n]);
  // 2^k, built from k in the low bits of s.
  const V scale = ShiftLeftBits(AddBits(s, 1023 - kRoundingMagicBits), 52);
  return p * scale;
}

template <class V>
MORVEX_LANE_INLINE V Tanh(V x)
{
  // Padé approximant [11/10] of tanh: x P(x²) / Q(x²), within 6e-19 of
  // tanh for |x| <= 1.5 before rounding.
  const V xc = Min(Max(x, V::Both(-kTanhRationalLimit)), V::Both(kTanhRationalLimit));
  const V t = xc * xc;
  V p = V::Both(7.273091945557423e-11);
  p = p * t + V::Both(1.5600782223220672e-07);
  p = p * t + V::Both(4.9142464003145115e-05);
  p = p * t + V::Both(0.004678362573099415);
  p = p * t + V::Both(0.14285714285714285);
  p = p * t + V::Both(1.0);
  V q = V::Both(4.800240684067899e-09);
  q = q * t + V::Both(3.2761642668763414e-06);
  q = q * t + V::Both(0.0005503955968352253);
  q = q * t + V::Both(0.03007518796992481);
  q = q * t + V::Both(0.47619047619047616);
  q = q * t + V::Both(1.0);
  const V near = xc * p / q;

  const V a = Abs(x);
  const V far = a > V::Both(kTanhRationalLimit);
  if (!Any(far)) return near;
  const V e = ExpNegative(V::Both(-2.0) * Min(a, V::Both(kTanhSaturated)));
  const V magnitude = V::Both(1.0) - V::Both(2.0) * e / (V::Both(1.0) + e);
  return Select(far, magnitude ^ SignOf(x), near);
}

// The lanes beyond the reduction's range, from the library.
template <class V>
V SinOfHuge(V y, V result)
{
  double lanes[V::kLanes], args[V::kLanes];
  result.Store(lanes);
  y.Store(args);
  for (int i = 0; i < V::kLanes; ++i)
    if (std::fabs(args[i]) > kSinLimit) lanes[i] = std::sin(args[i]);
  return V::Load(lanes);
}

template <class V>
MORVEX_LANE_INLINE V Sin(V y)
{
  // y = kπ + r with π in three parts: k * piHi and k * piMid are exact for
  // |k| < 2^19, so r keeps its accuracy even next to a multiple of π.
  const double piHi = 3.141592653701082;
  const double piMid = -1.1128863352101405e-10;
  const double piLo = -2.731731080442501e-21;
  const V yc = Min(Max(y, V::Both(-kSinLimit)), V::Both(kSinLimit));
  const V s = yc * V::Both(0.3183098861837907) + V::Both(kRoundingMagic);
  const V k = s - V::Both(kRoundingMagic);
  const V r = ((yc - k * V::Both(piHi)) - k * V::Both(piMid)) - k * V::Both(piLo);
  // sin r = r + r³ S(r²) for |r| <= π/2; S is a degree-7 Chebyshev fit,
  // within 4e-19 of the exact (sin r - r) / r³.
  const V t = r * r;
  V p = V::Both(2.7314447669863995e-15);
  p = p * t + V::Both(-7.643970296798572e-13);
  p = p * t + V::Both(1.6058977312464087e-10);
  p = p * t + V::Both(-2.5052107616996182e-08);
  p = p * t + V::Both(2.7557319219163234e-06);
  p = p * t + V::Both(-0.00019841269841254974);
  p = p * t + V::Both(0.008333333333333316);
  p = p * t + V::Both(-0.16666666666666666);
  // sin(kπ + r) = (-1)^k sin r: the parity of k is the low bit of s.
  V result = (r + (r * t) * p) ^ ShiftLeftBits(s, 63);

  if (Any(Abs(y) > V::Both(kSinLimit))) result = SinOfHuge(y, result);
  return result;
}

// The fixed gentle saturation between the high-pass and the low-pass.
template <class V>
MORVEX_LANE_INLINE V Colour(V h)
{
  // Below 1e-13 the colour term is under half an ulp of h, so the sum is h
  // itself, with the library's functions too. Such lanes go through the
  // approximations as 0, whose term is +0: a silent channel's decaying tail
  // would otherwise reach h^8 among the denormals, which x86 computes slowly.
  const V hc = Select(Abs(h) < V::Both(kColourlessBelow), V::Both(0.0), h);
  const V h2 = hc * hc;
  const V h4 = h2 * h2;
  return h + V::Both(0.3) * (V::Both(0.05) * Tanh(h2 * hc) - V::Both(0.005) * Tanh(h4 * h4) +
                             V::Both(0.001) * Sin(h2));
}
}  // namespace colour

#undef MORVEX_LANE_INLINE
