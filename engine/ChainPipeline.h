#pragma once

// The per-sample chain as a pipeline. Each section still sees its own samples
// in order, with the scalar sections' arithmetic; only the scheduling differs
// from the plain loop. The chain is eight stages:
//
//   0 input gain and high-pass, 1 colour, 2 low-pass and make-up, 3 low band,
//   4 low-mid, 5 high-mid, 6 high band, 7 output gain
//
// and in iteration j stage s works on group j - s, a group being F frames.
// Within an iteration the stages depend on nothing but their own state and
// what the stage before them left in the previous iteration, so the CPU runs
// them side by side instead of waiting for each section's result in turn.
// Stages run from last to first, each reading its input before the stage
// before it overwrites that. The first and last iterations of a run fill and
// drain the pipeline: there a stage without a group of its own stands still.
//
// Neighbouring stages of one kind can share a register: the low-mid and
// high-mid bells run as lanes of one section, the high-mid lanes a group
// behind (Mids below), and the colour stage colours a group's samples at once.
#include "engine/ChainKernels.h"
#include "engine/StereoChannels.h"
#include "engine/colour/ColourMath.h"
#include "engine/simd/Double2.h"
#include "engine/simd/Float2.h"

#include <cmath>
#include <cstring>

namespace chain
{
#define MORVEX_STAGE inline __attribute__((always_inline))

constexpr int kStages = 8;
constexpr double kDenormalGuard = 1e-10;
// Full scale is 1. Anything beyond this is a broken source upstream, yet it is
// far enough below the single-precision limit (3.4e38) that no gain or boost in
// the chain can carry a sample past it.
constexpr double kLoudestInput = 1e30;

// A sample from a broken source upstream (NaN, infinite, or too loud for the
// single-precision stages) would poison every filter state for good: such a
// sample is taken as silence.
MORVEX_STAGE Double2 Sanitize(Double2 x)
{
  return KeepWhere(Abs(x) <= Double2::Both(kLoudestInput), x);
}
MORVEX_STAGE double Sanitize(double x) { return std::fabs(x) <= kLoudestInput ? x : 0.0; }
// Rounded to single precision and back. The empty asm holds the float as it
// is: GCC 12's SLP vectoriser at -O3 otherwise drops this rounding in some
// inlined combinations (the mono AVX2 kernel with four-frame groups lost it
// after the high-pass and the low shelf).
MORVEX_STAGE double Single(double x)
{
  float f = static_cast<float>(x);
  asm("" : "+x"(f));
  return f;
}

// Two steps of a smoother shared by both channels, left first.
MORVEX_STAGE Double2 StepTwice(ParameterSmoother& smoother, double target)
{
  const double left = smoother.step(target);
  return Double2::Lanes(left, smoother.step(target));
}

// A gain smoother's two steps per frame, left then right. Once it has
// settled, two steps bring its state back to the very bits it started from,
// and from then on every frame takes the same pair: that pair is worked out
// once, and the state it leaves is the state it had.
struct GainSteps
{
  ParameterSmoother smoother;
  double target;
  bool settled;
  Double2 pair;

  GainSteps(const ParameterSmoother& s, double t) : smoother(s), target(t)
  {
    ParameterSmoother probe = s;
    const double left = probe.step(t);
    const double right = probe.step(t);
    settled = probe.state == s.state && std::signbit(probe.state) == std::signbit(s.state);
    pair = Double2::Lanes(left, right);
  }

