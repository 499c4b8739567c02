#include "tests/vst3/ProbePlug.h"

#include "framework/FourCC.h"

#include <algorithm>

namespace {

IPlugConfig probeConfig()
{
  IPlugConfig config;
  config.nParams = ProbePlug::kNumParams;
  config.nPresets = 1;
  config.channelIO = "1-1 2-2";
  config.effectName = "Probe";
  config.mfrName = "Tests";
  config.uniqueID = FourCC("Prb1");
  config.mfrID = FourCC("Test");
  config.vendorVersion = 0x10000;
  config.apiCode = kApiVST3;
  return config;
}

}  // namespace

ProbePlug::ProbePlug() : IPlugVST3(probeConfig())
{
  GetParam(kGain)->DefineContinuous("Gain", 0.0, -16.0, 16.0, 0.01, "dB");
  GetParam(kShaped)->DefineContinuous("Shaped", 25.0, 0.0, 100.0, 0.01, "%", "", 2.0);
  GetParam(kSwitch)->DefineInteger("Switch", 1, 0, 3);
  GetParam(kHuge)->DefineContinuous("Huge", 0.0, 0.0, 1e300, 0.000001);
  GetParam(kGrouped)->DefineInteger("Grouped", 0, 0, 1, "", "Tone");
  GetParam(kGrouped)->SetCanAutomate(false);
  CaptureDefaultPreset();
}

void ProbePlug::ProcessDoubles(double** inputs, double** outputs, int frames)
{
  ++processCalls;
  largestSlice = std::max(largestSlice, frames);
  for (int c = 0; c < NOutChannels(); ++c)
    for (int s = 0; s < frames; ++s)
      outputs[c][s] = 2.0 * inputs[c][s];
}
