#pragma once

#include <cmath>

#include "engine/sections/DesignMath.h"
#include "engine/sections/DesignMemo.h"

// One-pole smoother for control values. The engine steps it once per use:
// twice per block for the 500 Hz design controls (left design, right
// design), once per channel and sample for the two 10 Hz gains.
struct ParameterSmoother
{
  double oneMinusCoeff = 1.0;
  double coeff = 0.0;
  double state = 0.0;
  DesignMemo<double, double> memo;

  // The same cutoff and rate as last time keep the coefficient they gave.
  void setCutoff(double hz, double sampleRate)
  {
    if (memo.repeats(hz, sampleRate))
      return;
    const double pi = 3.141592653589793;
    coeff = design::Exp(-2.0 * pi * hz / sampleRate);
    oneMinusCoeff = 1.0 - coeff;
  }

  // Also used for linear gain factors: target · (1 - c) + c · state is
  // the same sum, and addition is commutative bit for bit.
  double step(double target)
  {
    state = coeff * state + oneMinusCoeff * target;
    return state;
  }

  // For gains in dB feeding a console bell: the offset makes 0 dB settle at
  // 0.0001 dB, so a smoothed bell never lands on its flat special case.
  double stepGain(double targetDb)
  {
    state = (targetDb + 0.0001) * oneMinusCoeff + coeff * state;
    return state;
  }
};
