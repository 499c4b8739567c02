// The controller side of IPlugVST3: the parameters the host sees, their
// values and texts, units and program lists, the state stream and the
// editor's edits on their way to the host.
#include "vst3/IPlugVST3.h"

#include "vst3/HostText.h"
#include "vst3/IPlugParameter.h"

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Reads up to bytes, however the stream delivers them; returns what arrived.
int32 readFully(IBStream* stream, void* out, int32 bytes)
{
  int32 total = 0;
  while (total < bytes)
  {
    int32 got = 0;
    if (stream->read(static_cast<char*>(out) + total, bytes - total, &got) != kResultOk || got <= 0)
      break;
    total += got;
  }
  return total;
}

}  // namespace

IParamEntry* IPlugVST3::pluginParam(ParamID id)
{
  return id < static_cast<ParamID>(NParams()) ? GetParam(static_cast<int>(id)) : nullptr;
}

void IPlugVST3::registerParameters()
{
  String128 title;
  if (NPresets() > 0)
  {
    WidenToString128("Preset", title);
    parameters.addParameter(title, nullptr, NPresets(), 0.0, ParameterInfo::kIsProgramChange,
                            static_cast<int32>(kPresetParam), kRootUnitId);
  }

  WidenToString128("Bypass", title);
  auto* bypass = new StringListParameter(
      title, kBypassParam, nullptr,
      ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass, kRootUnitId);
  String128 text;
  WidenToString128("off", text);
  bypass->appendString(text);
  WidenToString128("on", text);
  bypass->appendString(text);
  parameters.addParameter(bypass);

  for (int i = 0; i < NParams(); ++i)
  {
    IParamEntry* entry = GetParam(i);
    const UnitID unit = AddParamGroup(entry->Group());
    parameters.addParameter(new IPlugParameter(entry, static_cast<ParamID>(i), unit));
  }
}

// --- values and texts ----------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue normalized,
                                                    String128 text)
{
  if (!text || !pluginParam(id))
    return kResultFalse;
  Parameter* parameter = getParameterObject(id);
  if (!parameter)
    return kResultFalse;
  parameter->toString(normalized, text);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID id, TChar* text, ParamValue& normalized)
{
  if (!text)
    return kResultFalse;
  try
  {
    return SingleComponentEffect::getParamValueByString(id, text, normalized);
  }
  catch (...)
  {
    // The SDK's own parameters convert the text through a UTF-8 converter
    // that throws on malformed UTF-16 (a lone surrogate, say).
    return kResultFalse;
  }
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plain)
{
  IParamEntry* param = pluginParam(id);
  return param ? param->PlainToNormalized(plain) : plain;
}

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id)
{
  if (id == kBypassParam)
  {
    const int ahead = mBypassAhead;
    return (ahead < 0 ? IsBypassed() : ahead == 1) ? 1.0 : 0.0;
  }
  IParamEntry* param = pluginParam(id);
  return param ? param->NormalizedValue() : 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue normalized)
{
  if (id == kBypassParam)
  {
    // Hosts set the controller's bypass as they send it to the processor,
    // and read it back before the block that brings it.
    mBypassAhead = normalized > 0.5 ? 1 : 0;
    return kResultOk;
  }
  IParamEntry* param = pluginParam(id);
  if (!param)
    return kResultFalse;
  // The host only mirrors a value here; the engine hears of it with the next block.
  param->AssignFromNormalized(normalized);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setKnobMode(KnobMode)
{
  return kResultOk;
}

// --- state ----------------------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::getState(IBStream* stream)
{
  if (!stream)
    return kResultFalse;
  try
  {
    Guard guard(GetMutex());
    IStateChunk chunk;
    if (!SerializeParams(chunk))
      return kResultFalse;
    int32 written = 0;
    stream->write(chunk.Data(), chunk.Size(), &written);
    uint8_t word[4] = {static_cast<uint8_t>(IsBypassed() ? 1 : 0), 0, 0, 0};  // little-endian
    stream->write(word, sizeof word, &written);
    return kResultOk;
  }
  catch (...)
  {
    return kOutOfMemory;
  }
}

tresult PLUGIN_API IPlugVST3::setState(IBStream* stream)
{
  if (!stream)
    return kResultFalse;
  try
  {
    Guard guard(GetMutex());
    // The current values fill the chunk, so bytes the stream lacks keep them.
    IStateChunk chunk;
    SerializeParams(chunk);
    if (chunk.Size() <= 0)
      return kResultFalse;
    readFully(stream, chunk.Data(), chunk.Size());
    UnserializeParams(chunk, 0);

    // A bypass word that is missing or short fails the restore, whatever
    // result the stream gives for a read at its end.
    uint8_t word[4] = {};
    const bool haveWord = readFully(stream, word, sizeof word) == sizeof word;
    if (haveWord)
    {
      const uint32_t value = static_cast<uint32_t>(word[0]) | (static_cast<uint32_t>(word[1]) << 8) |
                             (static_cast<uint32_t>(word[2]) << 16) |
                             (static_cast<uint32_t>(word[3]) << 24);
      SetBypassed(value != 0);
      mBypassAhead = -1;
    }
    // The host reads the restored values back; nothing of ours waits any more.
    mEngineChanges.ForgetAll();
    RefreshEditorControls();
    return haveWord ? kResultOk : kResultFalse;
  }
  catch (...)
  {
    return kOutOfMemory;
  }
}

// --- units and program lists ---------------------------------------------------------------

int32 PLUGIN_API IPlugVST3::getUnitCount()
{
  return NParamGroups() + 1;
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex < 0 || unitIndex > NParamGroups())
    return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  WidenToString128(unitIndex == 0 ? "Root Unit" : ParamGroup(unitIndex - 1), info.name);
  info.programListId = kNoProgramListId;
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getProgramListCount()
{
  return 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0)
    return kResultFalse;
  info.id = static_cast<ProgramListID>(kPresetParam);
  WidenToString128("Factory Presets", info.name);
  info.programCount = NPresets();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                             String128 name)
{
  if (listId != static_cast<ProgramListID>(kPresetParam) || !name)
    return kResultFalse;
  IPresetEntry* preset = GetPreset(programIndex);
  WidenToString128(preset ? preset->Name() : "", name);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(ProgramListID, int32)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getProgramPitchName(ProgramListID, int32, int16, String128)
{
  return kNotImplemented;
}

UnitID PLUGIN_API IPlugVST3::getSelectedUnit()
{
  return kRootUnitId;
}

tresult PLUGIN_API IPlugVST3::selectUnit(UnitID)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::setUnitProgramData(int32, int32, IBStream*)
{
  return kNotImplemented;
}

// --- the editor's edits, on their way to the host -----------------------------------

void IPlugVST3::BeginParamEdit(int paramIdx)
{
  beginEdit(static_cast<ParamID>(paramIdx));
}

void IPlugVST3::ReportParamEdit(int paramIdx, double normalized)
{
  performEdit(static_cast<ParamID>(paramIdx), normalized);
}

void IPlugVST3::EndParamEdit(int paramIdx)
{
  endEdit(static_cast<ParamID>(paramIdx));
}
