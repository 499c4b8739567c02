// The processor side of IPlugVST3: bus arrangements, processing set-up and
// the process call, which applies the host's parameter changes and runs the
// engine on double-precision buffers.
#include "vst3/IPlugVST3.h"

#include "graphics/IGraphics.h"
#include "vst3/HostText.h"
#include "vst3/Speakers.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

int busChannels(Bus* bus)
{
  auto* audio = FCast<AudioBus>(bus);
  return audio ? SpeakerArr::getChannelCount(audio->getArrangement()) : 0;
}

// A bus that replaces another keeps its activation: hosts may activate the
// buses before they arrange them, and would otherwise get no output at all.
bool firstBusActive(const BusList& buses)
{
  return !buses.empty() && buses[0]->isActive();
}

// The host's buffer for a channel of a bus, or null when it has none.
void* hostBuffer(const AudioBusBuffers& bus, int channel)
{
  if (!bus.channelBuffers32 || channel < 0 || channel >= bus.numChannels)
    return nullptr;
  return bus.channelBuffers32[channel];  // shares storage with the 64-bit pointers
}

}  // namespace

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts)
{
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kResultFalse;
  Guard guard(GetMutex());
  DisconnectChannels();
  const int ins = numIns > 0 ? SpeakerArr::getChannelCount(inputs[0]) : 0;
  const int outs = numOuts > 0 ? SpeakerArr::getChannelCount(outputs[0]) : 0;
  if (!LegalIO(ins, outs))
    return kResultFalse;
  try
  {
    if (audioInputs.empty() || busChannels(audioInputs[0]) != ins)
    {
      String128 name;
      WidenToString128("Input", name);
      const bool active = firstBusActive(audioInputs);
      audioInputs.clear();
      addAudioInput(name, ArrangementForChannels(ins), kMain, BusInfo::kDefaultActive)
          ->setActive(active);
    }
    if (audioOutputs.empty() || busChannels(audioOutputs[0]) != outs)
    {
      String128 name;
      WidenToString128("Output", name);
      const bool active = firstBusActive(audioOutputs);
      audioOutputs.clear();
      addAudioOutput(name, ArrangementForChannels(outs))->setActive(active);
    }
  }
  catch (...)
  {
    return kOutOfMemory;
  }
  return numIns != 1 ? kResultFalse : kResultOk;
}

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  // A set-up the engine cannot run with changes nothing.
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
    return kResultFalse;
  if (!std::isfinite(setup.sampleRate) || !(setup.sampleRate > 0.0) || setup.maxSamplesPerBlock <= 0)
    return kResultFalse;
  Guard guard(GetMutex());
  try
  {
    SetBlockSize(setup.maxSamplesPerBlock);
  }
  catch (...)
  {
    return kOutOfMemory;
  }
  SetSampleRate(setup.sampleRate);
  // The bypass stays as it is: hosts restore the state (bypass word
  // included) before they set up processing, and have already read it back.
  ResetProcessing();
  processSetup = setup;
  return kResultOk;
}

// --- process ---------------------------------------------------------------------------

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
  Guard guard(GetMutex());
  if (data.processContext)
    mProcessContext = *data.processContext;
  applyParameterChanges(data.inputParameterChanges);
  mEngineChanges.Capture(*this);
  processAudio(data);
  mEngineChanges.Collect(*this);
  // A flush has no place in time for a change: it waits for the next block.
  if (data.numSamples > 0)
    mEngineChanges.Report(*this, data.outputParameterChanges);
  return kResultOk;
}

void IPlugVST3::processAudio(ProcessData& data)
{
  // No samples is how hosts deliver parameter changes while stopped: no
  // buffer is touched then (there may be none), but the engine still does its
  // per-block work so its smoothers follow the new values.
  const int frames = data.numSamples;
  if (frames <= 0)
  {
    if (frames == 0 && !IsBypassed() && BlockSize() > 0)
      ProcessDoubles(InputPointers(), OutputPointers(), 0);
    return;
  }
  if (data.symbolicSampleSize != kSample32 && data.symbolicSampleSize != kSample64)
    return;
  if (BlockSize() < 1)
  {
    // Processing before any set-up has no scratch to work in.
    silenceOutputs(data);
    return;
  }
  // The scratch holds the announced maximum; a longer block goes in slices.
  for (int offset = 0; offset < frames;)
  {
    const int slice = std::min(BlockSize(), frames - offset);
    processSlice(data, offset, slice);
    offset += slice;
  }
}

void IPlugVST3::processSlice(ProcessData& data, int offset, int frames)
{
  bindInputs(data, offset, frames);
  bindOutputs(data, offset);
  if (IsBypassed())
    ProcessBypassed(InputPointers(), OutputPointers(), frames);
  else
    ProcessDoubles(InputPointers(), OutputPointers(), frames);

  if (data.symbolicSampleSize == kSample32)
    for (int i = 0; i < NOutChannels(); ++i)
    {
      IOutputChannel* ch = OutChannel(i);
      if (!ch->connected || !ch->destination)
        continue;
      for (int s = 0; s < frames; ++s)
        ch->destination[s] = static_cast<float>(ch->scratch[static_cast<size_t>(s)]);
    }
}

