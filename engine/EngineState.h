#pragma once

#include "engine/sections/AnalogMatchedLowpass.h"
#include "engine/sections/ConsoleBell.h"
#include "engine/sections/CookbookBiquad.h"
#include "engine/sections/ParameterSmoother.h"

// One channel's filter sections. Left and right each own a set; they share
// every control value.
struct ChannelSections
{
  CookbookBiquad highpass;
  CookbookBiquad lowShelf;
  CookbookBiquad highShelf;
  ConsoleBell lowMid;
  ConsoleBell highMid;
  ConsoleBell lowBell;
  ConsoleBell highBell;
  AnalogMatchedLowpass lowpass;
};

// The smoothers shared by both channels. The 500 Hz ones smooth design
// controls and are stepped once per design; the two gains are stepped per sample.
struct EngineSmoothers
{
  ParameterSmoother lowShelfGain, lowShelfFreq;
  ParameterSmoother lowBellGain, lowBellFreq;
  ParameterSmoother lowMidGain, lowMidFreq, lowMidQ;
  ParameterSmoother highMidGain, highMidFreq, highMidQ;
  ParameterSmoother highShelfGain, highShelfFreq;
  ParameterSmoother highBellGain, highBellFreq;
  ParameterSmoother lowpassFreq;
  ParameterSmoother inputGain, outputGain;
};

// What the per-sample chain needs from one block's control work.
struct BlockSettings
{
  double inputTarget = 1.0;   // linear input gain the smoother heads for
  double outputTarget = 1.0;  // linear output gain
  double lowpassMakeup = 1.0; // linear make-up after the low-pass
  bool eqOn = true;           // "EQ Bypass" 1
  bool filtersIn = false;     // "Filter Bypass" 1
  bool lowBell = false;
  bool highBell = false;
};
