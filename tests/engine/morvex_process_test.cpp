// The audio path of Morvex, driven the way the adapter drives it: parameter
// values set on the entries, ParameterChanged, then ProcessDoubles per block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/Morvex.h"
#include "graphics/IGraphicsWindowless.h"
#include "graphics/IKnobControl.h"

namespace
{
constexpr double kPi = 3.141592653589793;

struct Stereo
{
  std::vector<double> l, r;
  explicit Stereo(int n = 0) : l(n), r(n) {}
};

Stereo Sine(int n, double hz, double rate, double amp)
{
  Stereo s(n);
  for (int i = 0; i < n; ++i) s.l[i] = s.r[i] = amp * std::sin(2.0 * kPi * hz * i / rate);
  return s;
}

Stereo Noise(int n, uint32_t seed, double amp)
{
  Stereo s(n);
  for (int i = 0; i < n; ++i)
  {
    seed = seed * 1664525u + 1013904223u;
    s.l[i] = amp * ((seed >> 8) / 8388608.0 - 1.0);
    seed = seed * 1664525u + 1013904223u;
    s.r[i] = amp * ((seed >> 8) / 8388608.0 - 1.0);
  }
  return s;
}

void Set(Morvex& plug, int idx, double plain)
{
  plug.GetParam(idx)->AssignPlain(plain);
  plug.ParameterChanged(idx);
}

// Processes the whole signal in blocks, out of place.
Stereo Render(Morvex& plug, const Stereo& in, int block = 512)
{
  Stereo out(static_cast<int>(in.l.size()));
  const int n = static_cast<int>(in.l.size());
  for (int pos = 0; pos < n; pos += block)
  {
    const int frames = std::min(block, n - pos);
    double* ins[2] = {const_cast<double*>(in.l.data()) + pos, const_cast<double*>(in.r.data()) + pos};
    double* outs[2] = {out.l.data() + pos, out.r.data() + pos};
    plug.ProcessDoubles(ins, outs, frames);
  }
  return out;
}

double Rms(const std::vector<double>& x, size_t from)
{
  double sum = 0.0;
  for (size_t i = from; i < x.size(); ++i) sum += x[i] * x[i];
  return std::sqrt(sum / static_cast<double>(x.size() - from));
}

// Every band busy: the setting the benchmark also uses.
void EverythingOn(Morvex& plug)
{
  Set(plug, Morvex::kInput, 3.0);
  Set(plug, Morvex::kLowGain, 9.0);
  Set(plug, Morvex::kLowFrequency, 200.0);
  Set(plug, Morvex::kLowMidGain, -5.0);
  Set(plug, Morvex::kHighMidGain, 4.0);
  Set(plug, Morvex::kHighMidBandwidth, 0.2);
  Set(plug, Morvex::kHighGain, -7.0);
  Set(plug, Morvex::kHighpassFilter, 80.0);
  Set(plug, Morvex::kLowpassFilter, 12000.0);
  Set(plug, Morvex::kFilterBypass, 1);
  Set(plug, Morvex::kLowBell, 1);
  Set(plug, Morvex::kHighBell, 1);
  Set(plug, Morvex::kIOLink, 1);
}
}  // namespace

