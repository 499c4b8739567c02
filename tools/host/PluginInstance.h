#pragma once

#include "tools/host/FactoryInfo.h"
#include "tools/host/ComponentHandler.h"
#include "tools/host/HostApplication.h"
#include "tools/host/ParameterChanges.h"
#include "tools/host/VstModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

// Narrows a host string to ASCII-ish UTF-8 (units above 0x7F become '?').
std::string ToUtf8(const Steinberg::Vst::TChar* text, int capacity = 128);

// One plug-in instance, driven the way a DAW drives it: created from the
// factory, initialised with a host context, its controller found (the same
// object for single-component plug-ins, else created and connected),
// prepared, processed block by block, shut down in order.
class PluginInstance
{
public:
  // Creates the first audio effect class of the module.
  static std::unique_ptr<PluginInstance> Create(VstModule& module, HostApplication& host,
                                                std::string& error);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  const ClassDescription& description() const { return mClass; }
  Steinberg::Vst::IComponent* component() const { return mComponent; }
  Steinberg::Vst::IAudioProcessor* processor() const { return mProcessor; }
  Steinberg::Vst::IEditController* controller() const { return mController; }
  ComponentHandler& handler() { return mHandler; }
  bool isSingleComponent() const { return mSingleComponent; }

  // The controller's parameters, in its order.
  std::vector<Steinberg::Vst::ParameterInfo> parameters() const;
  // The parameter whose title is exactly title; false when none is.
  bool findParameter(const std::string& title, Steinberg::Vst::ParamID& id) const;
  // The title of the parameter with that ID, empty when there is none.
  std::string parameterTitle(Steinberg::Vst::ParamID id) const;
  // The parameter flagged as the host's bypass; false when none is.
  bool findBypass(Steinberg::Vst::ParamID& id) const;
  // The controller's text for a normalized value.
  std::string valueText(Steinberg::Vst::ParamID id, double normalized) const;

  // Channel count of the first (main) audio bus in a direction, 0 without one.
  int mainChannels(Steinberg::Vst::BusDirection dir) const;

  struct Setup
  {
    double sampleRate = 48000.0;
    int maxBlock = 512;
    int sampleSize = Steinberg::Vst::kSample32;
    int channels = 2;  // on the main input and output
    int processMode = Steinberg::Vst::kOffline;
  };
  // Arranges the main buses for the channel count, sets up processing and
  // activates. False, with a message, when the plug-in refuses.
  bool prepare(const Setup& setup, std::string& error);
  // Stops processing and deactivates; prepare may be called again.
  void unprepare();

  // One block, planar channel buffers for the main buses (the count given to
  // prepare); changes may be null. False when process does not return kResultOk.
  bool process32(float* const* in, float* const* out, int frames, ParameterChanges* changes);
  bool process64(double* const* in, double* const* out, int frames, ParameterChanges* changes);

  // A change delivered by the host also reaches a separate controller.
  void informController(Steinberg::Vst::ParamID id, double normalized);

  // What the plug-in changed by itself and reported with its output
  // parameter changes: those of the last block, and the latest value of
  // each parameter since prepare.
  ParameterChanges& lastOutputChanges() { return mOutputChanges; }
  const std::map<Steinberg::Vst::ParamID, double>& reportedValues() const { return mReported; }

  // The component's state; a separate controller follows a restored one.
  bool getState(std::vector<char>& bytes);
  bool setState(const std::vector<char>& bytes);

private:
  PluginInstance() = default;
  bool createController(VstModule& module, HostApplication& host, std::string& error);
  void allocateBuses(int maxBlock);
  bool runProcess(int sampleSize, void* const* in, void* const* out, int frames,
                  ParameterChanges* changes);
  // Takes in the block's output changes, as a host updates its own view.
  void readOutputChanges();

  ClassDescription mClass;
  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;
  Steinberg::Vst::IConnectionPoint* mComponentPoint = nullptr;
  Steinberg::Vst::IConnectionPoint* mControllerPoint = nullptr;
  bool mSingleComponent = false;
  bool mControllerInitialized = false;
  ComponentHandler mHandler;

  Setup mSetup;
  bool mActive = false;
  bool mProcessing = false;
  Steinberg::Vst::ProcessContext mContext = {};
  ParameterChanges mOutputChanges;
  std::map<Steinberg::Vst::ParamID, double> mReported;

  // Buffers for every bus: the main ones point at the caller's, the others at
  // silent scratch of their own channel count.
  struct BusBuffers
  {
    int channels = 0;
    std::vector<void*> pointers;
    std::vector<std::vector<double>> scratch;  // doubles are wide enough for either size
  };
  std::vector<BusBuffers> mInputBuses;
  std::vector<BusBuffers> mOutputBuses;
  std::vector<Steinberg::Vst::AudioBusBuffers> mInputs;
  std::vector<Steinberg::Vst::AudioBusBuffers> mOutputs;
};

}  // namespace host