  MORVEX_STAGE Double2 next() { return settled ? pair : StepTwice(smoother, target); }
};

// True when a low-pass fed silence stays exactly where it is: the state of a
// section whose tail has been flushed to zero. Its silent steps can then be
// left out, bit for bit.
inline bool RestsInSilence(const AnalogMatchedLowpass& section)
{
  AnalogMatchedLowpass next = section;
  next.process(0.0f);
  const float before[4] = {section.x1, section.x2, section.y1, section.y2};
  const float after[4] = {next.x1, next.x2, next.y1, next.y2};
  return std::memcmp(before, after, sizeof before) == 0;
}

// A mask of the lanes of V (two per half for Double4) that are to step.
template <class V>
V LaneMask(bool first, bool second);
template <>
MORVEX_STAGE Double2 LaneMask<Double2>(bool first, bool second)
{
  return Double2::Lanes(first ? 1.0 : 0.0, second ? 1.0 : 0.0) > Double2::Both(0.5);
}

// Steps a lane section (fields x1, x2, y1, y2 of lane type V) only in the
// lanes set in mask; the other lanes keep their state.
template <class Section, class V>
MORVEX_STAGE V ProcessWhere(Section& section, V x, V mask)
{
  const Section before = section;
  const V y = section.process(x);
  section.x1 = Select(mask, section.x1, before.x1);
  section.x2 = Select(mask, section.x2, before.x2);
  section.y1 = Select(mask, section.y1, before.y1);
  section.y2 = Select(mask, section.y2, before.y2);
  return y;
}

// Runs p.Step<checked>(j) for every iteration of a pipeline over `groups`
// groups; iterations where every stage has a group go unchecked.
template <class Pipeline>
MORVEX_STAGE void Drive(Pipeline& p, int groups)
{
  const int total = groups + kStages - 1;
  int j = 0;
  for (; j < total && j < kStages - 1; ++j) p.template Step<true>(j);
  for (; j < groups; ++j) p.template Step<false>(j);
  for (; j < total; ++j) p.template Step<true>(j);
}

template <bool kChecked>
MORVEX_STAGE bool Active(int j, int stage, int groups)
{
  return !kChecked || (j - stage >= 0 && j - stage < groups);
}

// Iteration j of a pipeline of the eight stages, last stage first: each
// reads what the stage before it left before that stage overwrites it. The
// two mid bells run as one lane section, the high-mid a group behind.
template <bool kChecked, class Pipeline>
MORVEX_STAGE void StepStages(Pipeline& p, int j)
{
  if (Active<kChecked>(j, 7, p.groups)) p.Output(j - 7);
  if (Active<kChecked>(j, 6, p.groups)) p.HighBand();
  const bool lowOn = Active<kChecked>(j, 4, p.groups);
  const bool highOn = Active<kChecked>(j, 5, p.groups);
  if (lowOn || highOn) p.mids.template process<kChecked>(p.low, p.lowMid, p.mid, lowOn, highOn);
  if (Active<kChecked>(j, 3, p.groups)) p.LowBand();
  if (Active<kChecked>(j, 2, p.groups)) p.Lowpass();
  if (Active<kChecked>(j, 1, p.groups)) p.Colour();
  if (Active<kChecked>(j, 0, p.groups)) p.Input(j);
}

// The mono chain's mid bells: lane 0 the low-mid, lane 1 the high-mid a group
// behind, both of the left channel.
struct MonoMids
{
  StereoBell lanes;

  void load(const ChannelSections& c) { lanes.load(c.lowMid, c.highMid); }
  void store(ChannelSections& c) const { lanes.store(c.lowMid, c.highMid); }

  // in: the low band's output; between: the low-mid's output, read by the
  // high-mid a group later; out: the high-mid's output.
  template <bool kChecked, int F>
  MORVEX_STAGE void process(const double (&in)[F], double (&between)[F], double (&out)[F],
                            bool lowOn, bool highOn)
  {
    for (int i = 0; i < F; ++i)
    {
      const Double2 x = Double2::Lanes(in[i], between[i]);
      const Double2 y = kChecked && !(lowOn && highOn)
                          ? ProcessWhere(lanes, x, LaneMask<Double2>(lowOn, highOn))
                          : lanes.process(x);
      between[i] = y.Left();
      out[i] = y.Right();
    }
  }
};

// Both channels, left in lane 0, F frames a group. Kernel supplies the
// colour stage for 2F samples and the Mids lane section of both channels.
template <class Kernel, int F, bool kFilters, bool kLowBell, bool kHighBell>
struct StereoPipeline
{
  const BlockSettings& block;
  const double* inL;
  const double* inR;
  double* outL;
  double* outR;
  int groups;

  // Local copies, which no output store can alias: they stay in registers.
  StereoChannels s;
  typename Kernel::Mids mids;
  GainSteps inputGain, outputGain;
  bool lowpassRests;  // the filters are out and the low-pass state rests at zero

