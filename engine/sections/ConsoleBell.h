#pragma once

#include "engine/sections/DesignMemo.h"

// Peaking band after Orfanidis' digital parametric equaliser with prescribed
// Nyquist-frequency gain (reference gain 0 dB). Double precision, direct
// form I.
struct ConsoleBell
{
  // Centres at or beyond Nyquist make the design meaningless; the design
  // never goes past this fraction of the sample rate.
  static constexpr double kMaxFraction = 0.49;

  double b0 = 0.0, b1 = 0.0, b2 = 0.0; // feed-forward
  double a1 = 0.0, a2 = 0.0;           // feedback, leading 1 implied
  double sampleRate = 0.0;             // set by the owner before each design
  double pi = 3.141592653589793;
  double bandGainDivisor = 1.4142135623730951; // band edges at gain / √2 in dB
  double x1 = 0.0, x2 = 0.0;
  double y1 = 0.0, y2 = 0.0;
  DesignMemo<double, double, double, double, double, double> memo;

  // Coefficients only; the state runs on. The same arguments, sample rate
  // and constants as last time keep the coefficients they gave.
  void design(double gainDb, double frequencyHz, double q);

  // Passes the input through unchanged.
  void setFlat()
  {
    b0 = 1.0;
    b1 = b2 = a1 = a2 = 0.0;
  }

  double process(double x)
  {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};
