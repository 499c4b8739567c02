// The audio path: per-block control work, then the per-sample chain for the
// left and right channel side by side, one SIMD lane each, in short chunks.
#include "engine/Morvex.h"
#include "graphics/IGraphics.h"

#include "engine/colour/ColourStage.h"
#include "engine/sections/DesignMath.h"
#include "engine/simd/Double2.h"
#include "engine/simd/Float2.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kShelfQ = 0.13;
constexpr double kLowBellQ = 0.8;
constexpr double kHighBellQ = 0.48;
constexpr float kLowpassQ = 0.707f;
constexpr double kDenormalGuard = 1e-10;

double DbToGain(double db) { return design::PowerOfTen(db / 20.0); }

// Full scale is 1. Anything beyond this is a broken source upstream, yet it is
// far enough below the single-precision limit (3.4e38) that no gain or boost in
// the chain can carry a sample past it.
constexpr double kLoudestInput = 1e30;
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
  StereoChannels lanes;
  lanes.load(mLeft, mRight);
  for (int start = 0; start < nFrames; start += kChunkFrames)
  {
    const int n = std::min(kChunkFrames, nFrames - start);
    RunChunk(block, lanes, inputs[0] + start, inputs[1] + start, outputs[0] + start,
             outputs[1] + start, n);
  }
  lanes.store(mLeft, mRight);
}

namespace
{
// Two steps of a smoother shared by both channels, left first.
Double2 StepTwice(ParameterSmoother& smoother, double target)
{
  const double left = smoother.step(target);
  return Double2::Lanes(left, smoother.step(target));
}

// A sample from a broken source upstream (NaN, infinite, or too loud for the
// single-precision stages) would poison every filter state for good: such a
// sample is taken as silence.
Double2 Sanitize(Double2 x) { return KeepWhere(Abs(x) <= Double2::Both(kLoudestInput), x); }
}  // namespace

// Left and right run side by side, one lane each, in three passes over a
// short chunk: the input stage and high-pass, the colour stage over the whole
// chunk at once, then the sections after it. Each section and smoother still
// sees its samples in order, with the scalar sections' arithmetic.
void Morvex::RunChunk(const BlockSettings& block, StereoChannels& lanes, const double* inL,
                      const double* inR, double* outL, double* outR, int n)
{
  // A local copy, which no output store can alias, stays in registers.
  StereoChannels s = lanes;
  // The whole chunk is read before any output is written, since inputs and
  // outputs may share memory; "EQ Bypass" 0 writes these raw samples back.
  Double2 raw[kChunkFrames];
  alignas(16) double coloured[2 * kChunkFrames];

  const Double2 guard = Double2::Both(kDenormalGuard);
  for (int i = 0; i < n; ++i)
  {
    raw[i] = Double2::Lanes(inL[i], inR[i]);
    const Double2 gain = StepTwice(mSmoothers.inputGain, block.inputTarget);
    const Double2 x = Single((Sanitize(raw[i]) + guard) * gain);
    Single(s.highpass.process(x)).Store(coloured + 2 * i);
  }

  ColourSamples(coloured, 2 * n);

  const Double2 makeup = Double2::Both(block.lowpassMakeup);
  for (int i = 0; i < n; ++i)
  {
    Double2 f = Double2::Load(coloured + 2 * i);
    if (block.filtersIn) f = s.lowpass.process(Float2::From(f)).ToDouble() * makeup;
    // The low-pass always takes a second step, with silence.
    s.lowpass.process(Float2::Both(0.0f));

    const Double2 l =
      block.lowBell ? s.lowBell.process(f) : Single(s.lowShelf.process(Single(f)));
    const Double2 m = s.highMid.process(s.lowMid.process(l));
    const Double2 h =
      block.highBell ? s.highBell.process(m) : Single(s.highShelf.process(Single(m)));

    const Double2 out =
      block.eqOn ? (h - guard) * StepTwice(mSmoothers.outputGain, block.outputTarget) : raw[i];
    outL[i] = out.Left();
    outR[i] = out.Right();
  }
  lanes = s;
}

void Morvex::ProcessDoubles(double** inputs, double** outputs, int nFrames)
{
  const BlockSettings block = PrepareBlock();
  if (nFrames > 0) RunChain(block, inputs, outputs, nFrames);
}