  // What each stage left for the next, and the raw input of each group in
  // flight, which "EQ Bypass" 0 writes back.
  Double2 raw[kStages][F];
  alignas(32) double highpassed[2 * F];
  alignas(32) double coloured[2 * F];
  Double2 filtered[F], low[F], lowMid[F], mid[F], high[F];

  StereoPipeline(const ChainRun& run, int first, int groupCount)
    : block(*run.block), inL(run.inputs[0] + first), inR(run.inputs[1] + first),
      outL(run.outputs[0] + first), outR(run.outputs[1] + first), groups(groupCount),
      inputGain(run.smoothers->inputGain, block.inputTarget),
      outputGain(run.smoothers->outputGain, block.outputTarget),
      lowpassRests(!kFilters && RestsInSilence(run.left->lowpass) &&
                   RestsInSilence(run.right->lowpass))
  {
    s.load(*run.left, *run.right);
    mids.load(*run.left, *run.right);
  }

  void finish(const ChainRun& run) const
  {
    s.store(*run.left, *run.right);  // the lane pair of mids is never run
    mids.store(*run.left, *run.right);
    run.smoothers->inputGain = inputGain.smoother;
    run.smoothers->outputGain = outputGain.smoother;
  }

  template <bool kChecked>
  MORVEX_STAGE void Step(int j)
  {
    StepStages<kChecked>(*this, j);
  }

  MORVEX_STAGE void Input(int g)
  {
    const Double2 guard = Double2::Both(kDenormalGuard);
    Double2* in = raw[g % kStages];
    for (int i = 0; i < F; ++i)
    {
      in[i] = Double2::Lanes(inL[g * F + i], inR[g * F + i]);
      const Double2 gain = inputGain.next();
      const Double2 x = Single((Sanitize(in[i]) + guard) * gain);
      Single(s.highpass.process(x)).Store(highpassed + 2 * i);
    }
  }

  MORVEX_STAGE void Colour()
  {
    for (int i = 0; i < 2 * F; ++i) coloured[i] = highpassed[i];
    Kernel::template Colour<2 * F>(coloured);
  }

  MORVEX_STAGE void Lowpass()
  {
    const Double2 makeup = Double2::Both(block.lowpassMakeup);
    for (int i = 0; i < F; ++i)
    {
      Double2 f = Double2::Load(coloured + 2 * i);
      if (kFilters) f = s.lowpass.process(Float2::From(f)).ToDouble() * makeup;
      // The low-pass always takes a second step, with silence.
      if (!lowpassRests) s.lowpass.process(Float2::Both(0.0f));
      filtered[i] = f;
    }
  }

  MORVEX_STAGE void LowBand()
  {
    for (int i = 0; i < F; ++i)
      low[i] = kLowBell ? s.lowBell.process(filtered[i])
                        : Single(s.lowShelf.process(Single(filtered[i])));
  }

  MORVEX_STAGE void HighBand()
  {
    for (int i = 0; i < F; ++i)
      high[i] =
        kHighBell ? s.highBell.process(mid[i]) : Single(s.highShelf.process(Single(mid[i])));
  }

  MORVEX_STAGE void Output(int g)
  {
    const Double2 guard = Double2::Both(kDenormalGuard);
    const Double2* in = raw[g % kStages];
    for (int i = 0; i < F; ++i)
    {
      const Double2 out =
        block.eqOn ? (high[i] - guard) * outputGain.next() : in[i];
      outL[g * F + i] = out.Left();
      outR[g * F + i] = out.Right();
    }
  }
};

// The left channel alone, F frames a group; the right channel's smoother
// steps still happen, as its samples would take them.
template <class Kernel, int F, bool kFilters, bool kLowBell, bool kHighBell>
struct MonoPipeline
{
  const BlockSettings& block;
  const double* in;
  double* out;
  int groups;

  ChannelSections c;
  MonoMids mids;
  GainSteps inputGain, outputGain;
  bool lowpassRests;

  double raw[kStages][F];
  alignas(32) double highpassed[F];
  alignas(32) double coloured[F];
  double filtered[F], low[F], lowMid[F], mid[F], high[F];

