#include "framework/IPlugBase.h"

#include "framework/FixedText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

IPlugBase::IPlugBase(const IPlugConfig& config)
  : mUniqueID(config.uniqueID),
    mMfrID(config.mfrID),
    mVendorVersion(config.vendorVersion),
    mApiCode(config.apiCode),
    mParams(static_cast<std::size_t>(std::max(config.nParams, 0))),
    mPresets(static_cast<std::size_t>(std::max(config.nPresets, 0)))
{
  CopyFixedText(mEffectName, config.effectName);
  CopyFixedText(mProductName, config.productName);
  CopyFixedText(mMfrName, config.mfrName);

  mChannelIO = ParseChannelIO(config.channelIO);
  int maxIn = 0;
  int maxOut = 0;
  for (const IChannelIO& io : mChannelIO)
  {
    maxIn = std::max(maxIn, io.inputs);
    maxOut = std::max(maxOut, io.outputs);
  }

  mInputPtrs.assign(static_cast<std::size_t>(maxIn), nullptr);
  mOutputPtrs.assign(static_cast<std::size_t>(maxOut), nullptr);
  mInChannels.resize(static_cast<std::size_t>(maxIn));
  mOutChannels.resize(static_cast<std::size_t>(maxOut));
  for (int i = 0; i < maxIn; ++i) mInChannels[static_cast<std::size_t>(i)].slot = i;
  for (int i = 0; i < maxOut; ++i) mOutChannels[static_cast<std::size_t>(i)].slot = i;

  if (maxIn > 0) mBypassDelay = std::make_unique<IBypassDelay>(maxIn, maxOut, mLatency);
}

IPlugBase::~IPlugBase()
{
  DeleteEditor();
}

void IPlugBase::ResetProcessing()
{
  Guard guard(mMutex);
}

void IPlugBase::ParameterChanged(int /*paramIdx*/)
{
  Guard guard(mMutex);
}

void IPlugBase::ProcessDoubles(double** inputs, double** outputs, int frames)
{
  CopyInputsToOutputs(inputs, NInChannels(), outputs, NOutChannels(), frames);
}

void IPlugBase::ActivationChanged(bool /*active*/)
{
  Guard guard(mMutex);
}