TEST(MorvexControls, MappingsAtBothEndsOfEachRange)
{
  struct Case
  {
    int param;
    double value;
    double ControlMap::*field;
    double expected;
  };
  const Case cases[] = {
    {Morvex::kLowpassFilter, 20000.0, &ControlMap::lowpassHz, 11025.0},
    {Morvex::kLowpassFilter, 20000.0, &ControlMap::lowpassMakeupDb, 4.2},
    {Morvex::kLowpassFilter, 1000.0, &ControlMap::lowpassHz, 500.0},
    {Morvex::kLowpassFilter, 1000.0, &ControlMap::lowpassMakeupDb, 6.2},
    {Morvex::kLowFrequency, 30.0, &ControlMap::lowShelfHz, 7.5},
    {Morvex::kLowFrequency, 30.0, &ControlMap::lowBellHz, 25.0},
    {Morvex::kLowFrequency, 450.0, &ControlMap::lowShelfHz, 66.0},
    {Morvex::kLowFrequency, 450.0, &ControlMap::lowBellHz, 420.0},
    {Morvex::kHighFrequency, 1500.0, &ControlMap::highShelfHz, 8000.0},
    {Morvex::kHighFrequency, 1500.0, &ControlMap::highBellHz, 1300.0},
    {Morvex::kHighFrequency, 16000.0, &ControlMap::highShelfHz, 19900.0},
    {Morvex::kHighFrequency, 16000.0, &ControlMap::highBellHz, 12000.0},
    {Morvex::kLowMidBandwidth, 0.0, &ControlMap::lowMidQ, 1.46},
    {Morvex::kLowMidBandwidth, 1.0, &ControlMap::lowMidQ, 0.25},
    {Morvex::kHighMidBandwidth, 0.0, &ControlMap::highMidQ, 1.46},
    {Morvex::kHighMidBandwidth, 1.0, &ControlMap::highMidQ, 0.25},
  };
  for (const Case& c : cases)
  {
    double mirror[Morvex::kNumMirrored] = {0, 5000, 0, 3000, 0.5, 0, 16, 120, 0, 500, 0.5, 0, 20000, 0};
    mirror[c.param] = c.value;
    EXPECT_NEAR(Morvex::MapControls(mirror).*(c.field), c.expected, 1e-9)
      << "parameter " << c.param << " at " << c.value;
  }
}

TEST(MorvexProcess, EqBypassZeroPassesTheInputExactly)
{
  Morvex plug;
  EverythingOn(plug);
  Set(plug, Morvex::kEQBypass, 0);
  Stereo in = Noise(2000, 7, 0.9);
  in.l[100] = std::numeric_limits<double>::quiet_NaN();  // even a broken sample passes untouched
  const Stereo out = Render(plug, in, 300);
  for (size_t i = 0; i < in.l.size(); ++i)
  {
    if (i == 100) { EXPECT_TRUE(std::isnan(out.l[i])); continue; }
    ASSERT_EQ(out.l[i], in.l[i]) << i;
    ASSERT_EQ(out.r[i], in.r[i]) << i;
  }
}

TEST(MorvexProcess, DefaultsWithFiltersOutChangeASineOnlySlightly)
{
  Morvex plug;  // "Filter Bypass" defaults to 0, every gain 0 dB
  const Stereo in = Sine(48000, 1000.0, 44100.0, 1.0);
  const Stereo out = Render(plug, in);
  double worst = 0.0;
  for (size_t i = 4410; i < in.l.size(); ++i) worst = std::max(worst, std::fabs(out.l[i] - in.l[i]));
  EXPECT_GT(worst, 0.0) << "the colour stage always adds a little";
  EXPECT_LT(worst, 0.05);
  EXPECT_NEAR(Rms(out.l, 4410) / Rms(in.l, 4410), 1.0, 0.01);
}

TEST(MorvexProcess, SilenceStaysBelowOneBillionth)
{
  Morvex plug;
  const Stereo out = Render(plug, Stereo(20000));
  for (size_t i = 0; i < out.l.size(); ++i)
  {
    ASSERT_LT(std::fabs(out.l[i]), 1e-9) << i;
    ASSERT_LT(std::fabs(out.r[i]), 1e-9) << i;
  }
}

TEST(MorvexProcess, ZeroFramesStepsTheSmoothersButWritesNothing)
{
  Morvex stepped, fresh;
  for (Morvex* p : {&stepped, &fresh}) Set(*p, Morvex::kLowGain, 12.0);
  double sentinel[2] = {123.0, 456.0};
  double* outs[2] = {&sentinel[0], &sentinel[1]};
  double in[2] = {0.5, 0.5};
  double* ins[2] = {&in[0], &in[1]};
  stepped.ProcessDoubles(ins, outs, 0);
  EXPECT_EQ(sentinel[0], 123.0);
  EXPECT_EQ(sentinel[1], 456.0);

  // The low shelf's smoothed gain moved on in the empty block, so the next
  // block differs from one that never saw it.
  const Stereo in2 = Sine(256, 60.0, 44100.0, 0.5);
  const Stereo a = Render(stepped, in2);
  const Stereo b = Render(fresh, in2);
  EXPECT_NE(a.l, b.l);
}

