#pragma once

#include "engine/EngineState.h"
#include "engine/sections/StereoSections.h"

// Both channels' filter sections as lane pairs, left in lane 0, for the
// per-sample chain. Loaded from the scalar sections before a run of samples
// and stored back after it.
struct StereoChannels
{
  StereoBiquad highpass, lowShelf, highShelf;
  StereoBell lowMid, highMid, lowBell, highBell;
  StereoLowpass lowpass;

  void load(const ChannelSections& l, const ChannelSections& r)
  {
    highpass.load(l.highpass, r.highpass);
    lowShelf.load(l.lowShelf, r.lowShelf);
    highShelf.load(l.highShelf, r.highShelf);
    lowMid.load(l.lowMid, r.lowMid);
    highMid.load(l.highMid, r.highMid);
    lowBell.load(l.lowBell, r.lowBell);
    highBell.load(l.highBell, r.highBell);
    lowpass.load(l.lowpass, r.lowpass);
  }

  void store(ChannelSections& l, ChannelSections& r) const
  {
    highpass.store(l.highpass, r.highpass);
    lowShelf.store(l.lowShelf, r.lowShelf);
    highShelf.store(l.highShelf, r.highShelf);
    lowMid.store(l.lowMid, r.lowMid);
    highMid.store(l.highMid, r.highMid);
    lowBell.store(l.lowBell, r.lowBell);
    highBell.store(l.highBell, r.highBell);
    lowpass.store(l.lowpass, r.lowpass);
  }
};
