#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace vst3 {

// One object that is audio component, audio processor and edit controller at
// once, for plug-ins whose processor and controller share their state. Buses
// live in the SDK's bus lists, parameters in the controller's container.
//
// IComponent and IEditController both declare getState/setState with the
// same signature, so here they are one function each; a derived class that
// overrides them serves both interfaces.
class SingleComponentEffect : public Steinberg::Vst::EditControllerEx1,
                              public Steinberg::Vst::IComponent,
                              public Steinberg::Vst::IAudioProcessor
{
public:
  using tresult = Steinberg::tresult;
  using int32 = Steinberg::int32;
  using uint32 = Steinberg::uint32;
  using TBool = Steinberg::TBool;

  SingleComponentEffect();
  ~SingleComponentEffect() override;

  // IPluginBase, shared by component and controller
  tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  // IComponent
  tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
  tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
  int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                               Steinberg::Vst::BusDirection dir) override;
  tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                int32 index, Steinberg::Vst::BusInfo& info) override;
  tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                    Steinberg::Vst::RoutingInfo& outInfo) override;
  tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                 int32 index, TBool state) override;
  tresult PLUGIN_API setActive(TBool state) override;
  tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
  tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

  // IAudioProcessor
  tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                        Steinberg::Vst::SpeakerArrangement* outputs,
                                        int32 numOuts) override;
  tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, int32 index,
                                       Steinberg::Vst::SpeakerArrangement& arr) override;
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 PLUGIN_API getLatencySamples() override;
  tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  tresult PLUGIN_API setProcessing(TBool state) override;
  tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  uint32 PLUGIN_API getTailSamples() override;

  // The SDK's parameter container indexes with vector::at: check first, so
  // that a bad index answers kResultFalse instead of throwing into the host.
  tresult PLUGIN_API getParameterInfo(int32 paramIndex,
                                      Steinberg::Vst::ParameterInfo& info) override;
  tresult PLUGIN_API getUnitInfo(int32 unitIndex, Steinberg::Vst::UnitInfo& info) override;

  // Bus set-up, for initialize and setBusArrangements.
  Steinberg::Vst::AudioBus* addAudioInput(const Steinberg::Vst::TChar* name,
                                          Steinberg::Vst::SpeakerArrangement arr,
                                          Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                          int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::AudioBus* addAudioOutput(const Steinberg::Vst::TChar* name,
                                           Steinberg::Vst::SpeakerArrangement arr,
                                           Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                           int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::EventBus* addEventInput(const Steinberg::Vst::TChar* name, int32 channels = 16,
                                          Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                          int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::EventBus* addEventOutput(const Steinberg::Vst::TChar* name, int32 channels = 16,
                                           Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                           int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  void removeAudioBusses();
  void removeEventBusses();
  void removeAllBusses();

  const Steinberg::Vst::ProcessSetup& getProcessSetup() const { return processSetup; }

  OBJ_METHODS(SingleComponentEffect, EditControllerEx1)
  DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Vst::IComponent)
    DEF_INTERFACE(Steinberg::Vst::IAudioProcessor)
  END_DEFINE_INTERFACES(EditControllerEx1)
  REFCOUNT_METHODS(EditControllerEx1)

protected:
  // The bus list for a media type and direction, or null for an unknown one.
  Steinberg::Vst::BusList* getBusList(Steinberg::Vst::MediaType type,
                                      Steinberg::Vst::BusDirection dir);
  // The bus at index of that list, or null when the list or index is bad.
  Steinberg::Vst::Bus* getBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                              int32 index);

  Steinberg::Vst::ProcessSetup processSetup;
  Steinberg::Vst::BusList audioInputs;
  Steinberg::Vst::BusList audioOutputs;
  Steinberg::Vst::BusList eventInputs;
  Steinberg::Vst::BusList eventOutputs;

private:
  bool initialized = false;
};

}  // namespace vst3
