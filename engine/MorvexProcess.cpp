// The audio path: per-block control work, then the per-sample chain for the
// left and right channel side by side, in short chunks.
#include "engine/Morvex.h"
#include "graphics/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kShelfQ = 0.13;
constexpr double kLowBellQ = 0.8;
constexpr double kHighBellQ = 0.48;
constexpr float kLowpassQ = 0.707f;
constexpr double kDenormalGuard = 1e-10;

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

double Single(double x) { return static_cast<double>(static_cast<float>(x)); }

// The fixed gentle saturation between the high-pass and the low-pass.
double Colour(double h)
{
  const double h2 = h * h;
  const double h4 = h2 * h2;
  return h + 0.3 * (0.05 * std::tanh(h2 * h) - 0.005 * std::tanh(h4 * h4) + 0.001 * std::sin(h2));
}

// Full scale is 1. Anything beyond this is a broken source upstream, yet it is
// far enough below the single-precision limit (3.4e38) that no gain or boost in
// the chain can carry a sample past it.
constexpr double kLoudestInput = 1e30;

// A sample from a broken source upstream (NaN, infinite, or too loud for the
// single-precision stages) would poison every filter state for good.
double Sanitize(double x) { return std::fabs(x) <= kLoudestInput ? x : 0.0; }
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

void Morvex::RunChain(const BlockSettings& block, double** inputs, double** outputs, int nFrames)
{
  for (int start = 0; start < nFrames; start += kChunkFrames)
  {
    const int n = std::min(kChunkFrames, nFrames - start);
    RunChunk(block, inputs[0] + start, inputs[1] + start, outputs[0] + start, outputs[1] + start, n);
  }
}

// The chain runs in two passes over a short chunk instead of one pass per
// sample: first everything up to the colour stage, whose library calls clobber
// every register, then the sections after it in a loop free of calls, where
// their states stay in registers and consecutive samples overlap. Each section
// and smoother still sees its samples in order, so every output is exactly
// what the per-sample chain gives.
void Morvex::RunChunk(const BlockSettings& block, const double* inL, const double* inR,
                      double* outL, double* outR, int n)
{
  ParameterSmoother& inputGain = mSmoothers.inputGain;
  ParameterSmoother& outputGain = mSmoothers.outputGain;
  ChannelSections& L = mLeft;
  ChannelSections& R = mRight;

  // The whole chunk is read before any output is written, since inputs and
  // outputs may share memory; "EQ Bypass" 0 writes these raw samples back.
  double rawL[kChunkFrames], rawR[kChunkFrames];
  double colouredL[kChunkFrames], colouredR[kChunkFrames];

  for (int i = 0; i < n; ++i)
  {
    rawL[i] = inL[i];
    rawR[i] = inR[i];
    // One input-gain step per channel, left first.
    const double gL = inputGain.step(block.inputTarget);
    const double gR = inputGain.step(block.inputTarget);
    const double xL = Single((Sanitize(rawL[i]) + kDenormalGuard) * gL);
    const double xR = Single((Sanitize(rawR[i]) + kDenormalGuard) * gR);
    colouredL[i] = Colour(Single(L.highpass.process(xL)));
    colouredR[i] = Colour(Single(R.highpass.process(xR)));
  }

  for (int i = 0; i < n; ++i)
  {
    double fL = colouredL[i];
    double fR = colouredR[i];
    if (block.filtersIn)
    {
      fL = static_cast<double>(L.lowpass.process(static_cast<float>(fL))) * block.lowpassMakeup;
      fR = static_cast<double>(R.lowpass.process(static_cast<float>(fR))) * block.lowpassMakeup;
    }
    // The low-pass always takes a second step, with silence.
    L.lowpass.process(0.0f);
    R.lowpass.process(0.0f);

    double lL, lR;
    if (block.lowBell)
    {
      lL = L.lowBell.process(fL);
      lR = R.lowBell.process(fR);
    }
    else
    {
      lL = Single(L.lowShelf.process(Single(fL)));
      lR = Single(R.lowShelf.process(Single(fR)));
    }

    const double mL = L.highMid.process(L.lowMid.process(lL));
    const double mR = R.highMid.process(R.lowMid.process(lR));

    double hL, hR;
    if (block.highBell)
    {
      hL = L.highBell.process(mL);
      hR = R.highBell.process(mR);
    }
    else
    {
      hL = Single(L.highShelf.process(Single(mL)));
      hR = Single(R.highShelf.process(Single(mR)));
    }

    if (block.eqOn)
    {
      // One output-gain step per channel, left first.
      outL[i] = (hL - kDenormalGuard) * outputGain.step(block.outputTarget);
      outR[i] = (hR - kDenormalGuard) * outputGain.step(block.outputTarget);
    }
    else
    {
      outL[i] = rawL[i];
      outR[i] = rawR[i];
    }
  }
}

void Morvex::ProcessDoubles(double** inputs, double** outputs, int nFrames)
{
  const BlockSettings block = PrepareBlock();
  if (nFrames > 0) RunChain(block, inputs, outputs, nFrames);
}
