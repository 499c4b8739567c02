#include "tools/host/PluginInstance.h"

#include "public.sdk/source/common/memorystream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

namespace {

template <class T>
T* queryFrom(FUnknown* object)
{
  void* obj = nullptr;
  if (!object || object->queryInterface(T::iid, &obj) != kResultOk)
    return nullptr;
  return static_cast<T*>(obj);
}

template <class T>
void releaseAndClear(T*& object)
{
  if (object)
    object->release();
  object = nullptr;
}

SpeakerArrangement arrangementFor(int channels)
{
  switch (channels)
  {
  case 1: return SpeakerArr::kMono;
  case 2: return SpeakerArr::kStereo;
  default: return SpeakerArr::kEmpty;
  }
}

}  // namespace

std::string ToUtf8(const TChar* text, int capacity)
{
  std::string out;
  for (int i = 0; i < capacity && text[i]; ++i)
  {
    const auto unit = static_cast<char16_t>(text[i]);
    out += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
  return out;
}

// --- creation and shutdown -----------------------------------------------------------

std::unique_ptr<PluginInstance> PluginInstance::Create(VstModule& module, HostApplication& host,
                                                       std::string& error)
{
  IPluginFactory* factory = module.factory();
  std::unique_ptr<PluginInstance> plugin(new PluginInstance);
  for (const ClassDescription& c : ListClasses(factory))
    if (c.category == kVstAudioEffectClass)
    {
      plugin->mClass = c;
      break;
    }
  if (plugin->mClass.index < 0)
  {
    error = "the module has no audio effect class";
    return nullptr;
  }
  void* obj = nullptr;
  if (factory->createInstance(plugin->mClass.cid, IComponent::iid, &obj) != kResultOk || !obj)
  {
    error = "the factory cannot create \"" + plugin->mClass.name + "\"";
    return nullptr;
  }
  plugin->mComponent = static_cast<IComponent*>(obj);
  if (plugin->mComponent->initialize(&host) != kResultOk)
  {
    // A component whose initialize fails is released without terminate.
    releaseAndClear(plugin->mComponent);
    error = "\"" + plugin->mClass.name + "\" refused to initialise";
    return nullptr;
  }
  plugin->mProcessor = queryFrom<IAudioProcessor>(plugin->mComponent);
  if (!plugin->mProcessor)
  {
    error = "\"" + plugin->mClass.name + "\" is not an audio processor";
    return nullptr;
  }
  if (!plugin->createController(module, host, error))
    return nullptr;
  return plugin;
}

bool PluginInstance::createController(VstModule& module, HostApplication& host,
                                      std::string& error)
{
  mController = queryFrom<IEditController>(mComponent);
  if (mController)
  {
    mSingleComponent = true;
  }
  else
  {
    TUID controllerId = {};
    void* obj = nullptr;
    if (mComponent->getControllerClassId(controllerId) != kResultOk ||
        module.factory()->createInstance(controllerId, IEditController::iid, &obj) != kResultOk ||
        !obj)
    {
      error = "\"" + mClass.name + "\" has no edit controller";
      return false;
    }
    mController = static_cast<IEditController*>(obj);
    if (mController->initialize(&host) != kResultOk)
    {
      releaseAndClear(mController);
      error = "the edit controller of \"" + mClass.name + "\" refused to initialise";
      return false;
    }
    mControllerInitialized = true;
    mComponentPoint = queryFrom<IConnectionPoint>(mComponent);
    mControllerPoint = queryFrom<IConnectionPoint>(mController);
    if (mComponentPoint && mControllerPoint)
    {
      mComponentPoint->connect(mControllerPoint);
      mControllerPoint->connect(mComponentPoint);
    }
    std::vector<char> state;
    if (getState(state))
    {
      MemoryStream stream(state.data(), static_cast<TSize>(state.size()));
      mController->setComponentState(&stream);
    }
  }
  mController->setComponentHandler(&mHandler);
  return true;
}

PluginInstance::~PluginInstance()
{
  unprepare();
  if (mController)
    mController->setComponentHandler(nullptr);
  if (mComponentPoint && mControllerPoint)
  {
    mComponentPoint->disconnect(mControllerPoint);
    mControllerPoint->disconnect(mComponentPoint);
  }
  releaseAndClear(mComponentPoint);
  releaseAndClear(mControllerPoint);
  if (mControllerInitialized)
    mController->terminate();
  releaseAndClear(mController);
  releaseAndClear(mProcessor);
  if (mComponent)
    mComponent->terminate();
  releaseAndClear(mComponent);
}

// --- parameters ----------------------------------------------------------------------

std::vector<ParameterInfo> PluginInstance::parameters() const
{
  std::vector<ParameterInfo> list;
  const int32 count = mController->getParameterCount();
  for (int32 i = 0; i < count; ++i)
  {
    ParameterInfo info = {};
    if (mController->getParameterInfo(i, info) == kResultOk)
      list.push_back(info);
  }
  return list;
}

bool PluginInstance::findParameter(const std::string& title, ParamID& id) const
{
  for (const ParameterInfo& info : parameters())
    if (ToUtf8(info.title) == title)
    {
      id = info.id;
      return true;
    }
  return false;
}

std::string PluginInstance::parameterTitle(ParamID id) const
{
  for (const ParameterInfo& info : parameters())
    if (info.id == id)
      return ToUtf8(info.title);
  return std::string();
}

bool PluginInstance::findBypass(ParamID& id) const
{
  for (const ParameterInfo& info : parameters())
    if (info.flags & ParameterInfo::kIsBypass)
    {
      id = info.id;
      return true;
    }
  return false;
}

std::string PluginInstance::valueText(ParamID id, double normalized) const
{
  String128 text = {};
  if (mController->getParamStringByValue(id, normalized, text) != kResultOk)
    return std::string();
  return ToUtf8(text);
}

void PluginInstance::informController(ParamID id, double normalized)
{
  if (!mSingleComponent)
    mController->setParamNormalized(id, normalized);
}

// --- processing ------------------------------------------------------------------------

int PluginInstance::mainChannels(BusDirection dir) const
{
  if (mComponent->getBusCount(kAudio, dir) < 1)
    return 0;
  BusInfo info = {};
  if (mComponent->getBusInfo(kAudio, dir, 0, info) != kResultOk)
    return 0;
  return info.channelCount;
}

bool PluginInstance::prepare(const Setup& setup, std::string& error)
{
  unprepare();
  const int32 numIns = mComponent->getBusCount(kAudio, kInput);
  const int32 numOuts = mComponent->getBusCount(kAudio, kOutput);
  if (numIns < 1 || numOuts < 1)
  {
    error = "\"" + mClass.name + "\" has no main audio input and output";
    return false;
  }
  std::vector<SpeakerArrangement> ins(static_cast<size_t>(numIns));
  std::vector<SpeakerArrangement> outs(static_cast<size_t>(numOuts));
  for (int32 i = 0; i < numIns; ++i)
    mProcessor->getBusArrangement(kInput, i, ins[static_cast<size_t>(i)]);
  for (int32 i = 0; i < numOuts; ++i)
    mProcessor->getBusArrangement(kOutput, i, outs[static_cast<size_t>(i)]);
  ins[0] = outs[0] = arrangementFor(setup.channels);
  // A plug-in may refuse and keep another arrangement: what counts is the one it now has.
  mProcessor->setBusArrangements(ins.data(), numIns, outs.data(), numOuts);
  if (mainChannels(kInput) != setup.channels || mainChannels(kOutput) != setup.channels)
  {
    error = "\"" + mClass.name + "\" does not process " +
            (setup.channels == 1 ? std::string("mono") :
             setup.channels == 2 ? std::string("stereo") :
                                   std::to_string(setup.channels) + "-channel") + " audio";
    return false;
  }

  ProcessSetup processSetup = {};
  processSetup.processMode = setup.processMode;
  processSetup.symbolicSampleSize = setup.sampleSize;
  processSetup.maxSamplesPerBlock = setup.maxBlock;
  processSetup.sampleRate = setup.sampleRate;
  if (mProcessor->canProcessSampleSize(setup.sampleSize) != kResultOk)
  {
    error = "\"" + mClass.name + "\" does not process " +
            (setup.sampleSize == kSample64 ? "64" : "32") + "-bit samples";
    return false;
  }
  if (mProcessor->setupProcessing(processSetup) != kResultOk)
  {
    error = "\"" + mClass.name + "\" refused the processing set-up";
    return false;
  }
  mComponent->activateBus(kAudio, kInput, 0, true);
  mComponent->activateBus(kAudio, kOutput, 0, true);
  if (mComponent->setActive(true) != kResultOk)
  {
    error = "\"" + mClass.name + "\" refused to activate";
    return false;
  }
  mActive = true;
  mSetup = setup;
  mReported.clear();
  allocateBuses(setup.maxBlock);
  mProcessor->setProcessing(true);  // kNotImplemented is a fine answer
  mProcessing = true;

  mContext = {};
  mContext.state = ProcessContext::kPlaying | ProcessContext::kTempoValid |
                   ProcessContext::kTimeSigValid | ProcessContext::kContTimeValid;
  mContext.sampleRate = setup.sampleRate;
  mContext.tempo = 120.0;
  mContext.timeSigNumerator = 4;
  mContext.timeSigDenominator = 4;
  return true;
}

void PluginInstance::unprepare()
{
  if (mProcessing)
    mProcessor->setProcessing(false);
  mProcessing = false;
  if (mActive)
    mComponent->setActive(false);
  mActive = false;
}

void PluginInstance::allocateBuses(int maxBlock)
{
  auto build = [&](BusDirection dir, std::vector<BusBuffers>& buses,
                   std::vector<AudioBusBuffers>& buffers) {
    const int32 count = mComponent->getBusCount(kAudio, dir);
    buses.assign(static_cast<size_t>(count), BusBuffers());
    buffers.assign(static_cast<size_t>(count), AudioBusBuffers());
    for (int32 b = 0; b < count; ++b)
    {
      BusInfo info = {};
      mComponent->getBusInfo(kAudio, dir, b, info);
      BusBuffers& bus = buses[static_cast<size_t>(b)];
      bus.channels = info.channelCount > 0 ? info.channelCount : 0;
      bus.pointers.assign(static_cast<size_t>(bus.channels), nullptr);
      bus.scratch.assign(static_cast<size_t>(bus.channels),
                         std::vector<double>(static_cast<size_t>(maxBlock > 0 ? maxBlock : 1)));
    }
  };
  build(kInput, mInputBuses, mInputs);
  build(kOutput, mOutputBuses, mOutputs);
}

bool PluginInstance::runProcess(int sampleSize, void* const* in, void* const* out, int frames,
                                ParameterChanges* changes)
{
  if (!mActive || frames < 0)
    return false;
  auto bind = [&](std::vector<BusBuffers>& buses, std::vector<AudioBusBuffers>& buffers,
                  void* const* mainBuffers) {
    for (size_t b = 0; b < buses.size(); ++b)
    {
      BusBuffers& bus = buses[b];
      for (int c = 0; c < bus.channels; ++c)
      {
        std::vector<double>& scratch = bus.scratch[static_cast<size_t>(c)];
        // Callers may pass a longer block than announced; the buses they do
        // not feed must still have room for it.
        if (b > 0 && scratch.size() < static_cast<size_t>(frames))
          scratch.resize(static_cast<size_t>(frames));
        bus.pointers[static_cast<size_t>(c)] =
            b == 0 ? mainBuffers[c] : static_cast<void*>(scratch.data());
      }
      buffers[b].numChannels = bus.channels;
      buffers[b].silenceFlags = 0;
      buffers[b].channelBuffers32 = reinterpret_cast<Sample32**>(bus.pointers.data());
    }
  };
  bind(mInputBuses, mInputs, in);
  bind(mOutputBuses, mOutputs, out);

  mOutputChanges.clear();
  ProcessData data;
  data.processMode = mSetup.processMode;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = static_cast<int32>(mInputs.size());
  data.numOutputs = static_cast<int32>(mOutputs.size());
  data.inputs = mInputs.data();
  data.outputs = mOutputs.data();
  data.inputParameterChanges = changes;
  data.outputParameterChanges = &mOutputChanges;
  data.processContext = &mContext;
  const tresult result = mProcessor->process(data);
  readOutputChanges();

  mContext.projectTimeSamples += frames;
  mContext.continousTimeSamples += frames;
  return result == kResultOk;
}

void PluginInstance::readOutputChanges()
{
  const int32 count = mOutputChanges.getParameterCount();
  for (int32 i = 0; i < count; ++i)
  {
    IParamValueQueue* queue = mOutputChanges.getParameterData(i);
    const int32 points = queue ? queue->getPointCount() : 0;
    int32 offset = 0;
    ParamValue value = 0.0;
    if (points < 1 || queue->getPoint(points - 1, offset, value) != kResultOk)
      continue;
    mReported[queue->getParameterId()] = value;
    informController(queue->getParameterId(), value);
  }
}

bool PluginInstance::process32(float* const* in, float* const* out, int frames,
                               ParameterChanges* changes)
{
  if (mSetup.sampleSize != kSample32)
    return false;
  return runProcess(kSample32, reinterpret_cast<void* const*>(in),
                    reinterpret_cast<void* const*>(out), frames, changes);
}

bool PluginInstance::process64(double* const* in, double* const* out, int frames,
                               ParameterChanges* changes)
{
  if (mSetup.sampleSize != kSample64)
    return false;
  return runProcess(kSample64, reinterpret_cast<void* const*>(in),
                    reinterpret_cast<void* const*>(out), frames, changes);
}

// --- state -------------------------------------------------------------------------------

bool PluginInstance::getState(std::vector<char>& bytes)
{
  MemoryStream stream;
  if (mComponent->getState(&stream) != kResultOk)
    return false;
  const TSize size = stream.getSize();
  bytes.assign(stream.getData(), stream.getData() + size);
  return true;
}

bool PluginInstance::setState(const std::vector<char>& bytes)
{
  std::vector<char> copy(bytes);
  MemoryStream stream(copy.empty() ? nullptr : copy.data(), static_cast<TSize>(copy.size()));
  if (mComponent->setState(&stream) != kResultOk)
    return false;
  if (!mSingleComponent)
  {
    MemoryStream again(copy.empty() ? nullptr : copy.data(), static_cast<TSize>(copy.size()));
    mController->setComponentState(&again);
  }
  return true;
}

}  // namespace host
