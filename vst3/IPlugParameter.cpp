#include "vst3/IPlugParameter.h"

#include "framework/IParamEntry.h"
#include "vst3/HostText.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A host value outside 0..1 (or NaN) would run the power law off its domain.
double clampNormalized(double n)
{
  return std::isnan(n) ? 0.0 : std::clamp(n, 0.0, 1.0);
}

// The span of a stepped entry, truncated, kept within int32.
int32 stepCountFor(double span)
{
  if (!(span > 0.0))
    return 0;
  return span >= 2147483647.0 ? 2147483647 : static_cast<int32>(span);
}

}  // namespace

IPlugParameter::IPlugParameter(IParamEntry* entry, ParamID tag, UnitID unitId) : mEntry(entry)
{
  // A slot the plug-in never defined only keeps its place among the IDs and
  // in the state: hosts get a name for it, and neither a control nor an
  // automation lane.
  const bool placeholder = entry->GetKind() == IParamEntry::kKindUndefined;
  info.id = tag;
  WidenToString128(placeholder && !entry->Name()[0] ? "Reserved" : entry->Name(), info.title);
  info.shortTitle[0] = 0;
  WidenToString128(entry->UnitsForHost(), info.units);
  info.stepCount = entry->IsStepped() ? stepCountFor(entry->Max() - entry->Min()) : 0;
  info.defaultNormalizedValue = entry->PlainToNormalized(entry->Default());
  info.unitId = unitId;
  if (placeholder)
    info.flags = ParameterInfo::kIsHidden | ParameterInfo::kIsReadOnly;
  else
    info.flags = entry->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
  valueNormalized = info.defaultNormalizedValue;
  precision = entry->Precision();
}

void IPlugParameter::toString(ParamValue normalized, String128 text) const
{
  char display[IParamEntry::kDisplayTextSize];
  mEntry->FormatPlain(toPlain(normalized), display, sizeof display);
  WidenToString128(display, text);
}

bool IPlugParameter::fromString(const TChar* text, ParamValue& normalized) const
{
  char narrow[128];
  NarrowFromHost(text, narrow, sizeof narrow);
  normalized = mEntry->ParseNormalized(narrow);
  return true;
}

ParamValue IPlugParameter::toPlain(ParamValue normalized) const
{
  return mEntry->NormalizedToPlain(clampNormalized(normalized));
}

ParamValue IPlugParameter::toNormalized(ParamValue plain) const
{
  return mEntry->PlainToNormalized(plain);
}