  MonoPipeline(const ChainRun& run, int first, int groupCount)
    : block(*run.block), in(run.inputs[0] + first), out(run.outputs[0] + first),
      groups(groupCount), c(*run.left), inputGain(run.smoothers->inputGain, block.inputTarget),
      outputGain(run.smoothers->outputGain, block.outputTarget),
      lowpassRests(!kFilters && RestsInSilence(c.lowpass))
  {
    mids.load(c);
  }

  void finish(const ChainRun& run)
  {
    mids.store(c);
    *run.left = c;
    run.smoothers->inputGain = inputGain.smoother;
    run.smoothers->outputGain = outputGain.smoother;
  }

  template <bool kChecked>
  MORVEX_STAGE void Step(int j)
  {
    StepStages<kChecked>(*this, j);
  }

  MORVEX_STAGE void Input(int g)
  {
    double* x = raw[g % kStages];
    for (int i = 0; i < F; ++i)
    {
      x[i] = in[g * F + i];
      const double gain = inputGain.next().Left();
      highpassed[i] = Single(c.highpass.process(Single((Sanitize(x[i]) + kDenormalGuard) * gain)));
    }
  }

  MORVEX_STAGE void Colour()
  {
    for (int i = 0; i < F; ++i) coloured[i] = highpassed[i];
    Kernel::template Colour<F>(coloured);
  }

  MORVEX_STAGE void Lowpass()
  {
    for (int i = 0; i < F; ++i)
    {
      double f = coloured[i];
      if (kFilters) f = static_cast<double>(c.lowpass.process(static_cast<float>(f))) * block.lowpassMakeup;
      if (!lowpassRests) c.lowpass.process(0.0f);
      filtered[i] = f;
    }
  }

  MORVEX_STAGE void LowBand()
  {
    for (int i = 0; i < F; ++i)
      low[i] = kLowBell ? c.lowBell.process(filtered[i])
                        : Single(c.lowShelf.process(Single(filtered[i])));
  }

  MORVEX_STAGE void HighBand()
  {
    for (int i = 0; i < F; ++i)
      high[i] =
        kHighBell ? c.highBell.process(mid[i]) : Single(c.highShelf.process(Single(mid[i])));
  }

  MORVEX_STAGE void Output(int g)
  {
    const double* x = raw[g % kStages];
    for (int i = 0; i < F; ++i)
    {
      double y = x[i];
      if (block.eqOn)
      {
        y = (high[i] - kDenormalGuard) * outputGain.next().Left();
      }
      out[g * F + i] = y;
    }
  }
};

// One pipeline over as many whole groups of F frames as the run has, then
// one of single frames over the rest.
template <template <class, int, bool, bool, bool> class Pipeline, class Kernel, int F,
          bool kFilters, bool kLowBell, bool kHighBell>
void RunIn(const ChainRun& run)
{
  const int groups = run.frames / F;
  if (groups > 0)
  {
    Pipeline<Kernel, F, kFilters, kLowBell, kHighBell> p(run, 0, groups);
    Drive(p, groups);
    p.finish(run);
  }
  const int rest = run.frames - groups * F;
  if (rest > 0)
  {
    Pipeline<Kernel, 1, kFilters, kLowBell, kHighBell> p(run, groups * F, rest);
    Drive(p, rest);
    p.finish(run);
  }
}

// The pipeline for this block's switches: each combination is its own loop.
template <template <class, int, bool, bool, bool> class Pipeline, class Kernel, int F>
void Run(const ChainRun& run)
{
  using Fn = void (*)(const ChainRun&);
  static constexpr Fn kBySwitches[8] = {
    RunIn<Pipeline, Kernel, F, false, false, false>, RunIn<Pipeline, Kernel, F, false, false, true>,
    RunIn<Pipeline, Kernel, F, false, true, false>,  RunIn<Pipeline, Kernel, F, false, true, true>,
    RunIn<Pipeline, Kernel, F, true, false, false>,  RunIn<Pipeline, Kernel, F, true, false, true>,
    RunIn<Pipeline, Kernel, F, true, true, false>,   RunIn<Pipeline, Kernel, F, true, true, true>};
  const BlockSettings& b = *run.block;
  kBySwitches[(b.filtersIn ? 4 : 0) + (b.lowBell ? 2 : 0) + (b.highBell ? 1 : 0)](run);
}

#undef MORVEX_STAGE
}  // namespace chain
