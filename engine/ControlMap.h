#pragma once

// The knobs' travel mapped onto the frequencies, bandwidths and make-up the
// sections are designed from, before smoothing.
struct ControlMap
{
  double lowpassHz;
  double lowpassMakeupDb;
  double lowShelfHz;
  double lowBellHz;
  double highShelfHz;
  double highBellHz;
  double lowMidQ;   // bandwidth 0 gives 1.46 (narrowest), 1 gives 0.25 (widest)
  double highMidQ;
};
