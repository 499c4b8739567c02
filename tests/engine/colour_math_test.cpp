// The colour stage's own tanh and sin: close to the exact functions over the
// ranges a sample can reach, right at the awkward arguments (the seams of the
// approximations, integers next to multiples of π, saturation), the library's
// own sin beyond the reduction's range, and the same bits at every lane width.
#include "engine/colour/ColourKernels.h"
#include "engine/colour/ColourMath.h"
#include "engine/simd/Double2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
struct Point
{
  double x, exact;  // the exact value rounded to double
};

double Tanh(double x) { return colour::Tanh(Double2::Both(x)).Left(); }
double Sin(double y) { return colour::Sin(Double2::Both(y)).Left(); }

// Units in the last place of `exact` between the two.
double Ulps(double got, long double exact)
{
  const double e = static_cast<double>(exact);
  const double ulp =
    std::nextafter(std::fabs(e), std::numeric_limits<double>::infinity()) - std::fabs(e);
  return static_cast<double>(std::fabs(static_cast<long double>(got) - exact) / ulp);
}

// sin in long double, reduced by π in three parts and summed from its Taylor
// series: within about 1e-19 for the arguments below 100 used here, whatever
// the C runtime's own long double sin does.
long double ExactSin(double y)
{
  const double piHi = 3.141592653589793, piMid = 1.2246467991473532e-16;
  const double piLo = -2.9947698097183397e-33;
  const long double k = std::floor(y / piHi + 0.5);
  // k * piHi and k * piMid are exact in long double.
  const long double r = ((y - k * piHi) - k * piMid) - k * piLo;
  long double term = r, sum = r;
  for (int n = 1; n < 30; ++n)
  {
    term *= -r * r / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return std::fmod(k, 2.0L) == 0 ? sum : -sum;
}

uint64_t Bits(double x)
{
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}
}  // namespace

TEST(ColourMath, TanhAtItsSeamsAndOnTheWayToSaturation)
{
  const Point points[] = {
    {1e-300, 1e-300}, {3e-08, 2.999999999999999e-08}, {0.1, 0.09966799462495582},
    {0.5, 0.46211715726000974}, {0.75, 0.6351489523872873}, {1.0, 0.7615941559557649},
    {1.25, 0.8482836399575129}, {1.3985116691934056, 0.8850295176061865},
    {1.4999999999999998, 0.9051482536448664}, {1.5, 0.9051482536448664},
    {1.5000000000000002, 0.9051482536448665}, {1.7, 0.935409070603099}, {2.5, 0.9866142981514303},
    {4.0, 0.999329299739067}, {9.0, 0.999999969540041}, {15.0, 0.9999999999998128},
    {19.0, 0.9999999999999999}, {19.06, 0.9999999999999999}, {19.07, 1.0},
    {-0.3, -0.2913126124515909}, {-1.2, -0.8336546070121552}, {-3.0, -0.9950547536867305}};
  for (const Point& p : points) EXPECT_LE(Ulps(Tanh(p.x), p.exact), 3.0) << "tanh " << p.x;

  // Beyond 19.07 every double rounds to ±1, infinities included.
  for (double x : {20.0, 25.0, 1e5, 1e300, std::numeric_limits<double>::infinity()})
  {
    EXPECT_EQ(Tanh(x), 1.0) << x;
    EXPECT_EQ(Tanh(-x), -1.0) << -x;
  }
  EXPECT_EQ(Bits(Tanh(0.0)), Bits(0.0));
  EXPECT_EQ(Bits(Tanh(-0.0)), Bits(-0.0));
}

TEST(ColourMath, TanhFollowsTheLibraryAcrossTheRangeOfCubesAndEighthPowers)
{
  double worst = 0.0;
  for (int i = -200000; i <= 200000; ++i)
  {
    const double x = i * 1.2e-4 + i * 1e-11;  // -24 .. 24, off the round numbers
    worst = std::max(worst, Ulps(Tanh(x), std::tanh(static_cast<long double>(x))));
  }
  EXPECT_LE(worst, 3.0);
}

