#include "engine/sections/DesignMath.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
// An unevaluated sum hi + lo with |lo| at most half an ulp of hi: about 106
// bits, enough that a function's last rounding is the only one that counts.
struct Wide
{
  double hi, lo;
};

// a + b exactly (Knuth's two-sum).
Wide TwoSum(double a, double b)
{
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly when |a| >= |b| (Dekker's fast two-sum).
Wide FastTwoSum(double a, double b)
{
  const double s = a + b;
  return {s, b - (s - a)};
}

// a * b exactly, for products far from overflow and underflow (Dekker, with
// Veltkamp's split into halves of 26 bits; no fused multiply-add needed).
Wide TwoProduct(double a, double b)
{
  auto split = [](double v, double& high, double& low) {
    const double c = 134217729.0 * v;  // 2^27 + 1
    high = c - (c - v);
    low = v - high;
  };
  double ah, al, bh, bl;
  split(a, ah, al);
  split(b, bh, bl);
  const double p = a * b;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

Wide Plus(Wide a, Wide b)
{
  const Wide s = TwoSum(a.hi, b.hi);
  return FastTwoSum(s.hi, s.lo + (a.lo + b.lo));
}

Wide Minus(Wide a) { return {-a.hi, -a.lo}; }

Wide Times(Wide a, Wide b)
{
  const Wide p = TwoProduct(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

Wide Over(Wide a, Wide b)
{
  const double q = a.hi / b.hi;
  const Wide rest = Plus(a, Minus(Times({q, 0.0}, b)));
  return FastTwoSum(q, rest.hi / b.hi);
}

double Round(Wide a) { return a.hi + a.lo; }

// Adding and removing 1.5 * 2^52 rounds |v| < 2^51 to the nearest integer.
double Nearest(double v)
{
  const double magic = 6755399441055744.0;
  return (v + magic) - magic;
}

// 2^k for the normal exponents -1022..1023.
double PowerOfTwo(int k)
{
  const uint64_t bits = static_cast<uint64_t>(k + 1023) << 52;
  double p;
  std::memcpy(&p, &bits, sizeof p);
  return p;
}

// ln 2 in two parts: the first has 32 bits, so k times it is exact for every
// k Exp meets; together they carry about 85 bits.
constexpr double kLn2Hi = 0.6931471806019545;
constexpr double kLn2Lo = -4.2009150726810846e-11;
constexpr double kInvLn2 = 1.4426950408889634;

// e^(z.hi + z.lo) with |z.lo| tiny against z.hi.
double ExpOf(Wide z)
{
  if (z.hi != z.hi) return z.hi;
  if (z.hi > 709.8) return std::numeric_limits<double>::infinity();
  if (z.hi < -745.2) return 0.0;

  // z = k ln2 + r with |r| <= ln2 / 2; z.hi - k * kLn2Hi is exact.
  const double k = Nearest(z.hi * kInvLn2);
  const Wide r = TwoSum(z.hi - k * kLn2Hi, z.lo - k * kLn2Lo);

  // e^r = 1 + r + r²/2 + r³ (1/3! + r/4! + ... + r^11/14!): the last term is
  // below 2^-60 of the sum at |r| = ln2 / 2.
  double p = 1.0 / 87178291200.0;  // 1/14!
  const double inverseFactorial[] = {1.0 / 6227020800.0, 1.0 / 479001600.0, 1.0 / 39916800.0,
                                     1.0 / 3628800.0,    1.0 / 362880.0,    1.0 / 40320.0,
                                     1.0 / 5040.0,       1.0 / 720.0,       1.0 / 120.0,
                                     1.0 / 24.0,         1.0 / 6.0};
  for (double c : inverseFactorial) p = p * r.hi + c;
  const Wide square = TwoProduct(r.hi, r.hi);
  Wide sum = TwoSum(1.0, r.hi);
  sum = Plus(sum, {0.5 * square.hi, 0.5 * square.lo});
  // e^(r.hi + r.lo) = e^r.hi (1 + r.lo) to far below an ulp.
  sum = Plus(sum, {square.hi * r.hi * p + r.lo * (1.0 + r.hi), 0.0});
  const double m = Round(sum);

  const int ki = static_cast<int>(k);
  if (ki > 1023) return m * 2.0 * PowerOfTwo(ki - 1);
  if (ki < -1021) return m * PowerOfTwo(ki + 600) * PowerOfTwo(-600);
  return m * PowerOfTwo(ki);
}

constexpr double kLn10Hi = 2.302585092994046;
constexpr double kLn10Lo = -2.1707562233822494e-16;

// π/2 in three parts of 33, 33 and 53 bits: k times the first two is exact
// for |k| < 2^20.
constexpr double kHalfPiHi = 1.5707963267341256;
constexpr double kHalfPiMid = 6.077100506303966e-11;
constexpr double kHalfPiLo = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr Wide kHalfPi = {1.5707963267948966, 6.123233995736766e-17};

// sin r and cos r for |r| <= π/4 + a little, each to about 2^-60 relative:
// the leading terms wide, the rest, below 1/300 of the sum, in double.
void SinCos(Wide r, Wide& sin, Wide& cos)
{
  const Wide square = Times(r, r);
  const double t = square.hi;
  // sin r = r - r³/3! + r⁵ (1/5! - t/7! + ... - t^6/17!)
  double s = -1.0 / 355687428096000.0;  // -1/17!
  const double sinTerms[] = {1.0 / 1307674368000.0, -1.0 / 6227020800.0, 1.0 / 39916800.0,
                             -1.0 / 362880.0,       1.0 / 5040.0,        -1.0 / 120.0};
  for (double c : sinTerms) s = s * t + c;
  const Wide cube = Times(square, r);
  sin = Plus(r, Minus(Over(cube, {6.0, 0.0})));
  sin = Plus(sin, {-((cube.hi * t) * s), 0.0});
  // cos r = 1 - r²/2 + r⁴/4! - r⁶ (1/6! - t/8! + ... + t^6/18!)
  double q = 1.0 / 6402373705728000.0;  // 1/18!
  const double cosTerms[] = {-1.0 / 20922789888000.0, 1.0 / 87178291200.0, -1.0 / 479001600.0,
                             1.0 / 3628800.0,         -1.0 / 40320.0,      1.0 / 720.0};
  for (double c : cosTerms) q = q * t + c;
  const Wide fourth = Times(square, square);
  cos = Plus({1.0, 0.0}, {-0.5 * square.hi, -0.5 * square.lo});
  cos = Plus(cos, Over(fourth, {24.0, 0.0}));
  cos = Plus(cos, {-((fourth.hi * t) * q), 0.0});
}

// atan(j/8) for j = 0..8, each as a wide value.
constexpr Wide kAtanOfEighths[] = {{0.0, 0.0},
                                   {0.12435499454676144, -3.1253241424539383e-18},
                                   {0.24497866312686414, 1.0698755618734451e-17},
                                   {0.35877067027057225, -2.4623815582638635e-17},
                                   {0.4636476090008061, 2.2698777452961687e-17},
                                   {0.5585993153435624, -5.4556305485916264e-18},
                                   {0.6435011087932844, 1.5834785051444286e-17},
                                   {0.7188299996216245, -2.1478388444456983e-17},
                                   {0.7853981633974483, 3.061616997868383e-17}};
}  // namespace

namespace design
{
double Exp(double x) { return ExpOf({x, 0.0}); }

double PowerOfTen(double x)
{
  // x ln10 as a wide value, then e^(x ln10).
  if (!(std::fabs(x) < 400.0)) return ExpOf({x * kLn10Hi, 0.0});
  const Wide z = TwoProduct(x, kLn10Hi);
  return ExpOf(FastTwoSum(z.hi, z.lo + x * kLn10Lo));
}

double Tan(double x)
{
  if (!(std::fabs(x) < std::numeric_limits<double>::infinity())) return x - x;  // NaN
  // Below 2^-27, tan x = x + x³/3 rounds to x (zeros keep their sign).
  if (std::fabs(x) < 7.450580596923828e-9) return x;
  // x = k π/2 + r, |r| <= π/4, with r carried wide.
  const double k = Nearest(x * kTwoOverPi);
  const double high = x - k * kHalfPiHi;  // exact
  const double mid = k * kHalfPiMid;      // exact
  const Wide partial = TwoSum(high, -mid);
  const Wide r = Plus(partial, {-k * kHalfPiLo, 0.0});
  Wide sin, cos;
  SinCos(r, sin, cos);
  // tan(r + kπ/2) is tan r for even k and -1/tan r for odd k.
  const bool odd = static_cast<int64_t>(k) % 2 != 0;
  return Round(odd ? Minus(Over(cos, sin)) : Over(sin, cos));
}

double Atan(double x)
{
  if (x != x) return x;
  const double a = std::fabs(x);
  if (a < 7.450580596923828e-9) return x;  // atan x = x - x³/3 rounds to x
  if (a > 1.152921504606847e18) return x < 0.0 ? -Round(kHalfPi) : Round(kHalfPi);  // 2^60
  // Beyond 1, atan a = π/2 - atan(1/a).
  const bool inverted = a > 1.0;
  const Wide t = inverted ? Over({1.0, 0.0}, {a, 0.0}) : Wide{a, 0.0};
  // atan t = atan c + atan((t - c) / (1 + t c)) with c = j/8 nearest t, so
  // |u| <= 1/16 and the series below needs few terms.
  const int j = static_cast<int>(Nearest(t.hi * 8.0));
  const double c = j / 8.0;
  const Wide u = j == 0 ? t : Over(Plus(t, {-c, 0.0}), Plus({1.0, 0.0}, Times(t, {c, 0.0})));
  // atan u = u - u³ (1/3 - u²/5 + ... - u^14/17)
  const double u2 = u.hi * u.hi;
  double s = -1.0 / 17.0;
  for (int n = 15; n >= 3; n -= 2) s = s * u2 + ((n / 2) % 2 == 1 ? 1.0 / n : -1.0 / n);
  Wide result = Plus(kAtanOfEighths[j], Plus(u, {-(u.hi * u2) * s, 0.0}));
  if (inverted) result = Plus(kHalfPi, Minus(result));
  const double magnitude = Round(result);
  return x < 0.0 ? -magnitude : magnitude;
}

float Tan(float x) { return static_cast<float>(Tan(static_cast<double>(x))); }
float Atan(float x) { return static_cast<float>(Atan(static_cast<double>(x))); }

float FourthRoot(float x)
{
  return static_cast<float>(std::sqrt(std::sqrt(static_cast<double>(x))));
}
}  // namespace design
