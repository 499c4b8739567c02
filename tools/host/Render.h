#pragma once

#include "tools/host/PluginInstance.h"
#include "tools/host/Wav.h"

#include <string>
#include <vector>

namespace host {

// A host-side parameter change: the parameter and its normalized value.
struct ParamSetting
{
  Steinberg::Vst::ParamID id;
  double normalized;
};

// A parameter an automation lane moves in a straight line (in normalized
// terms) from its value in the first block to its value in the last, one
// change per block.
struct ParamSweep
{
  Steinberg::Vst::ParamID id;
  double from, to;  // normalized
};

struct RenderOptions
{
  int blockSize = 512;
  int precision = 32;  // sample size the host uses: 32 or 64 bits
  std::vector<ParamSetting> settings;  // delivered with the first block
  std::vector<ParamSweep> sweeps;      // delivered with every block
};

// The processing set-up a host uses for a file: its rate and channels, the
// options' block size and sample size.
PluginInstance::Setup RenderSetup(const AudioData& in, const RenderOptions& options);

// Streams the audio through the plug-in block by block, as a host plays a
// track: prepare for the file's rate and channels, deliver the settings with
// the first block, process, stop. out gets as many frames as in.
bool Render(PluginInstance& plugin, const AudioData& in, AudioData& out,
            const RenderOptions& options, std::string& error);

// Renders into a caller-prepared instance: prepare() has been called with
// the file's channel count and sample size; nothing is stopped afterwards.
bool RenderPrepared(PluginInstance& plugin, const AudioData& in, AudioData& out,
                    const RenderOptions& options, std::string& error);

}  // namespace host