TEST(MorvexProcess, IoLinkDrivesOutputFromInputAndMovesTheOutputKnob)
{
  struct Case { double input, expectedOutput, knob; };
  for (const Case c : {Case{6.0, -6.0, 0.375}, Case{-24.0, 24.0, 1.0}, Case{24.0, -24.0, 0.0}})
  {
    Morvex plug;
    auto* editor = new IGraphicsWindowless(&plug, 100, 100);
    IKnobMultiControl* knob = new IKnobMultiControl(&plug, 0, 0, Morvex::kOutput, IBitmapRef());
    editor->AttachControl(knob);
    plug.AttachEditor(editor);
    Set(plug, Morvex::kIOLink, 1);
    Set(plug, Morvex::kInput, c.input);
    const Stereo in = Sine(44100, 1000.0, 44100.0, 0.01);
    const Stereo out = Render(plug, in);
    EXPECT_DOUBLE_EQ(plug.GetParam(Morvex::kOutput)->Value(), c.expectedOutput);
    EXPECT_DOUBLE_EQ(knob->GetValue(), c.knob);
    // Input and output gains cancel once both 10 Hz smoothers have settled.
    EXPECT_NEAR(20.0 * std::log10(Rms(out.l, 22050) / Rms(in.l, 22050)), 0.0, 0.05) << c.input;
  }
}

TEST(MorvexProcess, LinkedOutputCannotBeMovedOnItsOwn)
{
  Morvex plug;
  Set(plug, Morvex::kIOLink, 1);
  Set(plug, Morvex::kInput, 6.0);
  Render(plug, Stereo(64));
  Set(plug, Morvex::kOutput, 12.0);
  Render(plug, Stereo(64));
  EXPECT_DOUBLE_EQ(plug.GetParam(Morvex::kOutput)->Value(), -6.0);
}

TEST(MorvexProcess, OutputGainSettlesAtTheOutputParameter)
{
  Morvex plug;
  Set(plug, Morvex::kOutput, -6.0);
  const Stereo in = Sine(44100, 1000.0, 44100.0, 0.01);
  const Stereo out = Render(plug, in);
  EXPECT_NEAR(20.0 * std::log10(Rms(out.l, 22050) / Rms(in.l, 22050)), -6.0, 0.05);
}

TEST(MorvexProcess, InPlaceBuffersGiveTheSameResult)
{
  Morvex a, b;
  EverythingOn(a);
  EverythingOn(b);
  const Stereo in = Noise(3000, 11, 0.5);
  const Stereo expected = Render(a, in);
  Stereo buf = in;
  for (int pos = 0; pos < 3000; pos += 512)
  {
    double* io[2] = {buf.l.data() + pos, buf.r.data() + pos};
    b.ProcessDoubles(io, io, std::min(512, 3000 - pos));
  }
  EXPECT_EQ(buf.l, expected.l);
  EXPECT_EQ(buf.r, expected.r);
}

TEST(MorvexProcess, ABrokenInputSampleIsProcessedAsSilence)
{
  // Besides NaN and infinity, a finite sample far beyond any audio level would
  // overflow the single-precision stages and leave them infinite for good.
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), 1e300, -1e39,
                     std::numeric_limits<double>::max()})
  {
    Morvex a, b;
    EverythingOn(a);
    EverythingOn(b);
    Stereo clean = Noise(2048, 3, 0.5);
    clean.l[700] = 0.0;
    Stereo broken = clean;
    broken.l[700] = bad;
    const Stereo outA = Render(a, clean);
    const Stereo outB = Render(b, broken);
    EXPECT_EQ(outA.l, outB.l);
    EXPECT_EQ(outA.r, outB.r);
  }
}

TEST(MorvexProcess, ALoudButPlausibleSampleIsStillProcessed)
{
  Morvex a, b;
  Stereo quiet = Noise(1024, 3, 0.5);
  quiet.l[300] = 0.0;
  Stereo loud = quiet;
  loud.l[300] = 1e6;
  const Stereo outA = Render(a, quiet);
  const Stereo outB = Render(b, loud);
  EXPECT_GT(std::fabs(outB.l[300] - outA.l[300]), 1e5);
  for (double v : outB.l) ASSERT_TRUE(std::isfinite(v));
}

