#pragma once

#include "engine/sections/DesignMemo.h"

// Second-order low-pass after Massberg's analog-matched design: its magnitude
// follows the analog prototype up to Nyquist instead of being squeezed to
// zero there. Single precision throughout, direct form I, with results below
// the smallest normal float flushed to 0 so the tail never turns denormal.
struct AnalogMatchedLowpass
{
  // Above about 0.4385 of the sample rate the design's tangent passes π/2
  // and the section turns unstable; the design never goes past this.
  static constexpr float kMaxFraction = 0.43f;

  float x1 = 0.0f, x2 = 0.0f; // previous inputs
  float y1 = 0.0f, y2 = 0.0f; // previous outputs
  float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
  float a1 = 0.0f, a2 = 0.0f;
  DesignMemo<float, float, float> memo;

  // Coefficients only; the state runs on. The same arguments as last time
  // keep the coefficients they gave. Designs for q up to √½ (the
  // engine uses 0.707); higher q would need the design's peaking branch.
  void design(float frequencyHz, float q, float sampleRate);

  void clear() { x1 = x2 = y1 = y2 = 0.0f; }

  float process(float x)
  {
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    const double yd = y;
    if ((yd > 0.0 && yd < 1.175494351e-38) || (yd < 0.0 && yd > -1.175494351e-38))
      y = 0.0f;
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }
};
