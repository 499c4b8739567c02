#include "vst3/IPlugVST3.h"

#include "vst3/HostText.h"
#include "vst3/Speakers.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstdint>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugVST3::IPlugVST3(const IPlugConfig& config)
  : IPlugBase(config), mEngineChanges(NParams())
{
  for (int i = 0; i < NInChannels(); ++i)
    InChannel(i)->connected = true;
  for (int i = 0; i < NOutChannels(); ++i)
    OutChannel(i)->connected = true;
  SetInputBusLabel(0, "Main Input");
  SetOutputBusLabel(0, "Output");
}

IPlugVST3::~IPlugVST3() = default;

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
  try
  {
    const tresult result = SingleComponentEffect::initialize(context);

    if (FUnknownPtr<IHostApplication> app{context})
    {
      String128 name = {};
      char narrow[128];
      if (app->getName(name) == kResultOk)
      {
        NarrowFromHost(name, narrow, sizeof narrow);
        IdentifyHost(narrow);
      }
    }

    if (result == kResultOk)
    {
      if (NInChannels() > 0)
      {
        String128 label;
        WidenToString128(InputBusLabel(0), label);
        addAudioInput(label, ArrangementForChannels(NInChannels()), kMain,
                      BusInfo::kDefaultActive);
      }
      String128 label;
      WidenToString128(OutputBusLabel(0), label);
      addAudioOutput(label, ArrangementForChannels(NOutChannels()));
      registerParameters();
    }

    HostIdentified();
    RestorePreset(0);
    return result;
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
  catch (...)
  {
    return kInternalError;
  }
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
  ActivationChanged(state != 0);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk
                                                                              : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples()
{
  return static_cast<uint32>(Latency());
}

uint32 PLUGIN_API IPlugVST3::getTailSamples()
{
  return TailSize();
}

// --- the host's transport, as the plug-in asks for it -----------------------------

bool IPlugVST3::RendersOffline()
{
  return processSetup.processMode == kOffline;
}

int IPlugVST3::HostSamplePosition()
{
  // Truncated to 32 bits, as the plug-in's interface has it.
  return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(mProcessContext.projectTimeSamples)));
}

double IPlugVST3::HostTempo()
{
  return mProcessContext.tempo;
}

void IPlugVST3::HostTimeSignature(int* numerator, int* denominator)
{
  if (numerator)
    *numerator = mProcessContext.timeSigNumerator;
  if (denominator)
    *denominator = mProcessContext.timeSigDenominator;
}

void IPlugVST3::HostTransport(IHostTransport* transport)
{
  if (!transport)
    return;
  const ProcessContext& c = mProcessContext;
  transport->tempo = c.tempo;
  transport->samplePos = static_cast<double>(c.projectTimeSamples);
  transport->ppqPos = c.projectTimeMusic;
  transport->lastBar = c.barPositionMusic;
  transport->cycleStart = c.cycleStartMusic;
  transport->cycleEnd = c.cycleEndMusic;
  transport->numerator = c.timeSigNumerator;
  transport->denominator = c.timeSigDenominator;
  transport->playing = (c.state & ProcessContext::kPlaying) != 0;
  transport->cycling = (c.state & ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::SetLatency(int samples)
{
  IPlugBase::SetLatency(samples);
  if (componentHandler)
    componentHandler->restartComponent(kLatencyChanged);
}
