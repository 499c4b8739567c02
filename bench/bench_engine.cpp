// The equaliser's audio path: nanoseconds per stereo frame at 48 kHz in
// 512-frame blocks, for the defaults and with every stage busy, once the
// control smoothers have settled (so the blocks' designs repeat and are
// skipped) and, with every stage busy, while the controls keep moving (every
// design runs in every block); the defaults on a mono bus; and the colour
// stage alone in each lane width.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/Morvex.h"
#include "engine/colour/ColourKernels.h"

namespace
{
constexpr int kBlock = 512;

void Set(Morvex& plug, int idx, double plain)
{
  plug.GetParam(idx)->AssignPlain(plain);
  plug.ParameterChanged(idx);
}

// The controls that feed designs, each nudged every block when they move.
constexpr int kDesignControls[] = {
  Morvex::kHighFrequency,    Morvex::kHighGain,    Morvex::kHighMidFrequency,
  Morvex::kHighMidBandwidth, Morvex::kHighMidGain, Morvex::kHighpassFilter,
  Morvex::kLowFrequency,     Morvex::kLowGain,     Morvex::kLowMidFrequency,
  Morvex::kLowMidBandwidth,  Morvex::kLowMidGain,  Morvex::kLowpassFilter};

void RunEngine(benchmark::State& state, bool everything, bool moving = false, bool mono = false)
{
  Morvex plug;
  plug.SetSampleRate(48000.0);
  if (everything)
  {
    Set(plug, Morvex::kInput, 3.0);
    Set(plug, Morvex::kLowGain, 9.0);
    Set(plug, Morvex::kLowMidGain, -5.0);
    Set(plug, Morvex::kHighMidGain, 4.0);
    Set(plug, Morvex::kHighGain, -7.0);
    Set(plug, Morvex::kHighpassFilter, 80.0);
    Set(plug, Morvex::kLowpassFilter, 12000.0);
    Set(plug, Morvex::kFilterBypass, 1);
    Set(plug, Morvex::kLowBell, 1);
    Set(plug, Morvex::kHighBell, 1);
    Set(plug, Morvex::kIOLink, 1);
  }
  // As the adapter binds a mono bus: only the left output reaches the host.
  plug.OutChannel(1)->connected = !mono;
  std::vector<double> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  for (int i = 0; i < kBlock; ++i)
  {
    inL[i] = 0.5 * std::sin(0.05 * i);
    inR[i] = mono ? 0.0 : 0.5 * std::cos(0.031 * i);
  }
  double* ins[2] = {inL.data(), inR.data()};
  double* outs[2] = {outL.data(), outR.data()};
  // About six seconds: the smoothers settle within three.
  for (int i = 0; i < 600; ++i) plug.ProcessDoubles(ins, outs, kBlock);
  double nudge = 0.001;
  for (auto _ : state)
  {
    if (moving)
    {
      for (int idx : kDesignControls) Set(plug, idx, plug.GetParam(idx)->Value() + nudge);
      nudge = -nudge;
    }
    plug.ProcessDoubles(ins, outs, kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }
  const double frames = static_cast<double>(state.iterations()) * kBlock;
  state.counters["ns_per_frame"] =
    benchmark::Counter(frames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["x_realtime"] = benchmark::Counter(frames / 48000.0, benchmark::Counter::kIsRate);
}

void BM_EngineDefaults(benchmark::State& state) { RunEngine(state, false); }
void BM_EngineEverythingOn(benchmark::State& state) { RunEngine(state, true); }
void BM_EngineEverythingOnMoving(benchmark::State& state) { RunEngine(state, true, true); }
// A mono bus: the adapter feeds the right channel silence.
void BM_EngineDefaultsMono(benchmark::State& state) { RunEngine(state, false, false, true); }

// One chunk's worth of left/right pairs, as the engine colours them.
void RunColour(benchmark::State& state, void (*kernel)(double*, int))
{
  std::vector<double> samples(128), work(128);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = 0.9 * std::sin(0.07 * static_cast<double>(i));
  for (auto _ : state)
  {
    work = samples;
    kernel(work.data(), static_cast<int>(work.size()));
    benchmark::DoNotOptimize(work.data());
  }
  state.counters["ns_per_sample"] =
    benchmark::Counter(static_cast<double>(state.iterations()) * 128 * 1e-9,
                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ColourSse2(benchmark::State& state) { RunColour(state, ColourSamplesSse2); }
void BM_ColourAvx2(benchmark::State& state)
{
  if (!CpuHasAvx2())
  {
    state.SkipWithError("this CPU has no AVX2");
    return;
  }
  RunColour(state, ColourSamplesAvx2);
}
}  // namespace

BENCHMARK(BM_EngineDefaults);
BENCHMARK(BM_EngineEverythingOn);
BENCHMARK(BM_EngineEverythingOnMoving);
BENCHMARK(BM_EngineDefaultsMono);
BENCHMARK(BM_ColourSse2);
BENCHMARK(BM_ColourAvx2);
