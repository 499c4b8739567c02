#pragma once

#include "public.sdk/source/vst/vstparameters.h"

class IParamEntry;

// A plug-in parameter as the host sees it: the SDK's Parameter over one
// IParamEntry, whose conversions and texts it uses. It does not own the entry.
class IPlugParameter : public Steinberg::Vst::Parameter
{
public:
  // unitId: the entry's group unit, 0 without a group.
  IPlugParameter(IParamEntry* entry, Steinberg::Vst::ParamID tag, Steinberg::Vst::UnitID unitId);

  void toString(Steinberg::Vst::ParamValue normalized,
                Steinberg::Vst::String128 text) const override;
  bool fromString(const Steinberg::Vst::TChar* text,
                  Steinberg::Vst::ParamValue& normalized) const override;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const override;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const override;

  OBJ_METHODS(IPlugParameter, Parameter)

private:
  IParamEntry* mEntry;
};
