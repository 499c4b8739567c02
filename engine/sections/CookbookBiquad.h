#pragma once

#include <cstdint>

#include "engine/sections/DesignMemo.h"

// Second-order section from the bilinear-transform "cookbook": high-pass and
// the two shelves. Double precision, transposed direct form II.
struct CookbookBiquad
{
  // Design codes for `type`.
  static constexpr int32_t kHighpass = 1;
  static constexpr int32_t kLowShelf = 5;
  static constexpr int32_t kHighShelf = 6;

  // Corners at or beyond Nyquist turn tan(π·Fc) negative or infinite; the
  // design never goes past this fraction of the sample rate.
  static constexpr double kMaxFc = 0.49;

  int32_t type = 0;
  double a0 = 1.0, a1 = 0.0, a2 = 0.0; // feed-forward
  double b1 = 0.0, b2 = 0.0;           // feedback, leading 1 implied
  double Fc = 0.5;                     // corner in Hz / sample rate
  double Q = 0.707;
  double peakGain = 0.0;               // shelf gain in dB
  double z1 = 0.0, z2 = 0.0;
  DesignMemo<int32_t, double, double, double> memo;

  // Stores the settings and derives the coefficients. Fc is kept as given;
  // only the design sees it limited to kMaxFc. Unknown types keep the
  // previous coefficients. The state runs on. The same settings as last time
  // keep the coefficients they gave.
  void design(int32_t newType, double newFc, double newQ, double newPeakGain);

  double process(double x)
  {
    const double out = x * a0 + z1;
    z1 = x * a1 + z2 - b1 * out;
    z2 = x * a2 - b2 * out;
    return out;
  }
};
