#pragma once

#include "tools/host/Render.h"

#include <string>
#include <vector>

namespace host {

struct ResponseOptions
{
  double sampleRate = 48000.0;
  int blockSize = 512;
  std::vector<ParamSetting> settings;
  int pointsPerOctave = 24;
  double lowHz = 20.0;
  double highHz = 20000.0;  // kept below 0.48 of the sample rate
};

// Gain in dB at each frequency, one curve per output channel.
struct ResponseCurve
{
  std::vector<double> frequencies;
  std::vector<std::vector<double>> gainDb;
};

// Log-spaced frequencies from low to high, pointsPerOctave to the octave,
// both ends included.
std::vector<double> LogFrequencies(double lowHz, double highHz, int pointsPerOctave);

// Magnitude of the discrete-time Fourier transform of x at a frequency.
double DtftMagnitude(const std::vector<double>& x, double frequencyHz, double sampleRate);

// Measures the plug-in's magnitude response through its real process call:
// after the settings have settled, a small impulse goes in on every channel
// and the response that comes out is analysed at each frequency.
bool MeasureResponse(PluginInstance& plugin, const ResponseOptions& options, ResponseCurve& curve,
                     std::string& error);

// "frequency_hz,<channel>_db,..." then one row per frequency.
std::string ResponseCsv(const ResponseCurve& curve);

}  // namespace host
