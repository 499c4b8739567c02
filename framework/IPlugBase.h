#pragma once

#include "framework/HostCodes.h"
#include "framework/IBypassDelay.h"
#include "framework/IHostTransport.h"
#include "framework/IParamEntry.h"
#include "framework/IPlugChannels.h"
#include "framework/IPlugConfig.h"
#include "framework/IPresetEntry.h"
#include "framework/IStateChunk.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class IGraphics;

// The interface-neutral core of a plug-in: parameters, presets, channel
// configuration with per-channel scratch buffers, serialized state, identity,
// host identification, the editor's graphics context and the plug-in lock.
//
// The plug-in is called through the overridables (ResetProcessing,
// ParameterChanged, ProcessDoubles, notifications); the host is reached through
// the host operations (BeginParamEdit, ..., ResizeEditor), which the API
// adapter implements. Their default bodies let a plug-in run without a host.
class IPlugBase
{
public:
  // The plug-in lock is re-entrant: ParameterChanged runs under it while
  // state restore or host processing already holds it. Hold it with
  //   IPlugBase::Guard guard(plug.GetMutex());
  using Mutex = std::recursive_mutex;
  using Guard = std::lock_guard<std::recursive_mutex>;

  static constexpr int kNameSize = 128;

  explicit IPlugBase(const IPlugConfig& config);
  virtual ~IPlugBase();

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // --- Overridables of the plug-in ---
  virtual void ResetProcessing();
  virtual void ParameterChanged(int paramIdx);
  virtual void ProcessDoubles(double** inputs, double** outputs, int frames);
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  virtual void ActivationChanged(bool active);
  virtual bool SerializeParams(IStateChunk& chunk);
  // Restores every parameter from chunk at pos; returns the position after the
  // last value read, or -1 when the data ran out.
  virtual int UnserializeParams(const IStateChunk& chunk, int pos);
  virtual void EditorResized() {}
  virtual void HostIdentified() {}
  virtual void ShowHostParamMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}
  virtual void SetParamFromEditor(int paramIdx, double normalized);

  // --- Host operations, implemented by the API adapter ---
  virtual void BeginParamEdit(int /*paramIdx*/) {}
  virtual void ReportParamEdit(int /*paramIdx*/, double /*normalized*/) {}
  virtual void EndParamEdit(int /*paramIdx*/) {}
  virtual bool RendersOffline() { return false; }
  virtual int HostSamplePosition() { return 0; }
  virtual double HostTempo() { return 0.0; }
  virtual void HostTimeSignature(int* numerator, int* denominator);
  virtual void HostTransport(IHostTransport* transport);
  virtual int HostCode() const { return mHostCode; }
  virtual int ApiCode() const { return mApiCode; }
  virtual void ResizeEditor(int /*width*/, int /*height*/) {}

  // --- Editor, latency, presets, block size ---
  // Takes ownership of the graphics context and pushes every value into it.
  virtual void AttachEditor(IGraphics* graphics);
  virtual void SetLatency(int samples);
  // Hands every parameter's value to the editor's controls.
  virtual void RefreshEditorControls();
  virtual void PresetsChanged() {}
  // Sizes every channel's scratch to frames zeroed doubles.
  virtual void SetBlockSize(int frames);

  // --- Presets ---
  bool RestorePreset(int index);
  void CaptureDefaultPreset();
  int NPresets() const { return static_cast<int>(mPresets.size()); }
  IPresetEntry* GetPreset(int index);
  int CurrentPresetIndex() const { return mCurrentPresetIdx; }

  // --- Host identity ---
  // Recognises the host by name, stores its code (version 0) and returns it.
  int IdentifyHost(const char* name);
  int HostVersion() const { return mHostVersion; }

  // --- Channels ---
  bool LegalIO(int nIn, int nOut) const;
  int NChannelIO() const { return static_cast<int>(mChannelIO.size()); }
  IChannelIO GetChannelIO(int i) const;
  int NInChannels() const { return static_cast<int>(mInChannels.size()); }
  int NOutChannels() const { return static_cast<int>(mOutChannels.size()); }
  IInputChannel* InChannel(int i);
  IOutputChannel* OutChannel(int i);
  double** InputPointers() { return mInputPtrs.data(); }
  double** OutputPointers() { return mOutputPtrs.data(); }
  // Marks every channel not connected and points it at its scratch buffer.
  void DisconnectChannels();
  void SetInputBusLabel(int bus, const char* label);
  void SetOutputBusLabel(int bus, const char* label);
  const char* InputBusLabel(int bus) const;
  const char* OutputBusLabel(int bus) const;

  // --- Bypass ---
  // The host sets and reads the bypass from its user-interface thread while
  // the audio thread reads it, hence atomic.
  bool IsBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
  void SetBypassed(bool bypassed) { mBypassed.store(bypassed, std::memory_order_relaxed); }
  // The host-bypass pass-through: the latency delay line, or a plain copy.
  void ProcessBypassed(double** inputs, double** outputs, int frames);

  // --- Parameters ---
  int NParams() const { return static_cast<int>(mParams.size()); }
  IParamEntry* GetParam(int index);
  const IParamEntry* GetParam(int index) const;
  // Unit id of a parameter group: 0 for none, else 1-based in order of first use.
  int AddParamGroup(const char* group);
  int NParamGroups() const { return static_cast<int>(mParamGroups.size()); }
  const char* ParamGroup(int i) const;

  // --- Identity and timing ---
  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* MfrName() const { return mMfrName; }
  int32_t UniqueID() const { return mUniqueID; }
  int32_t MfrID() const { return mMfrID; }
  int32_t VendorVersion() const { return mVendorVersion; }
  double SampleRate() const { return mSampleRate; }
  void SetSampleRate(double rate) { mSampleRate = rate; }
  int BlockSize() const { return mBlockSize; }
  int Latency() const { return mLatency; }
  uint32_t TailSize() const { return mTailSize; }
  IGraphics* GetGraphics() const { return mGraphics; }

  Mutex& GetMutex() const { return mMutex; }

private:
  void DeleteEditor();

  std::vector<IChannelIO> mChannelIO;
  mutable Mutex mMutex;
  char mEffectName[kNameSize] = {};
  char mProductName[kNameSize] = {};
  char mMfrName[kNameSize] = {};
  int32_t mUniqueID = 0;
  int32_t mMfrID = 0;
  int32_t mVendorVersion = 0;
  int mApiCode = kApiNone;
  int mHostCode = kHostUninit;
  int mHostVersion = 0;
  std::atomic<bool> mBypassed{false};
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency = 0;
  uint32_t mTailSize = 0;
  std::unique_ptr<IBypassDelay> mBypassDelay;
  std::vector<std::string> mParamGroups;
  IGraphics* mGraphics = nullptr;  // owned; released first on destruction
  std::vector<IParamEntry> mParams;
  std::vector<IPresetEntry> mPresets;
  std::vector<double*> mInputPtrs;
  std::vector<double*> mOutputPtrs;
  std::vector<IInputChannel> mInChannels;
  std::vector<IOutputChannel> mOutChannels;
  std::vector<std::string> mInputBusLabels;
  std::vector<std::string> mOutputBusLabels;
};
