#include "framework/IParamEntry.h"

#include "framework/FixedText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
// Digits after the decimal point needed to show a value on the step's grid.
int PrecisionForStep(double step)
{
  int precision = 0;
  double x = step;
  while (x != std::floor(x) && precision < IParamEntry::kMaxPrecision)
  {
    ++precision;
    x *= 10.0;
  }
  return precision;
}

bool FitsInInt(double truncated)
{
  return truncated >= static_cast<double>(INT_MIN) && truncated <= static_cast<double>(INT_MAX);
}
}  // namespace

void IParamEntry::DefineContinuous(const char* name, double defaultValue, double minimum,
                                   double maximum, double step, const char* label,
                                   const char* group, double shape)
{
  if (mKind == kKindUndefined) mKind = kKindContinuous;
  CopyFixedText(mName, name);
  CopyFixedText(mLabel, label);
  CopyFixedText(mGroup, group);
  mMin = minimum;
  mValue = defaultValue;
  mDefault = defaultValue;
  mStep = step;
  mMax = std::max(maximum, minimum + step);
  mPrecision = PrecisionForStep(step);
  SetShape(shape);
}

void IParamEntry::DefineInteger(const char* name, int defaultValue, int minimum, int maximum,
                                const char* label, const char* group)
{
  if (mKind == kKindUndefined) mKind = kKindInteger;
  DefineContinuous(name, defaultValue, minimum, maximum, 1.0, label, group, 1.0);
}

void IParamEntry::DefineEnum(const char* name, int defaultValue, int nTexts, const char* label,
                             const char* group)
{
  if (mKind == kKindUndefined) mKind = kKindEnum;
  DefineContinuous(name, defaultValue, 0.0, nTexts > 1 ? nTexts - 1 : 1, 1.0, label, group, 1.0);
}

void IParamEntry::DefineBool(const char* name, bool defaultValue, const char* label,
                             const char* group)
{
  if (mKind == kKindUndefined) mKind = kKindBool;
  DefineContinuous(name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, group, 1.0);
}

void IParamEntry::SetShape(double shape)
{
  // A shape that is zero, negative or not finite would make the mapping divide
  // by zero or run backwards; keep the previous one instead.
  if (std::isfinite(shape) && shape > 0.0) mShape = shape;
}

void IParamEntry::SetDisplayText(int value, const char* text)
{
  for (DisplayText& entry : mDisplayTexts)
  {
    if (entry.value == value)
    {
      CopyFixedText(entry.text, text);
      return;
    }
  }
  DisplayText entry{};
  entry.value = value;
  CopyFixedText(entry.text, text);
  mDisplayTexts.push_back(entry);
}

void IParamEntry::AssignFromNormalized(double n)
{
  if (std::isnan(n)) return;
  n = std::clamp(n, 0.0, 1.0);
  double v;
  if (n >= 1.0)
    v = mMax;  // exact, whatever rounding min + (max - min) would give
  else
    v = mMin + Shaped(n) * (mMax - mMin);
  if (IsStepped() && mStep > 0.0) v = std::floor(v / mStep + 0.5) * mStep;
  mValue = std::clamp(v, mMin, mMax);
}

void IParamEntry::AssignPlain(double plain)
{
  if (std::isnan(plain)) return;
  mValue = std::clamp(plain, mMin, mMax);
}

double IParamEntry::PlainToNormalized(double plain) const
{
  const double range = mMax - mMin;
  // An empty range (or an unreadable value) has nowhere to go but the start.
  if (std::isnan(plain) || !(range > 0.0)) return 0.0;
  const double fraction = (std::clamp(plain, mMin, mMax) - mMin) / range;
  return Unshaped(fraction);
}

double IParamEntry::NormalizedToPlain(double n) const
{
  return mMin + Shaped(n) * (mMax - mMin);
}

// Each platform's pow rounds its own way, and values must be the same
// everywhere: the shapes in use are done with operations every platform
// rounds exactly.
double IParamEntry::Shaped(double n) const
{
  if (mShape == 1.0) return n;
  if (mShape == 2.0) return n * n;
  return std::pow(n, mShape);
}

double IParamEntry::Unshaped(double fraction) const
{
  if (mShape == 1.0) return fraction;
  if (mShape == 2.0) return std::sqrt(fraction);
  return std::pow(fraction, 1.0 / mShape);
}

const IParamEntry::DisplayText* IParamEntry::GetDisplayText(int i) const
{
  if (i < 0 || i >= NDisplayTexts()) return nullptr;
  return &mDisplayTexts[static_cast<std::size_t>(i)];
}

const IParamEntry::DisplayText* IParamEntry::FindDisplayText(double plain) const
{
  const double truncated = std::trunc(plain);
  if (mDisplayTexts.empty() || !FitsInInt(truncated)) return nullptr;
  const int key = static_cast<int>(truncated);
  for (const DisplayText& entry : mDisplayTexts)
  {
    if (entry.value == key) return &entry;
  }
  return nullptr;
}

const char* IParamEntry::DisplayTextFor(double plain) const
{
  const DisplayText* entry = FindDisplayText(plain);
  return entry && entry->text[0] != '\0' ? entry->text : nullptr;
}

void IParamEntry::FormatValue(char* out, std::size_t size) const
{
  FormatPlain(mValue, out, size);
}

void IParamEntry::FormatPlain(double plain, char* out, std::size_t size) const
{
  if (!out || size == 0) return;
  if (const char* fixed = DisplayTextFor(plain))
  {
    CopyFixedText(out, size, fixed);
    return;
  }
  double v = mNegateDisplay ? 0.0 - plain : plain;  // 0.0 - x keeps a zero unsigned
  if (mPrecision > 0)
  {
    std::snprintf(out, size, "%.*f", mPrecision, v);
    return;
  }
  const double truncated = std::trunc(v);
  // Values beyond int range still show their integer part rather than garbage.
  if (FitsInInt(truncated))
    std::snprintf(out, size, "%d", static_cast<int>(truncated));
  else
    std::snprintf(out, size, "%.0f", truncated);
}

double IParamEntry::ParseNormalized(const char* text) const
{
  double plain = text ? std::strtod(text, nullptr) : 0.0;
  if (std::isnan(plain)) plain = 0.0;  // "nan" is not a number a user means
  return PlainToNormalized(plain);
}

const char* IParamEntry::UnitsForHost() const
{
  // Any display text for the value, even an empty one, takes the unit away.
  return FindDisplayText(mValue) ? "" : mLabel;
}
