#pragma once

#include "engine/ControlMap.h"
#include "engine/EngineState.h"
#include "framework/IPlugBase.h"
#include "framework/IPlugConfig.h"
#include "vst3/IPlugVST3.h"

// The base Morvex builds on: the VST 3 adapter, itself an IPlugBase.
// Nothing in Morvex itself depends on which one it is.
using MorvexBase = IPlugVST3;

// The console-style equaliser plug-in: its parameter table and identity.
class Morvex : public MorvexBase
{
public:
  // Parameter indices; each is also the parameter's VST 3 ID. Slot 14 is
  // never defined, but keeps its place so the switches keep theirs.
  enum EParam
  {
    kInput = 0,
    kHighFrequency = 1,
    kHighGain = 2,
    kHighMidFrequency = 3,
    kHighMidBandwidth = 4,
    kHighMidGain = 5,
    kHighpassFilter = 6,
    kLowFrequency = 7,
    kLowGain = 8,
    kLowMidFrequency = 9,
    kLowMidBandwidth = 10,
    kLowMidGain = 11,
    kLowpassFilter = 12,
    kOutput = 13,
    kUnusedSlot = 14,
    kEQBypass = 15,
    kFilterBypass = 16,
    kLowBell = 17,
    kHighBell = 18,
    kIOLink = 19,
    kNumParams = 20
  };

  // Parameters 0..13 are continuous and mirrored by the engine; 15..19 are switches.
  static constexpr int kNumMirrored = 14;
  static constexpr int kNumPresets = 1;
  static constexpr const char* kChannelIO = "1-1 2-2";

  // The fixed identity handed to the base.
  static IPlugConfig Config();

  explicit Morvex(const IPlugInstanceInfo& instanceInfo = IPlugInstanceInfo());

  void ResetProcessing() override;
  void ParameterChanged(int paramIdx) override;
  void ProcessDoubles(double** inputs, double** outputs, int nFrames) override;

  // The knob positions (a mirror of parameters 0..13) mapped to design values.
  static ControlMap MapControls(const double* mirror);

private:
  void DefineParameters();

  // Per-block work: smoother coefficients, control mappings, designs and the
  // input/output link. Returns what the per-sample chain needs.
  BlockSettings PrepareBlock();
  void RunChain(const BlockSettings& block, double** inputs, double** outputs, int nFrames);
  // The host feeds a mono bus: only the left output reaches it.
  bool MonoBus();
  bool SwitchOn(int paramIdx) const;

  double mMirror[kNumMirrored] = {};  // parameters 0..13, written only by ParameterChanged
  ChannelSections mLeft, mRight;
  EngineSmoothers mSmoothers;

  IPlugInstanceInfo mInstanceInfo;  // the editor reaches the module's pictures through it
};