TEST(ColourMath, SinNextToMultiplesOfPiAndAtTheEndOfTheReduction)
{
  // 355, 103993, ...: numerators of the continued fraction of π, the
  // integers closest to a multiple of π.
  const Point points[] = {
    {1e-300, 1e-300}, {1e-08, 1e-08}, {0.5, 0.479425538604203}, {1.5707963267948966, 1.0},
    {3.141592653589793, 1.2246467991473532e-16}, {10.0, -0.5440211108893698},
    {100.0, -0.5063656411097588}, {1000.5, 0.9952739571052135}, {355.0, -3.014435335948845e-05},
    {103993.0, -1.9129335778423752e-05}, {104348.0, -1.1015017584240557e-05},
    {208341.0, 8.114318195038078e-06}, {312689.0, 2.900699389332111e-06},
    {833719.0, 2.3129194164527015e-06}, {1048575.75, 0.08671697522837724},
    {1048576.0, 0.3304931400217347}};
  for (const Point& p : points) EXPECT_LE(Ulps(Sin(p.x), p.exact), 2.0) << "sin " << p.x;
}

TEST(ColourMath, SinFollowsTheLibraryOverSquaredSamples)
{
  double worst = 0.0;
  for (int i = 0; i <= 400000; ++i)
  {
    const float h = static_cast<float>(i * 2e-5);  // samples up to 8 full scale, squared
    const double y = static_cast<double>(h) * h;
    worst = std::max(worst, Ulps(Sin(y), ExactSin(y)));
  }
  EXPECT_LE(worst, 2.0);
}

TEST(ColourMath, SinBeyondTheReductionIsTheLibrarysLaneByLane)
{
  for (double huge : {1048577.0, 1e7, 3.3e20, 1e62})
  {
    const Double2 both = colour::Sin(Double2::Lanes(huge, 2.0));
    EXPECT_EQ(Bits(both.Left()), Bits(std::sin(huge))) << huge;
    EXPECT_LE(Ulps(both.Right(), ExactSin(2.0)), 2.0) << "the lane in range beside " << huge;
  }
}

TEST(ColourMath, TinySamplesComeThroughAsTheLibraryFormulaLeavesThem)
{
  // The formula as written, with the library's functions.
  auto library = [](double h) {
    const double h2 = h * h, h4 = h2 * h2;
    return h + 0.3 * (0.05 * std::tanh(h2 * h) - 0.005 * std::tanh(h4 * h4) + 0.001 * std::sin(h2));
  };
  // Float denormals, the range where h^8 turns denormal, both sides of
  // 1e-13, small samples whose colour shows, and both zeros.
  for (double h :
       {1.4e-45, -1e-40, 3e-39, 1e-30, -1e-20, 9.9e-14, 1.01e-13, -2e-13, 1e-9, -3e-7, 0.0, -0.0})
  {
    const double narrow = static_cast<float>(h);
    EXPECT_EQ(Bits(colour::Colour(Double2::Both(narrow)).Left()), Bits(library(narrow))) << h;
  }
}

TEST(ColourMath, EveryLaneWidthColoursToTheSameBits)
{
  if (!CpuHasAvx2()) GTEST_SKIP() << "this CPU has no AVX2";
  std::vector<double> samples;
  uint32_t seed = 5;
  for (int i = 0; i < 4001; ++i)  // odd, so both loops finish with a tail
  {
    seed = seed * 1664525u + 1013904223u;
    const double u = (seed >> 8) / 16777216.0 * 2.0 - 1.0;
    const double scale = i % 97 == 0 ? 1e25 : i % 13 == 0 ? 40.0 : 1.5;
    samples.push_back(static_cast<float>(u * scale));
  }
  std::vector<double> narrow = samples, wide = samples;
  ColourSamplesSse2(narrow.data(), static_cast<int>(narrow.size()));
  ColourSamplesAvx2(wide.data(), static_cast<int>(wide.size()));
  for (size_t i = 0; i < samples.size(); ++i)
    ASSERT_EQ(Bits(narrow[i]), Bits(wide[i])) << "sample " << i << " = " << samples[i];
}
