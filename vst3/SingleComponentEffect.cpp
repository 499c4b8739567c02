#include "vst3/SingleComponentEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace vst3 {

SingleComponentEffect::SingleComponentEffect()
: audioInputs(kAudio, kInput)
, audioOutputs(kAudio, kOutput)
, eventInputs(kEvent, kInput)
, eventOutputs(kEvent, kOutput)
{
  processSetup.processMode = kRealtime;
  processSetup.symbolicSampleSize = kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
  // The SDK base knows a second call only by the host context it kept,
  // which a host may not give: a flag of our own catches it either way.
  if (initialized)
    return kResultFalse;
  const tresult result = EditControllerEx1::initialize(context);
  initialized = result == kResultOk;
  return result;
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
  initialized = false;
  removeAllBusses();
  return EditControllerEx1::terminate();
}

// --- buses ---------------------------------------------------------------

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
  if (dir != kInput && dir != kOutput)
    return nullptr;
  if (type == kAudio)
    return dir == kInput ? &audioInputs : &audioOutputs;
  if (type == kEvent)
    return dir == kInput ? &eventInputs : &eventOutputs;
  return nullptr;
}

Bus* SingleComponentEffect::getBus(MediaType type, BusDirection dir, int32 index)
{
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= static_cast<int32>(list->size()))
    return nullptr;
  return (*list)[static_cast<size_t>(index)];
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr,
                                               BusType busType, int32 flags)
{
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioInputs.emplace_back(bus, false);
  return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr,
                                                BusType busType, int32 flags)
{
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioOutputs.emplace_back(bus, false);
  return bus;
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType,
                                               int32 flags)
{
  auto* bus = new EventBus(name, busType, flags, channels);
  eventInputs.emplace_back(bus, false);
  return bus;
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels,
                                                BusType busType, int32 flags)
{
  auto* bus = new EventBus(name, busType, flags, channels);
  eventOutputs.emplace_back(bus, false);
  return bus;
}

void SingleComponentEffect::removeAudioBusses()
{
  audioInputs.clear();
  audioOutputs.clear();
}

void SingleComponentEffect::removeEventBusses()
{
  eventInputs.clear();
  eventOutputs.clear();
}

void SingleComponentEffect::removeAllBusses()
{
  removeAudioBusses();
  removeEventBusses();
}

// --- IComponent ------------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID)
{
  // The controller is this very object: there is no separate class to name.
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode)
{
  return kNotImplemented;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
  BusList* list = getBusList(type, dir);
  return list ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                     BusInfo& info)
{
  Bus* bus = getBus(type, dir, index);
  if (!bus)
    return kInvalidArgument;
  info.mediaType = type;
  info.direction = dir;
  return bus->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir,
                                                      int32 index, TBool state)
{
  Bus* bus = getBus(type, dir, index);
  if (!bus)
    return kInvalidArgument;
  bus->setActive(state);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool)
{
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setState(IBStream*)
{
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::getState(IBStream*)
{
  return kNotImplemented;
}

// --- IAudioProcessor -------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs,
                                                             int32 numIns,
                                                             SpeakerArrangement* outputs,
                                                             int32 numOuts)
{
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  if (numIns != static_cast<int32>(audioInputs.size()) ||
      numOuts != static_cast<int32>(audioOutputs.size()))
    return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    if (auto* bus = FCast<AudioBus>(audioInputs[static_cast<size_t>(i)].get()))
      bus->setArrangement(inputs[i]);
  for (int32 i = 0; i < numOuts; ++i)
    if (auto* bus = FCast<AudioBus>(audioOutputs[static_cast<size_t>(i)].get()))
      bus->setArrangement(outputs[i]);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr)
{
  auto* bus = FCast<AudioBus>(getBus(kAudio, dir, index));
  if (!bus)
    return kInvalidArgument;
  arr = bus->getArrangement();
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API SingleComponentEffect::getLatencySamples()
{
  return 0;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  processSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool)
{
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::process(ProcessData&)
{
  return kNotImplemented;
}

uint32 PLUGIN_API SingleComponentEffect::getTailSamples()
{
  return kNoTail;
}

// --- index-checked controller queries ----------------------------------------

tresult PLUGIN_API SingleComponentEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  if (paramIndex < 0 || paramIndex >= parameters.getParameterCount())
    return kResultFalse;
  return EditControllerEx1::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API SingleComponentEffect::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex < 0 || unitIndex >= static_cast<int32>(units.size()))
    return kResultFalse;
  return EditControllerEx1::getUnitInfo(unitIndex, info);
}

}  // namespace vst3
