#include "engine/MorvexReadout.h"

#include "engine/Morvex.h"

#include <cmath>
#include <cstdio>

namespace MorvexReadout
{
namespace
{
enum class Unit
{
  kDecibels,
  kHertz,
  kBandwidth,
  kSwitch
};

struct Entry
{
  int param;
  const char* name;
  Unit unit;
};

const Entry kEntries[] = {
  {Morvex::kInput, "INPUT", Unit::kDecibels},
  {Morvex::kHighFrequency, "HIGH FREQ", Unit::kHertz},
  {Morvex::kHighGain, "HIGH GAIN", Unit::kDecibels},
  {Morvex::kHighMidFrequency, "HIGH MID FREQ", Unit::kHertz},
  {Morvex::kHighMidBandwidth, "HIGH MID BW", Unit::kBandwidth},
  {Morvex::kHighMidGain, "HIGH MID GAIN", Unit::kDecibels},
  {Morvex::kHighpassFilter, "HPF", Unit::kHertz},
  {Morvex::kLowFrequency, "LOW FREQ", Unit::kHertz},
  {Morvex::kLowGain, "LOW GAIN", Unit::kDecibels},
  {Morvex::kLowMidFrequency, "LOW MID FREQ", Unit::kHertz},
  {Morvex::kLowMidBandwidth, "LOW MID BW", Unit::kBandwidth},
  {Morvex::kLowMidGain, "LOW MID GAIN", Unit::kDecibels},
  {Morvex::kLowpassFilter, "LPF", Unit::kHertz},
  {Morvex::kOutput, "OUTPUT", Unit::kDecibels},
  {Morvex::kEQBypass, "EQ", Unit::kSwitch},
  {Morvex::kFilterBypass, "FILTER", Unit::kSwitch},
  {Morvex::kLowBell, "LOW BELL", Unit::kSwitch},
  {Morvex::kHighBell, "HIGH BELL", Unit::kSwitch},
  {Morvex::kIOLink, "LINK", Unit::kSwitch},
};

const Entry* Find(int param)
{
  for (const Entry& e : kEntries)
    if (e.param == param) return &e;
  return nullptr;
}

// Values on the knobs' steps are decimal: half a last digit rounds up, as a
// user rounds, even where the binary value falls a hair below.
long RoundHalfUp(double v)
{
  return static_cast<long>(std::floor(v + 0.5 + 1e-9));
}

std::string Decibels(double plain)
{
  const long tenths = RoundHalfUp(std::fabs(plain) * 10.0);
  char text[48];
  const char* sign = tenths == 0 ? "" : (plain < 0.0 ? "-" : "+");
  std::snprintf(text, sizeof text, "%s%ld.%ld dB", sign, tenths / 10, tenths % 10);
  return text;
}

// mantissa (100..999) times 10^exponent, with the decimal point where it falls.
std::string ThreeFigures(long mantissa, int exponent)
{
  std::string digits = std::to_string(mantissa);
  if (exponent >= 0) return digits + std::string(static_cast<size_t>(exponent), '0');
  const int point = 3 + exponent;  // digits before the point
  if (point > 0) return digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
  return "0." + std::string(static_cast<size_t>(-point), '0') + digits;
}

// Powers of ten as exact literals (each platform's pow rounds its own way,
// and the plate must read the same everywhere), from 10^-3 to 10^6.
double PowerOfTen(int exponent)
{
  static const double kPowers[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
  if (exponent < -3) exponent = -3;
  if (exponent > 6) exponent = 6;
  return kPowers[exponent + 3];
}

std::string Hertz(double plain)
{
  if (!(plain > 0.0)) return "0 Hz";
  // The power of ten of the first figure, found by comparison rather than
  // log10, for the same reason.
  int exponent = -3;
  while (exponent < 6 && plain >= PowerOfTen(exponent + 3)) ++exponent;
  long mantissa = RoundHalfUp(plain / PowerOfTen(exponent));
  if (mantissa >= 1000)
  {
    ++exponent;
    mantissa = RoundHalfUp(mantissa / 10.0);
  }
  // 1000 Hz and up in kHz, the same three figures.
  if (exponent + 2 >= 3) return ThreeFigures(mantissa, exponent - 3) + " kHz";
  return ThreeFigures(mantissa, exponent) + " Hz";
}

std::string Quality(double bandwidth)
{
  // The Q the band is designed with for this bandwidth.
  const double q = 1.46 - 1.21 * bandwidth;
  const long hundredths = RoundHalfUp(q * 100.0);
  char text[48];
  std::snprintf(text, sizeof text, "Q %ld.%02ld", hundredths / 100, hundredths % 100);
  return text;
}
}  // namespace

const char* PanelName(int param)
{
  const Entry* e = Find(param);
  return e ? e->name : nullptr;
}

std::string ValueText(int param, double plain)
{
  const Entry* e = Find(param);
  if (!e) return std::string();
  switch (e->unit)
  {
    case Unit::kDecibels: return Decibels(plain);
    case Unit::kHertz: return Hertz(plain);
    case Unit::kBandwidth: return Quality(plain);
    case Unit::kSwitch: return plain >= 0.5 ? "ON" : "OFF";
  }
  return std::string();
}
}  // namespace MorvexReadout
