#include "tools/host/Response.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace host {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Small enough that a saturating stage stays in its linear region.
constexpr double kImpulse = 1.0 / 256.0;
constexpr double kSettleSeconds = 1.0;
constexpr size_t kResponseFrames = 1 << 16;

}  // namespace

std::vector<double> LogFrequencies(double lowHz, double highHz, int pointsPerOctave)
{
  std::vector<double> frequencies;
  if (!(lowHz > 0.0) || !(highHz >= lowHz) || pointsPerOctave < 1)
    return frequencies;
  const double octaves = std::log2(highHz / lowHz);
  const int steps = std::max(1, static_cast<int>(std::ceil(octaves * pointsPerOctave - 1e-9)));
  for (int i = 0; i <= steps; ++i)
    frequencies.push_back(lowHz * std::pow(highHz / lowHz, static_cast<double>(i) / steps));
  return frequencies;
}

double DtftMagnitude(const std::vector<double>& x, double frequencyHz, double sampleRate)
{
  // Goertzel's recurrence: one real multiply-add per sample.
  const double w = 2.0 * kPi * frequencyHz / sampleRate;
  const double coefficient = 2.0 * std::cos(w);
  double s1 = 0.0, s2 = 0.0;
  for (double v : x)
  {
    const double s0 = v + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double re = s1 - s2 * std::cos(w);
  const double im = s2 * std::sin(w);
  return std::sqrt(re * re + im * im);
}

bool MeasureResponse(PluginInstance& plugin, const ResponseOptions& options, ResponseCurve& curve,
                     std::string& error)
{
  if (!(options.sampleRate > 0.0))
  {
    error = "the sample rate must be positive";
    return false;
  }
  const int inputs = plugin.mainChannels(Steinberg::Vst::kInput);
  const int channels = inputs == 1 ? 1 : 2;
  const size_t settle = static_cast<size_t>(kSettleSeconds * options.sampleRate);

  AudioData in;
  in.sampleRate = options.sampleRate;
  in.channels.assign(static_cast<size_t>(channels), std::vector<double>(settle + kResponseFrames));
  for (auto& channel : in.channels)
    channel[settle] = kImpulse;

  RenderOptions render;
  render.blockSize = options.blockSize;
  // The finer sample size when the plug-in offers it.
  render.precision =
      plugin.processor()->canProcessSampleSize(Steinberg::Vst::kSample64) == Steinberg::kResultOk ? 64
                                                                                               : 32;
  render.settings = options.settings;
  AudioData out;
  if (!Render(plugin, in, out, render, error))
    return false;

  curve.frequencies = LogFrequencies(options.lowHz, std::min(options.highHz, 0.48 * options.sampleRate),
                                     options.pointsPerOctave);
  curve.gainDb.assign(static_cast<size_t>(channels), {});
  for (size_t c = 0; c < static_cast<size_t>(channels); ++c)
  {
    const std::vector<double> response(out.channels[c].begin() + static_cast<std::ptrdiff_t>(settle),
                                       out.channels[c].end());
    for (double f : curve.frequencies)
    {
      const double gain = DtftMagnitude(response, f, options.sampleRate) / kImpulse;
      curve.gainDb[c].push_back(20.0 * std::log10(std::max(gain, 1e-12)));
    }
  }
  return true;
}

std::string ResponseCsv(const ResponseCurve& curve)
{
  static const char* const kStereoNames[] = {"left_db", "right_db"};
  std::string csv = "frequency_hz";
  for (size_t c = 0; c < curve.gainDb.size(); ++c)
    csv += curve.gainDb.size() == 2 ? std::string(",") + kStereoNames[c]
                                    : ",channel" + std::to_string(c + 1) + "_db";
  csv += "\n";
  char cell[64];
  for (size_t i = 0; i < curve.frequencies.size(); ++i)
  {
    std::snprintf(cell, sizeof cell, "%.3f", curve.frequencies[i]);
    csv += cell;
    for (const auto& gains : curve.gainDb)
    {
      std::snprintf(cell, sizeof cell, ",%.4f", gains[i]);
      csv += cell;
    }
    csv += "\n";
  }
  return csv;
}

}  // namespace host
