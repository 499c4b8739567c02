// Whole-file rendering through the host tool's own hosting code, as
// `morvex-host render` does it: a 120 s file at 48 kHz in 512-frame blocks of
// 32-bit samples, through Morvex (mono and stereo, defaults and every band
// on) and, for comparison, through Debian's ZamEQ2 (zam-plugins), a mono
// four-band equaliser without a colour stage. Reports the real-time factor;
// each iteration renders the whole file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/HostApplication.h"
#include "tools/host/PluginInstance.h"
#include "tools/host/Render.h"
#include "tools/host/VstModule.h"

namespace
{
constexpr const char* kZamEq2 = "/usr/lib/vst3/ZamEQ2.vst3";
constexpr double kRate = 48000.0;
constexpr size_t kFrames = static_cast<size_t>(120 * kRate);

host::AudioData TestFile(int channels)
{
  host::AudioData file;
  file.sampleRate = kRate;
  file.channels.assign(static_cast<size_t>(channels), std::vector<double>(kFrames));
  uint32_t seed = 19;
  for (size_t i = 0; i < kFrames; ++i)
    for (int c = 0; c < channels; ++c)
    {
      seed = seed * 1664525u + 1013904223u;
      const double noise = (seed >> 8) / 8388608.0 - 1.0;
      const double tone = std::sin(2.0 * 3.141592653589793 * (110.0 + 50.0 * c) * i / kRate);
      file.channels[static_cast<size_t>(c)][i] = static_cast<float>(0.4 * tone + 0.1 * noise);
    }
  return file;
}

void Render(benchmark::State& state, const char* module, int channels,
            std::vector<std::pair<const char*, double>> settings = {})
{
  if (!std::filesystem::exists(module))
  {
    state.SkipWithError((std::string(module) + " is not installed").c_str());
    return;
  }
  std::string error;
  host::HostApplication hostApp;
  std::unique_ptr<host::VstModule> vst = host::VstModule::Load(module, error);
  std::unique_ptr<host::PluginInstance> plugin =
    vst ? host::PluginInstance::Create(*vst, hostApp, error) : nullptr;
  if (!plugin)
  {
    state.SkipWithError(error.c_str());
    return;
  }
  host::RenderOptions options;
  for (const auto& s : settings)
  {
    Steinberg::Vst::ParamID id = 0;
    if (!plugin->findParameter(s.first, id))
    {
      state.SkipWithError((std::string("no parameter ") + s.first).c_str());
      return;
    }
    options.settings.push_back({id, plugin->controller()->plainParamToNormalized(id, s.second)});
  }
  const host::AudioData in = TestFile(channels);
  host::AudioData out;
  out.channels.assign(in.channels.size(), std::vector<double>(kFrames));
  if (!plugin->prepare(host::RenderSetup(in, options), error))
  {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state)
    if (!host::RenderPrepared(*plugin, in, out, options, error))
    {
      state.SkipWithError(error.c_str());
      break;
    }
  plugin->unprepare();
  state.counters["x_realtime"] = benchmark::Counter(
    static_cast<double>(state.iterations()) * kFrames / kRate, benchmark::Counter::kIsRate);
}

const std::vector<std::pair<const char*, double>> kEveryBandOn = {
  {"Input", 3.0},          {"Low Gain", 9.0},         {"Low Mid Gain", -5.0},
  {"High Mid Gain", 4.0},  {"High Gain", -7.0},       {"Highpass Filter", 80.0},
  {"Lowpass Filter", 12000.0}, {"Filter Bypass", 1.0}, {"Low Bell", 1.0},
  {"High Bell", 1.0}};

void BM_RenderMorvexMono(benchmark::State& s) { Render(s, MORVEX_MODULE_PATH, 1); }
void BM_RenderMorvexMonoEveryBandOn(benchmark::State& s)
{
  Render(s, MORVEX_MODULE_PATH, 1, kEveryBandOn);
}
void BM_RenderMorvexStereo(benchmark::State& s) { Render(s, MORVEX_MODULE_PATH, 2); }
void BM_RenderMorvexStereoEveryBandOn(benchmark::State& s)
{
  Render(s, MORVEX_MODULE_PATH, 2, kEveryBandOn);
}
void BM_RenderZamEq2Mono(benchmark::State& s) { Render(s, kZamEq2, 1); }
}  // namespace

BENCHMARK(BM_RenderZamEq2Mono)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderMorvexMono)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderMorvexMonoEveryBandOn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderMorvexStereo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderMorvexStereoEveryBandOn)->Unit(benchmark::kMillisecond)->UseRealTime();
