// The designs' own elementary functions against exactly rounded values
// (design_math_table.inc, from mpmath at 300 bits): within one unit in the
// last place at the ends and seams of the ranges the designs use, and the
// special values a design could meet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/sections/DesignMath.h"

namespace
{
struct MathCase
{
  double argument;
  double expected;
};

#include "tests/engine/design_math_table.inc"

// Distance in units in the last place, across zero and binades alike.
int64_t Ordered(double v)
{
  int64_t i;
  std::memcpy(&i, &v, sizeof i);
  return i < 0 ? -(i & 0x7fffffffffffffff) : i;
}
int64_t Ordered(float v)
{
  int32_t i;
  std::memcpy(&i, &v, sizeof i);
  return i < 0 ? -static_cast<int64_t>(i & 0x7fffffff) : i;
}
template <class T>
int64_t Ulps(T a, T b)
{
  const int64_t d = Ordered(a) - Ordered(b);
  return d < 0 ? -d : d;
}

struct Function
{
  const char* name;
  const MathCase* table;
  size_t size;
  double (*ofDouble)(double);
  float (*ofFloat)(float);
};

template <size_t N>
Function Of(const char* name, const MathCase (&table)[N], double (*f)(double))
{
  return {name, table, N, f, nullptr};
}
template <size_t N>
Function Of(const char* name, const MathCase (&table)[N], float (*f)(float))
{
  return {name, table, N, nullptr, f};
}

class DesignMath : public ::testing::TestWithParam<Function>
{
};
}  // namespace

TEST_P(DesignMath, IsWithinOneUlpOfTheExactlyRoundedValueAtTheEndsAndSeamsOfItsRange)
{
  const Function& f = GetParam();
  int64_t worst = 0;
  size_t exact = 0;
  for (size_t i = 0; i < f.size; ++i)
  {
    const MathCase& c = f.table[i];
    int64_t ulps;
    if (f.ofDouble)
      ulps = Ulps(f.ofDouble(c.argument), c.expected);
    else
      ulps = Ulps(f.ofFloat(static_cast<float>(c.argument)), static_cast<float>(c.expected));
    EXPECT_LE(ulps, 1) << f.name << "(" << std::hexfloat << c.argument << ") should be "
                       << c.expected;
    worst = std::max(worst, ulps);
    exact += ulps == 0;
  }
  std::printf("%s: %zu of %zu exactly rounded, worst %lld ulp\n", f.name, exact, f.size,
              static_cast<long long>(worst));
}

INSTANTIATE_TEST_SUITE_P(
  Functions, DesignMath,
  ::testing::Values(Of("Exp", kExpTable, design::Exp),
                    Of("PowerOfTen", kPowerOfTenTable, design::PowerOfTen),
                    Of("Tan", kTanTable, static_cast<double (*)(double)>(design::Tan)),
                    Of("Atan", kAtanTable, static_cast<double (*)(double)>(design::Atan)),
                    Of("TanFloat", kTanFloatTable, static_cast<float (*)(float)>(design::Tan)),
                    Of("AtanFloat", kAtanFloatTable, static_cast<float (*)(float)>(design::Atan)),
                    Of("FourthRoot", kFourthRootFloatTable, design::FourthRoot)),
  [](const ::testing::TestParamInfo<Function>& info) { return std::string(info.param.name); });

TEST(DesignMathSpecials, KeepSignsOfZeroAndMeetInfinitiesAndNaNAsTheLibraryDoes)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(design::Exp(-inf), 0.0);
  EXPECT_EQ(design::Exp(inf), inf);
  EXPECT_EQ(design::Exp(800.0), inf);
  EXPECT_EQ(design::PowerOfTen(0.0), 1.0);
  EXPECT_EQ(design::PowerOfTen(1.0), 10.0);
  EXPECT_TRUE(std::signbit(design::Tan(-0.0)));
  EXPECT_TRUE(std::signbit(design::Atan(-0.0)));
  EXPECT_EQ(design::Atan(inf), std::atan(inf));
  EXPECT_EQ(design::Atan(-inf), -std::atan(inf));
  for (double (*f)(double) : {design::Exp, design::PowerOfTen,
                              static_cast<double (*)(double)>(design::Tan),
                              static_cast<double (*)(double)>(design::Atan)})
    EXPECT_TRUE(std::isnan(f(nan)));
  EXPECT_TRUE(std::isnan(design::Tan(inf)));
  EXPECT_EQ(design::FourthRoot(0.0f), 0.0f);
  EXPECT_EQ(design::FourthRoot(16.0f), 2.0f);
}
