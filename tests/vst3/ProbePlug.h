#pragma once

#include "vst3/IPlugVST3.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/smartpointer.h"

#include <vector>

// A small plug-in on the adapter whose engine is plain arithmetic: each
// output is twice its input. It records what the adapter calls on it.
class ProbePlug : public IPlugVST3
{
public:
  enum Param
  {
    kGain = 0,     // -16..16 dB, step 0.01, linear
    kShaped = 1,   // 0..100, default 25, shape 2
    kSwitch = 2,   // integer 0..3, default 1
    kHuge = 3,     // 0..1e300 with six decimals: texts longer than any host buffer
    kGrouped = 4,  // integer 0..1 in group "Tone", not automatable
    kNumParams = 5
  };

  ProbePlug();

  void ResetProcessing() override { ++resets; }
  void ParameterChanged(int index) override { changed.push_back(index); }
  void ProcessDoubles(double** inputs, double** outputs, int frames) override;

  std::vector<int> changed;
  int resets = 0;
  int processCalls = 0;
  int largestSlice = 0;
};

// A new probe, released when the pointer goes.
inline Steinberg::IPtr<ProbePlug> MakeProbe()
{
  return Steinberg::owned(new ProbePlug);
}
