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
    Each(*this, [&](auto& lanes, auto section) { lanes.load(l.*section, r.*section); });
  }

  void store(ChannelSections& l, ChannelSections& r) const
  {
    Each(*this, [&](auto& lanes, auto section) { lanes.store(l.*section, r.*section); });
  }

private:
  // Calls visit(lanes, &ChannelSections::section) for every section.
  template <class Self, class Visit>
  static void Each(Self& self, Visit visit)
  {
    visit(self.highpass, &ChannelSections::highpass);
    visit(self.lowShelf, &ChannelSections::lowShelf);
    visit(self.highShelf, &ChannelSections::highShelf);
    visit(self.lowMid, &ChannelSections::lowMid);
    visit(self.highMid, &ChannelSections::highMid);
    visit(self.lowBell, &ChannelSections::lowBell);
    visit(self.highBell, &ChannelSections::highBell);
    visit(self.lowpass, &ChannelSections::lowpass);
  }
};
