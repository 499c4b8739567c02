#include "engine/sections/CookbookBiquad.h"

#include <cmath>

#include "engine/sections/DesignMath.h"

void CookbookBiquad::design(int32_t newType, double newFc, double newQ, double newPeakGain)
{
  if (memo.repeats(newType, newFc, newQ, newPeakGain))
    return;
  type = newType;
  Fc = newFc;
  Q = newQ;
  peakGain = newPeakGain;

  const double pi = 3.141592653589793;
  const double fc = Fc > kMaxFc ? kMaxFc : Fc;
  const double V = design::PowerOfTen(std::fabs(peakGain) / 20.0);
  const double K = design::Tan(pi * fc);
  const double K2 = K * K;
  double norm;

  switch (type) {
  case kHighpass:
    norm = 1.0 / (1.0 + K / Q + K2);
    a0 = norm;
    a1 = -2.0 * norm;
    a2 = norm;
    b1 = 2.0 * (K2 - 1.0) * norm;
    b2 = (1.0 - K / Q + K2) * norm;
    break;

  case kLowShelf:
    if (peakGain >= 0.0) {
      norm = 1.0 / (1.0 + K / Q + K2);
      a0 = (1.0 + V * K / Q + V * K2) * norm;
      a1 = 2.0 * (V * K2 - 1.0) * norm;
      a2 = (1.0 - V * K / Q + V * K2) * norm;
      b1 = 2.0 * (K2 - 1.0) * norm;
      b2 = (1.0 - K / Q + K2) * norm;
    } else {
      // A cut is the boost with numerator and denominator exchanged.
      norm = 1.0 / (1.0 + V * K / Q + V * K2);
      a0 = (1.0 + K / Q + K2) * norm;
      a1 = 2.0 * (K2 - 1.0) * norm;
      a2 = (1.0 - K / Q + K2) * norm;
      b1 = 2.0 * (V * K2 - 1.0) * norm;
      b2 = (1.0 - V * K / Q + V * K2) * norm;
    }
    break;

  case kHighShelf:
    if (peakGain >= 0.0) {
      norm = 1.0 / (1.0 + K / Q + K2);
      a0 = (V + V * K / Q + K2) * norm;
      a1 = 2.0 * (K2 - V) * norm;
      a2 = (V - V * K / Q + K2) * norm;
      b1 = 2.0 * (K2 - 1.0) * norm;
      b2 = (1.0 - K / Q + K2) * norm;
    } else {
      norm = 1.0 / (V + V * K / Q + K2);
      a0 = (1.0 + K / Q + K2) * norm;
      a1 = 2.0 * (K2 - 1.0) * norm;
      a2 = (1.0 - K / Q + K2) * norm;
      b1 = 2.0 * (K2 - V) * norm;
      b2 = (V - V * K / Q + K2) * norm;
    }
    break;

  default:
    break;
  }
}
