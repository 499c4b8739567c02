#pragma once

#include "framework/IPlugBase.h"
#include "vst3/EngineChanges.h"
#include "vst3/SingleComponentEffect.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <atomic>
#include <vector>

class IPlugVST3View;

// IPlugBase joined to a VST 3 single-component effect: one object is the
// audio component, the audio processor and the edit controller. The plug-in
// class derives from it; host calls arrive here and reach the plug-in
// through IPlugBase's overridables.
//
// Every host entry point answers with a result code: none may let an
// exception out, and every index a host passes is checked first.
class IPlugVST3 : public IPlugBase, public vst3::SingleComponentEffect
{
public:
  // The two parameters the adapter adds to the plug-in's own.
  static constexpr Steinberg::Vst::ParamID kPresetParam = 0x70727374;  // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassParam = 0x62706173;  // 'bpas'

  explicit IPlugVST3(const IPlugConfig& config);
  ~IPlugVST3() override;

  // --- IPluginBase -------------------------------------------------------------------
  tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;

  // --- IComponent ------------------------------------------------------------------------
  tresult PLUGIN_API setActive(TBool state) override;
  // IComponent and IEditController declare getState/setState alike, so in
  // this one object they are one function: the controller's state (the
  // parameter values and the bypass word) serves both interfaces.
  tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
  tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

  // --- IAudioProcessor -----------------------------------------------------------------
  tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                        Steinberg::Vst::SpeakerArrangement* outputs,
                                        int32 numOuts) override;
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 PLUGIN_API getLatencySamples() override;
  tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  uint32 PLUGIN_API getTailSamples() override;

  // --- IEditController -------------------------------------------------------------------
  tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                           Steinberg::Vst::ParamValue normalized,
                                           Steinberg::Vst::String128 text) override;
  tresult PLUGIN_API getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* text,
                                           Steinberg::Vst::ParamValue& normalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plain) override;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
  tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                        Steinberg::Vst::ParamValue normalized) override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

  // --- IEditController2 ------------------------------------------------------------------
  tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) override;

  // --- IUnitInfo ---------------------------------------------------------------------------
  int32 PLUGIN_API getUnitCount() override;
  tresult PLUGIN_API getUnitInfo(int32 unitIndex, Steinberg::Vst::UnitInfo& info) override;
  int32 PLUGIN_API getProgramListCount() override;
  tresult PLUGIN_API getProgramListInfo(int32 listIndex,
                                        Steinberg::Vst::ProgramListInfo& info) override;
  tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                    Steinberg::Vst::String128 name) override;
  tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                    Steinberg::Vst::CString attributeId,
                                    Steinberg::Vst::String128 attributeValue) override;
  tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                          int32 programIndex) override;
  tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                         Steinberg::int16 midiPitch,
                                         Steinberg::Vst::String128 name) override;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override;
  tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) override;
  tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                  int32 busIndex, int32 channel,
                                  Steinberg::Vst::UnitID& unitId) override;
  tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                        Steinberg::IBStream* data) override;

  // --- IPlugBase: the host, as seen by the plug-in --------------------------------------
  void BeginParamEdit(int paramIdx) override;
  void ReportParamEdit(int paramIdx, double normalized) override;
  void EndParamEdit(int paramIdx) override;
  bool RendersOffline() override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(IHostTransport* transport) override;
  void SetLatency(int samples) override;
  void ResizeEditor(int width, int height) override;
  void ShowHostParamMenu(int paramIdx, int x, int y) override;

  // The editor views the host holds. Resizing and host menus go to the view
  // holding the editor window, or to the first view while none does.
  void AddView(IPlugVST3View* view);
  void RemoveView(IPlugVST3View* view);
  int NViews() const { return static_cast<int>(mViews.size()); }
  IPlugVST3View* WindowView() const { return mWindowView; }
  void SetWindowView(IPlugVST3View* view) { mWindowView = view; }

  OBJ_METHODS(IPlugVST3, SingleComponentEffect)
  REFCOUNT_METHODS(SingleComponentEffect)

private:
  // The plug-in's own parameter for a host ID, or null for any other ID.
  IParamEntry* pluginParam(Steinberg::Vst::ParamID id);
  void registerParameters();
  void applyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void applyParameterChange(Steinberg::Vst::ParamID id, double value);
  // The view the editor's own requests go to, or null.
  IPlugVST3View* EditorView() const;

  // The audio of one process call: a flush, a silenced block or the slices.
  void processAudio(Steinberg::Vst::ProcessData& data);
  // Binds the host's buffers to the base's channels for a slice of a block,
  // runs the engine (or the bypass) on it and writes 32-bit outputs back.
  void processSlice(Steinberg::Vst::ProcessData& data, int offset, int frames);
  void bindInputs(Steinberg::Vst::ProcessData& data, int offset, int frames);
  void bindOutputs(Steinberg::Vst::ProcessData& data, int offset);
  void silenceOutputs(Steinberg::Vst::ProcessData& data);

  Steinberg::Vst::ProcessContext mProcessContext = {};
  std::vector<IPlugVST3View*> mViews;
  IPlugVST3View* mWindowView = nullptr;
  EngineChanges mEngineChanges;
  // The bypass a host has set on the controller ahead of the block that
  // brings it (0 or 1), or -1 when the controller shows the processor's own.
  std::atomic<int> mBypassAhead{-1};
};
