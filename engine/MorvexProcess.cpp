// The audio path: per-block control work, then the per-sample chain, both
// channels side by side or, on a mono bus, the left channel alone.
#include "engine/Morvex.h"
#include "graphics/IGraphics.h"

#include "engine/ChainKernels.h"
#include "engine/colour/ColourKernels.h"
#include "engine/sections/DesignMath.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kShelfQ = 0.13;
constexpr double kLowBellQ = 0.8;
constexpr double kHighBellQ = 0.48;
constexpr float kLowpassQ = 0.707f;

double DbToGain(double db) { return design::PowerOfTen(db / 20.0); }
}  // namespace

ControlMap Morvex::MapControls(const double* mirror)
{
  const double a = (mirror[kLowpassFilter] - 1000.0) / 19000.0;
  const double b = (mirror[kLowFrequency] - 30.0) / 420.0;
  const double c = (mirror[kHighFrequency] - 1500.0) / 14500.0;
  ControlMap m;
  m.lowpassHz = 500.0 + 10525.0 * a;
  m.lowpassMakeupDb = 6.2 - 2.0 * a;
  m.lowShelfHz = 7.5 + 58.5 * b;
  m.lowBellHz = 25.0 + 395.0 * b;
  m.highShelfHz = 8000.0 + 11900.0 * c;
  m.highBellHz = 1300.0 + 10700.0 * c;
  m.lowMidQ = 1.46 - 1.21 * mirror[kLowMidBandwidth];
  m.highMidQ = 1.46 - 1.21 * mirror[kHighMidBandwidth];
  return m;
}

bool Morvex::SwitchOn(int paramIdx) const
{
  return static_cast<int>(GetParam(paramIdx)->Value()) == 1;
}

BlockSettings Morvex::PrepareBlock()
{
  const double fs = SampleRate();
  EngineSmoothers& s = mSmoothers;

  // 1. Smoother coefficients follow the current sample rate.
  for (ParameterSmoother* p : {&s.lowShelfGain, &s.lowShelfFreq, &s.lowBellGain, &s.lowBellFreq,
                               &s.lowMidGain, &s.lowMidFreq, &s.lowMidQ, &s.highMidGain,
                               &s.highMidFreq, &s.highMidQ, &s.highShelfGain, &s.highShelfFreq,
                               &s.highBellGain, &s.highBellFreq, &s.lowpassFreq})
    p->setCutoff(500.0, fs);
  s.inputGain.setCutoff(10.0, fs);
  s.outputGain.setCutoff(10.0, fs);

  // 2. Control mappings from the mirror.
  const ControlMap map = MapControls(mMirror);

  BlockSettings block;
  block.eqOn = SwitchOn(kEQBypass);
  block.filtersIn = SwitchOn(kFilterBypass);
  block.lowBell = SwitchOn(kLowBell);
  block.highBell = SwitchOn(kHighBell);

  // 3. "Filter Bypass" 0 parks the high-pass far below the audio band.
  const double hpHz = block.filtersIn ? mMirror[kHighpassFilter] : 0.5;
  const double hpQ = block.filtersIn ? 0.707 : 0.1;

  // 4-11. Designs, left then right; each 500 Hz smoother steps once per design.
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double f = s.lowpassFreq.step(map.lowpassHz);
    ch->lowpass.design(static_cast<float>(f), kLowpassQ, static_cast<float>(fs));
  }
  for (ChannelSections* ch : {&mLeft, &mRight})
    ch->highpass.design(CookbookBiquad::kHighpass, hpHz / fs, hpQ, 0.0);
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double g = s.lowShelfGain.stepGain(mMirror[kLowGain]);
    const double f = s.lowShelfFreq.step(map.lowShelfHz);
    ch->lowShelf.design(CookbookBiquad::kLowShelf, f / fs, kShelfQ, g);
  }
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double g = s.highShelfGain.stepGain(mMirror[kHighGain]);
    const double f = s.highShelfFreq.step(map.highShelfHz);
    ch->highShelf.design(CookbookBiquad::kHighShelf, f / fs, kShelfQ, g);
  }
  mLeft.lowMid.sampleRate = mRight.lowMid.sampleRate = fs;
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double q = s.lowMidQ.step(map.lowMidQ);
    const double f = s.lowMidFreq.step(mMirror[kLowMidFrequency]);
    const double g = s.lowMidGain.stepGain(mMirror[kLowMidGain]);
    ch->lowMid.design(g, f, q);
  }
  mLeft.highMid.sampleRate = mRight.highMid.sampleRate = fs;
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double q = s.highMidQ.step(map.highMidQ);
    const double f = s.highMidFreq.step(mMirror[kHighMidFrequency]);
    const double g = s.highMidGain.stepGain(mMirror[kHighMidGain]);
    ch->highMid.design(g, f, q);
  }
  mLeft.lowBell.sampleRate = mRight.lowBell.sampleRate = fs;
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double f = s.lowBellFreq.step(map.lowBellHz);
    const double g = s.lowBellGain.stepGain(mMirror[kLowGain]);
    ch->lowBell.design(g, f, kLowBellQ);
  }
  mLeft.highBell.sampleRate = mRight.highBell.sampleRate = fs;
  for (ChannelSections* ch : {&mLeft, &mRight})
  {
    const double f = s.highBellFreq.step(map.highBellHz);
    const double g = s.highBellGain.stepGain(mMirror[kHighGain]);
    ch->highBell.design(g, f, kHighBellQ);
  }

  // 12. The link drives "Output" from the audio path: parameter, mirror and
  // the editor's knob, which only stores the value for the next redraw.
  if (SwitchOn(kIOLink))
  {
    GetParam(kOutput)->AssignPlain(-mMirror[kInput]);
    mMirror[kOutput] = -mMirror[kInput];
    if (IGraphics* graphics = GetGraphics())
      graphics->UpdateParameterControls(kOutput, -mMirror[kInput], false);
  }

  // The gain targets are the same for every sample of the block.
  block.inputTarget = DbToGain(mMirror[kInput]);
  block.outputTarget = DbToGain(mMirror[kOutput]);
  block.lowpassMakeup = DbToGain(map.lowpassMakeupDb);
  return block;
}

namespace
{
using ChainKernel = void (*)(const ChainRun&);
const bool kAvx2 = CpuHasAvx2();
const ChainKernel kStereoChain = kAvx2 ? RunStereoChainAvx2 : RunStereoChainSse2;
const ChainKernel kMonoChain = kAvx2 ? RunMonoChainAvx2 : RunMonoChainSse2;
}  // namespace

bool Morvex::MonoBus()
{
  return NOutChannels() == 2 && OutChannel(0)->connected && !OutChannel(1)->connected;
}

void Morvex::RunChain(const BlockSettings& block, double** inputs, double** outputs, int nFrames)
{
  const ChainRun run{&block, &mLeft, &mRight, &mSmoothers, inputs, outputs, nFrames};
  (MonoBus() ? kMonoChain : kStereoChain)(run);
}

void Morvex::ProcessDoubles(double** inputs, double** outputs, int nFrames)
{
  const BlockSettings block = PrepareBlock();
  if (nFrames > 0) RunChain(block, inputs, outputs, nFrames);
}