void IPlugVST3::bindInputs(ProcessData& data, int offset, int frames)
{
  const bool is64 = data.symbolicSampleSize == kSample64;
  const AudioBusBuffers* bus = data.numInputs > 0 && data.inputs ? &data.inputs[0] : nullptr;
  double** pointers = InputPointers();
  for (int i = 0; i < NInChannels(); ++i)
  {
    IInputChannel* ch = InChannel(i);
    double* scratch = ch->scratch.data();
    void* host = bus ? hostBuffer(*bus, i) : nullptr;
    ch->connected = host != nullptr;
    if (!host)
    {
      // A channel the host does not feed reads silence, not an old block.
      std::fill(scratch, scratch + frames, 0.0);
      pointers[ch->slot] = scratch;
    }
    else if (is64)
    {
      pointers[ch->slot] = static_cast<double*>(host) + offset;
    }
    else
    {
      const float* in = static_cast<const float*>(host) + offset;
      for (int s = 0; s < frames; ++s)
        scratch[s] = in[s];
      pointers[ch->slot] = scratch;
    }
  }
}

void IPlugVST3::bindOutputs(ProcessData& data, int offset)
{
  const bool is64 = data.symbolicSampleSize == kSample64;
  const int buses =
      data.outputs ? std::min(data.numOutputs, static_cast<int32>(audioOutputs.size())) : 0;
  double** pointers = OutputPointers();
  int first = 0;
  for (int b = 0; b < buses; ++b)
  {
    Bus* bus = audioOutputs[static_cast<size_t>(b)];
    const int channels = busChannels(bus);
    for (int c = 0; c < channels && first + c < NOutChannels(); ++c)
    {
      IOutputChannel* ch = OutChannel(first + c);
      void* host = bus->isActive() ? hostBuffer(data.outputs[b], c) : nullptr;
      ch->connected = host != nullptr;
      ch->destination = nullptr;
      pointers[ch->slot] = ch->scratch.data();
      // A channel we write is not known to be silent: a flag the host left
      // set would let it skip the audio.
      if (host && c < 64)
        data.outputs[b].silenceFlags &= ~(uint64{1} << c);
      if (host && is64)
        pointers[ch->slot] = static_cast<double*>(host) + offset;
      else if (host)
        ch->destination = static_cast<float*>(host) + offset;
    }
    first += channels;
  }
  for (int i = std::max(first, 0); i < NOutChannels(); ++i)
  {
    IOutputChannel* ch = OutChannel(i);
    ch->connected = false;
    ch->destination = nullptr;
    pointers[ch->slot] = ch->scratch.data();
  }
}

void IPlugVST3::silenceOutputs(ProcessData& data)
{
  if (!data.outputs)
    return;
  for (int b = 0; b < data.numOutputs; ++b)
    for (int c = 0; c < data.outputs[b].numChannels; ++c)
    {
      void* host = hostBuffer(data.outputs[b], c);
      if (host && data.symbolicSampleSize == kSample64)
        std::fill_n(static_cast<double*>(host), data.numSamples, 0.0);
      else if (host)
        std::fill_n(static_cast<float*>(host), data.numSamples, 0.0f);
    }
}

// --- parameter changes ------------------------------------------------------------------

void IPlugVST3::applyParameterChanges(IParameterChanges* changes)
{
  if (!changes)
    return;
  const int32 queues = changes->getParameterCount();
  for (int32 i = 0; i < queues; ++i)
  {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue)
      continue;
    // Changes apply once per block, before the audio: only the last point counts.
    const int32 points = queue->getPointCount();
    int32 sampleOffset = 0;
    ParamValue value = 0.0;
    if (points <= 0 || queue->getPoint(points - 1, sampleOffset, value) != kResultOk)
      continue;
    const ParamID id = queue->getParameterId();
    applyParameterChange(id, value);
    // The host now holds this value itself.
    if (id == kBypassParam)
      mBypassAhead = -1;
    else if (pluginParam(id))
      mEngineChanges.Forget(static_cast<int>(id));
  }
}

void IPlugVST3::applyParameterChange(ParamID id, double value)
{
  if (id == kBypassParam)
  {
    SetBypassed(value > 0.5);
  }
  else if (id == kPresetParam)
  {
    const double index = std::trunc(value * NPresets());
    if (std::isfinite(index) && index >= 0.0 && index < NPresets())
      RestorePreset(static_cast<int>(index));
  }
  else if (IParamEntry* param = pluginParam(id))
  {
    param->AssignFromNormalized(value);
    // The controls show what the parameter now holds: the host's value after
    // clamping, and for a switch after stepping.
    if (IGraphics* graphics = GetGraphics())
      graphics->UpdateParameterControls(static_cast<int>(id), param->NormalizedValue(), true);
    ParameterChanged(static_cast<int>(id));
  }
}