bool IPlugBase::SerializeParams(IStateChunk& chunk)
{
  Guard guard(mMutex);
  for (const IParamEntry& param : mParams)
  {
    if (chunk.AppendDouble(param.Value()) <= 0) return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(const IStateChunk& chunk, int pos)
{
  Guard guard(mMutex);
  for (std::size_t i = 0; i < mParams.size() && pos >= 0; ++i)
  {
    double v = 0.0;
    pos = chunk.ReadDouble(&v, pos);
    if (pos < 0) v = 0.0;
    IParamEntry& param = mParams[i];
    // A corrupt state must not leave NaN or infinity in the engine for good.
    param.AssignPlain(std::isfinite(v) ? v : param.Default());
  }
  for (int i = 0; i < NParams(); ++i) ParameterChanged(i);
  return pos;
}

void IPlugBase::SetParamFromEditor(int paramIdx, double normalized)
{
  Guard guard(mMutex);
  IParamEntry* param = GetParam(paramIdx);
  if (!param) return;
  param->AssignFromNormalized(normalized);
  ReportParamEdit(paramIdx, normalized);
  ParameterChanged(paramIdx);
}

void IPlugBase::HostTimeSignature(int* numerator, int* denominator)
{
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
}

void IPlugBase::HostTransport(IHostTransport* transport)
{
  if (transport) *transport = IHostTransport();
}

void IPlugBase::SetLatency(int samples)
{
  mLatency = std::max(samples, 0);
  if (mBypassDelay) mBypassDelay->SetLength(mLatency);
}

void IPlugBase::SetBlockSize(int frames)
{
  frames = std::max(frames, 0);
  if (frames == mBlockSize) return;
  // A pointer slot aimed at a channel's scratch must follow it to its new storage.
  for (IInputChannel& ch : mInChannels)
  {
    double*& ptr = mInputPtrs[static_cast<std::size_t>(ch.slot)];
    const bool onScratch = ptr == ch.scratch.data();
    ch.scratch.assign(static_cast<std::size_t>(frames), 0.0);
    if (onScratch) ptr = ch.scratch.data();
  }
  for (IOutputChannel& ch : mOutChannels)
  {
    double*& ptr = mOutputPtrs[static_cast<std::size_t>(ch.slot)];
    const bool onScratch = ptr == ch.scratch.data();
    ch.scratch.assign(static_cast<std::size_t>(frames), 0.0);
    if (onScratch) ptr = ch.scratch.data();
  }
  mBlockSize = frames;
}

bool IPlugBase::RestorePreset(int index)
{
  IPresetEntry* preset = GetPreset(index);
  if (!preset) return false;

  bool ok;
  if (preset->IsInitialised())
  {
    ok = UnserializeParams(preset->Chunk(), 0) > 0;
  }
  else
  {
    int userPresets = 0;
    for (const IPresetEntry& p : mPresets)
    {
      if (std::strstr(p.Name(), "user preset")) ++userPresets;
    }
    char name[IPresetEntry::kNameSize];
    std::snprintf(name, sizeof name, "%s %d", "user preset", userPresets + 1);
    preset->SetInitialised(true);
    preset->SetName(name);
    ok = SerializeParams(preset->Chunk());
  }

  if (ok)
  {
    mCurrentPresetIdx = index;
    PresetsChanged();
    RefreshEditorControls();
  }
  return ok;
}

void IPlugBase::CaptureDefaultPreset()
{
  for (IPresetEntry& preset : mPresets)
  {
    if (!preset.IsInitialised())
    {
      preset.SetInitialised(true);
      preset.SetName("-");
      SerializeParams(preset.Chunk());
      return;
    }
  }
}

IPresetEntry* IPlugBase::GetPreset(int index)
{
  if (index < 0 || index >= NPresets()) return nullptr;
  return &mPresets[static_cast<std::size_t>(index)];
}

int IPlugBase::IdentifyHost(const char* name)
{
  mHostCode = HostCodeForName(name);
  mHostVersion = 0;
  return mHostCode;
}

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  for (const IChannelIO& io : mChannelIO)
  {
    if ((nIn < 0 || nIn == io.inputs) && (nOut < 0 || nOut == io.outputs)) return true;
  }
  return false;
}

IChannelIO IPlugBase::GetChannelIO(int i) const
{
  if (i < 0 || i >= NChannelIO()) return IChannelIO();
  return mChannelIO[static_cast<std::size_t>(i)];
}

IInputChannel* IPlugBase::InChannel(int i)
{
  if (i < 0 || i >= NInChannels()) return nullptr;
  return &mInChannels[static_cast<std::size_t>(i)];
}

IOutputChannel* IPlugBase::OutChannel(int i)
{
  if (i < 0 || i >= NOutChannels()) return nullptr;
  return &mOutChannels[static_cast<std::size_t>(i)];
}

void IPlugBase::DisconnectChannels()
{
  for (IInputChannel& ch : mInChannels)
  {
    ch.connected = false;
    mInputPtrs[static_cast<std::size_t>(ch.slot)] = ch.scratch.data();
  }
  for (IOutputChannel& ch : mOutChannels)
  {
    ch.connected = false;
    ch.destination = nullptr;
    mOutputPtrs[static_cast<std::size_t>(ch.slot)] = ch.scratch.data();
  }
}

namespace
{
void SetLabel(std::vector<std::string>& labels, int bus, const char* label)
{
  if (bus < 0) return;
  if (static_cast<std::size_t>(bus) >= labels.size()) labels.resize(static_cast<std::size_t>(bus) + 1);
  labels[static_cast<std::size_t>(bus)] = label ? label : "";
}

const char* GetLabel(const std::vector<std::string>& labels, int bus)
{
  if (bus < 0 || static_cast<std::size_t>(bus) >= labels.size()) return "";
  return labels[static_cast<std::size_t>(bus)].c_str();
}
}  // namespace

void IPlugBase::SetInputBusLabel(int bus, const char* label) { SetLabel(mInputBusLabels, bus, label); }
void IPlugBase::SetOutputBusLabel(int bus, const char* label) { SetLabel(mOutputBusLabels, bus, label); }
const char* IPlugBase::InputBusLabel(int bus) const { return GetLabel(mInputBusLabels, bus); }
const char* IPlugBase::OutputBusLabel(int bus) const { return GetLabel(mOutputBusLabels, bus); }

void IPlugBase::ProcessBypassed(double** inputs, double** outputs, int frames)
{
  if (mLatency > 0 && mBypassDelay)
    mBypassDelay->Process(inputs, outputs, frames);
  else
    CopyInputsToOutputs(inputs, NInChannels(), outputs, NOutChannels(), frames);
}

IParamEntry* IPlugBase::GetParam(int index)
{
  if (index < 0 || index >= NParams()) return nullptr;
  return &mParams[static_cast<std::size_t>(index)];
}

const IParamEntry* IPlugBase::GetParam(int index) const
{
  if (index < 0 || index >= NParams()) return nullptr;
  return &mParams[static_cast<std::size_t>(index)];
}

int IPlugBase::AddParamGroup(const char* group)
{
  if (!group || !*group) return 0;
  for (std::size_t i = 0; i < mParamGroups.size(); ++i)
  {
    if (mParamGroups[i] == group) return static_cast<int>(i) + 1;
  }
  mParamGroups.emplace_back(group);
  return NParamGroups();
}

const char* IPlugBase::ParamGroup(int i) const
{
  if (i < 0 || i >= NParamGroups()) return "";
  return mParamGroups[static_cast<std::size_t>(i)].c_str();
}
