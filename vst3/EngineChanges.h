#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

class IPlugBase;

// Parameters the plug-in moves by itself while it processes (the I/O link
// moving "Output", say), held until a block can tell the host. A host only
// learns of such a change through the block's output parameter changes;
// without them its panel, automation and control surfaces show a value the
// audio is not using.
class EngineChanges
{
public:
  // Sized once for the plug-in's parameters, outside the audio path.
  explicit EngineChanges(int paramCount);

  // Before the engine runs, after the host's changes are applied.
  void Capture(const IPlugBase& plug);
  // After it ran: every parameter whose value it changed waits for the host.
  void Collect(const IPlugBase& plug);
  // The host has just set the parameter itself: nothing of ours is waiting.
  void Forget(int index);
  void ForgetAll();

  // Adds each waiting parameter's normalized value as a point at the start
  // of the block; what the host cannot take keeps waiting. out may be null.
  void Report(const IPlugBase& plug, Steinberg::Vst::IParameterChanges* out);

private:
  std::vector<double> mBefore;
  std::vector<char> mWaiting;
};
