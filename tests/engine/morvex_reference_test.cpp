// The engine against a plain reference: every per-sample formula written out
// per sample (gain targets, make-up and switches recomputed each time), the
// per-block work in its stated order. Outputs must agree bit for bit, which
// shows that what the engine hoists out of its loop changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/Morvex.h"

namespace
{
double Single(double x) { return static_cast<float>(x); }

struct Reference
{
  ChannelSections ch[2];
  EngineSmoothers s;

  Reference()
  {
    for (auto& c : ch)
    {
      c.highpass.type = CookbookBiquad::kHighpass;
      c.lowShelf.type = CookbookBiquad::kLowShelf;
      c.highShelf.type = CookbookBiquad::kHighShelf;
    }
  }

  static int Switch(const Morvex& p, int idx) { return static_cast<int>(p.GetParam(idx)->Value()); }

  void Block(Morvex& plug, const double* mirror, double* in[2], double* out[2], int n)
  {
    const double fs = plug.SampleRate();
    for (ParameterSmoother* p : {&s.lowShelfGain, &s.lowShelfFreq, &s.lowBellGain, &s.lowBellFreq,
                                 &s.lowMidGain, &s.lowMidFreq, &s.lowMidQ, &s.highMidGain,
                                 &s.highMidFreq, &s.highMidQ, &s.highShelfGain, &s.highShelfFreq,
                                 &s.highBellGain, &s.highBellFreq, &s.lowpassFreq})
      p->setCutoff(500, fs);
    s.inputGain.setCutoff(10, fs);
    s.outputGain.setCutoff(10, fs);

    const double a = (mirror[Morvex::kLowpassFilter] - 1000) / 19000;
    const double lpHz = 500 + 10525 * a, lpMakeupDb = 6.2 - 2 * a;
    const double b = (mirror[Morvex::kLowFrequency] - 30) / 420;
    const double lowShelfHz = 7.5 + 58.5 * b, lowBellHz = 25 + 395 * b;
    const double c = (mirror[Morvex::kHighFrequency] - 1500) / 14500;
    const double highShelfHz = 8000 + 11900 * c, highBellHz = 1300 + 10700 * c;
    const double lowMidQ = 1.46 - 1.21 * mirror[Morvex::kLowMidBandwidth];
    const double highMidQ = 1.46 - 1.21 * mirror[Morvex::kHighMidBandwidth];
    const bool filters = Switch(plug, Morvex::kFilterBypass) == 1;
    const double hpHz = filters ? mirror[Morvex::kHighpassFilter] : 0.5;
    const double hpQ = filters ? 0.707 : 0.1;

    for (auto& k : ch) k.lowpass.design(float(s.lowpassFreq.step(lpHz)), 0.707f, float(fs));
    for (auto& k : ch) k.highpass.design(1, hpHz / fs, hpQ, 0);
    for (auto& k : ch)
    {
      const double g = s.lowShelfGain.stepGain(mirror[Morvex::kLowGain]);
      k.lowShelf.design(5, s.lowShelfFreq.step(lowShelfHz) / fs, 0.13, g);
    }
    for (auto& k : ch)
    {
      const double g = s.highShelfGain.stepGain(mirror[Morvex::kHighGain]);
      k.highShelf.design(6, s.highShelfFreq.step(highShelfHz) / fs, 0.13, g);
    }
    for (auto& k : ch)
    {
      k.lowMid.sampleRate = fs;
      const double q = s.lowMidQ.step(lowMidQ);
      const double f = s.lowMidFreq.step(mirror[Morvex::kLowMidFrequency]);
      k.lowMid.design(s.lowMidGain.stepGain(mirror[Morvex::kLowMidGain]), f, q);
    }
    for (auto& k : ch)
    {
      k.highMid.sampleRate = fs;
      const double q = s.highMidQ.step(highMidQ);
      const double f = s.highMidFreq.step(mirror[Morvex::kHighMidFrequency]);
      k.highMid.design(s.highMidGain.stepGain(mirror[Morvex::kHighMidGain]), f, q);
    }
    for (auto& k : ch)
    {
      k.lowBell.sampleRate = fs;
      const double f = s.lowBellFreq.step(lowBellHz);
      k.lowBell.design(s.lowBellGain.stepGain(mirror[Morvex::kLowGain]), f, 0.8);
    }
    for (auto& k : ch)
    {
      k.highBell.sampleRate = fs;
      const double f = s.highBellFreq.step(highBellHz);
      k.highBell.design(s.highBellGain.stepGain(mirror[Morvex::kHighGain]), f, 0.48);
    }
    double outputDb = mirror[Morvex::kOutput];
    if (Switch(plug, Morvex::kIOLink) == 1) outputDb = -mirror[Morvex::kInput];

    for (int i = 0; i < n; ++i)
    {
      const double raw[2] = {in[0][i], in[1][i]};
      double x[2];
      for (int k = 0; k < 2; ++k)
      {
        const double g = s.inputGain.step(std::pow(10.0, mirror[Morvex::kInput] / 20));
        const double v = std::fabs(raw[k]) <= 1e30 ? raw[k] : 0.0;
        const double h = Single(ch[k].highpass.process(Single((v + 1e-10) * g)));
        x[k] = h + 0.3 * (0.05 * std::tanh(h * h * h) - 0.005 * std::tanh(h * h * h * h * h * h * h * h) +
                          0.001 * std::sin(h * h));
      }
      for (int k = 0; k < 2; ++k)
      {
        if (Switch(plug, Morvex::kFilterBypass) == 1)
          x[k] = double(ch[k].lowpass.process(float(x[k]))) * std::pow(10.0, lpMakeupDb / 20);
        ch[k].lowpass.process(0.0f);
        x[k] = Switch(plug, Morvex::kLowBell) == 1 ? ch[k].lowBell.process(x[k])
                                                   : Single(ch[k].lowShelf.process(Single(x[k])));
        x[k] = ch[k].highMid.process(ch[k].lowMid.process(x[k]));
        x[k] = Switch(plug, Morvex::kHighBell) == 1 ? ch[k].highBell.process(x[k])
                                                    : Single(ch[k].highShelf.process(Single(x[k])));
      }
      for (int k = 0; k < 2; ++k)
        out[k][i] = Switch(plug, Morvex::kEQBypass) == 0
                      ? raw[k]
                      : (x[k] - 1e-10) * s.outputGain.step(std::pow(10.0, outputDb / 20));
    }
  }
};

void Set(Morvex& plug, double* mirror, int idx, double plain)
{
  plug.GetParam(idx)->AssignPlain(plain);
  plug.ParameterChanged(idx);
  if (idx < Morvex::kNumMirrored) mirror[idx] = plug.GetParam(idx)->Value();
}
}  // namespace