TEST(MorvexProcess, ExtremeSettingsStayFiniteAtEverySampleRate)
{
  for (double rate : {8000.0, 22050.0, 24000.0, 32000.0, 44100.0, 96000.0})
  {
    for (int bells = 0; bells < 2; ++bells)
    {
      Morvex plug;
      plug.SetSampleRate(rate);
      Set(plug, Morvex::kFilterBypass, 1);
      Set(plug, Morvex::kLowpassFilter, 20000.0);
      Set(plug, Morvex::kHighFrequency, 16000.0);
      Set(plug, Morvex::kHighGain, 16.0);
      Set(plug, Morvex::kHighMidFrequency, 7000.0);
      Set(plug, Morvex::kHighMidGain, 16.0);
      Set(plug, Morvex::kHighMidBandwidth, 1.0);
      Set(plug, Morvex::kLowMidFrequency, 2500.0);
      Set(plug, Morvex::kLowMidGain, -16.0);
      Set(plug, Morvex::kHighpassFilter, 350.0);
      Set(plug, Morvex::kLowBell, bells);
      Set(plug, Morvex::kHighBell, bells);
      const Stereo out = Render(plug, Noise(static_cast<int>(rate), 5, 1.0));
      double peak = 0.0;
      for (double v : out.l) peak = std::max(peak, std::fabs(v));
      EXPECT_TRUE(std::isfinite(peak)) << rate;
      EXPECT_LT(peak, 100.0) << "rate " << rate << " bells " << bells;
    }
  }
}

TEST(MorvexProcess, ResetClearsOnlyTheLowpass)
{
  for (int filtersIn = 0; filtersIn < 2; ++filtersIn)
  {
    Morvex a, b;
    for (Morvex* p : {&a, &b})
    {
      EverythingOn(*p);
      Set(*p, Morvex::kFilterBypass, filtersIn);
    }
    const Stereo loud = Noise(1024, 9, 1.0);
    Render(a, loud);
    Render(b, loud);
    b.ResetProcessing();
    const Stereo outA = Render(a, Stereo(256));
    const Stereo outB = Render(b, Stereo(256));
    if (filtersIn)
    {
      // The reset instance's low-pass starts from rest, so the two part ways at once.
      EXPECT_NE(outA.l[0], outB.l[0]);
      EXPECT_NE(outA.r[0], outB.r[0]);
    }
    else
    {
      // With the low-pass out of the chain nothing else was touched: every
      // other section and smoother carries on exactly as without the reset.
      EXPECT_EQ(outA.l, outB.l);
      EXPECT_EQ(outA.r, outB.r);
    }
  }
}

TEST(MorvexProcess, SwitchesAreReadLiveAndTruncated)
{
  // No ParameterChanged: the audio path reads the switches from their entries
  // at the next block, truncating towards zero, so 0.99 acts as 0.
  Morvex plug;
  const Stereo in = Noise(256, 13, 0.5);
  plug.GetParam(Morvex::kEQBypass)->AssignPlain(0.99);
  const Stereo out = Render(plug, in);
  EXPECT_EQ(out.l, in.l);
  EXPECT_EQ(out.r, in.r);

  plug.GetParam(Morvex::kEQBypass)->AssignPlain(1.0);
  const Stereo processed = Render(plug, in);
  EXPECT_NE(processed.l, in.l);
}

TEST(MorvexProcess, OnlyTheContinuousParametersReachTheMirror)
{
  // "Input" is moved to +12 dB behind the engine's back; notifications for the
  // blank slot, the switches and out-of-range indices must not pick it up.
  Morvex plug, fresh;
  plug.GetParam(Morvex::kInput)->AssignPlain(12.0);
  for (int idx : {-1, 14, 15, 16, 17, 18, 19, 20}) plug.ParameterChanged(idx);
  const Stereo in = Noise(512, 17, 0.5);
  EXPECT_EQ(Render(plug, in).l, Render(fresh, in).l);

  plug.ParameterChanged(Morvex::kInput);
  EXPECT_NE(Render(plug, in).l, Render(fresh, in).l);
}
