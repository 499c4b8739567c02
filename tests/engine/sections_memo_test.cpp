// Sections skip a design whose arguments repeat the last one's. Whatever one
// argument changes, or comes back to, the coefficients must be those a fresh
// section designs from the same arguments.
#include "engine/sections/AnalogMatchedLowpass.h"
#include "engine/sections/ConsoleBell.h"
#include "engine/sections/CookbookBiquad.h"
#include "engine/sections/ParameterSmoother.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace
{
std::array<double, 5> Coefficients(const CookbookBiquad& b)
{
  return {b.a0, b.a1, b.a2, b.b1, b.b2};
}
std::array<double, 5> Coefficients(const ConsoleBell& b) { return {b.b0, b.b1, b.b2, b.a1, b.a2}; }
std::array<double, 5> Coefficients(const AnalogMatchedLowpass& l)
{
  return {l.b0, l.b1, l.b2, l.a1, l.a2};
}
std::array<double, 5> Coefficients(const ParameterSmoother& s)
{
  return {s.coeff, s.oneMinusCoeff, 0, 0, 0};
}

// Designs `kept` through a sequence of argument sets, each differing from the
// first in one place and then returning to it, and compares every result
// with a fresh section's.
template <class Section, class Design>
void ExpectEveryDesignAsFresh(const std::vector<std::vector<double>>& changes, Design design)
{
  Section kept;
  for (size_t i = 0; i < changes.size(); ++i)
  {
    for (size_t use : {i, size_t{0}})
    {
      design(kept, changes[use]);
      Section fresh;
      design(fresh, changes[use]);
      ASSERT_EQ(Coefficients(kept), Coefficients(fresh))
        << "argument set " << use << " after set " << i;
    }
  }
}
}  // namespace

TEST(DesignMemo, ABiquadRedesignsWhenTypeCornerQOrGainChanges)
{
  ExpectEveryDesignAsFresh<CookbookBiquad>({{5, 0.001, 0.13, 6.0},
                                            {6, 0.001, 0.13, 6.0},
                                            {5, 0.002, 0.13, 6.0},
                                            {5, 0.001, 0.2, 6.0},
                                            {5, 0.001, 0.13, -6.0},
                                            {5, 0.001, 0.13, 6.0}},
                                           [](CookbookBiquad& b, const std::vector<double>& a) {
                                             b.design(static_cast<int32_t>(a[0]), a[1], a[2], a[3]);
                                           });
}

TEST(DesignMemo, ABellRedesignsWhenGainFrequencyQOrSampleRateChanges)
{
  ExpectEveryDesignAsFresh<ConsoleBell>({{6.0, 1000.0, 1.0, 48000.0},
                                         {-6.0, 1000.0, 1.0, 48000.0},
                                         {6.0, 1200.0, 1.0, 48000.0},
                                         {6.0, 1000.0, 0.5, 48000.0},
                                         {6.0, 1000.0, 1.0, 44100.0},
                                         {0.0, 1000.0, 1.0, 48000.0}},
                                        [](ConsoleBell& b, const std::vector<double>& a)
                                        {
                                          b.sampleRate = a[3];
                                          b.design(a[0], a[1], a[2]);
                                        });
}

TEST(DesignMemo, ALowpassRedesignsWhenFrequencyQOrSampleRateChanges)
{
  ExpectEveryDesignAsFresh<AnalogMatchedLowpass>(
    {{3000.0, 0.707, 48000.0},
     {3500.0, 0.707, 48000.0},
     {3000.0, 0.6, 48000.0},
     {3000.0, 0.707, 96000.0}},
    [](AnalogMatchedLowpass& l, const std::vector<double>& a)
    { l.design(static_cast<float>(a[0]), static_cast<float>(a[1]), static_cast<float>(a[2])); });
}

TEST(DesignMemo, ASmootherTakesANewCoefficientWhenCutoffOrSampleRateChanges)
{
  ExpectEveryDesignAsFresh<ParameterSmoother>({{500.0, 48000.0}, {10.0, 48000.0}, {500.0, 44100.0}},
                                              [](ParameterSmoother& s, const std::vector<double>& a)
                                              { s.setCutoff(a[0], a[1]); });
}