TEST(MorvexReference, EngineMatchesThePlainPerSampleLoopBitForBit)
{
  Morvex plug;
  plug.SetSampleRate(48000.0);
  Reference ref;
  double mirror[Morvex::kNumMirrored];
  for (int i = 0; i < Morvex::kNumMirrored; ++i) mirror[i] = plug.GetParam(i)->Value();

  uint32_t seed = 1;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0;
  };

  const int kBlocks = 120;
  for (int blk = 0; blk < kBlocks; ++blk)
  {
    // Every few blocks move a few controls and flip switches, so every branch
    // of the chain and both sides of each switch run.
    if (blk % 6 == 0)
    {
      for (int j = 0; j < 4; ++j)
      {
        const int idx = static_cast<int>(next() * Morvex::kNumMirrored);
        const IParamEntry* p = plug.GetParam(idx);
        Set(plug, mirror, idx, p->Min() + next() * (p->Max() - p->Min()));
      }
      for (int sw = Morvex::kEQBypass; sw <= Morvex::kIOLink; ++sw)
        Set(plug, mirror, sw, next() < (sw == Morvex::kEQBypass ? 0.8 : 0.5) ? 1 : 0);
    }
    const int n = 1 + static_cast<int>(next() * 300);
    std::vector<double> inL(n), inR(n), outL(n), outR(n), refL(n), refR(n);
    for (int i = 0; i < n; ++i)
    {
      inL[i] = next() * 2 - 1;
      inR[i] = next() * 2 - 1;
    }
    double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};
    double* expected[2] = {refL.data(), refR.data()};
    ref.Block(plug, mirror, in, expected, n);
    plug.ProcessDoubles(in, out, n);
    if (plug.GetParam(Morvex::kIOLink)->Value() == 1) mirror[Morvex::kOutput] = -mirror[Morvex::kInput];
    ASSERT_EQ(outL, refL) << "block " << blk;
    ASSERT_EQ(outR, refR) << "block " << blk;
  }
}
