#include "tools/host/Render.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

PluginInstance::Setup RenderSetup(const AudioData& in, const RenderOptions& options)
{
  PluginInstance::Setup setup;
  setup.sampleRate = in.sampleRate;
  setup.maxBlock = options.blockSize;
  setup.sampleSize = options.precision == 64 ? kSample64 : kSample32;
  setup.channels = in.channelCount();
  return setup;
}

bool Render(PluginInstance& plugin, const AudioData& in, AudioData& out,
            const RenderOptions& options, std::string& error)
{
  if (options.blockSize < 1)
  {
    error = "block size must be at least 1";
    return false;
  }
  if (!plugin.prepare(RenderSetup(in, options), error))
    return false;
  const bool done = RenderPrepared(plugin, in, out, options, error);
  plugin.unprepare();
  return done;
}

bool RenderPrepared(PluginInstance& plugin, const AudioData& in, AudioData& out,
                    const RenderOptions& options, std::string& error)
{
  const int channels = in.channelCount();
  const size_t frames = in.frames();
  const size_t block = static_cast<size_t>(options.blockSize);
  out.sampleRate = in.sampleRate;
  // A caller may hand in the output already sized, to keep allocation out of timing.
  if (out.channelCount() != channels || out.frames() != frames)
    out.channels.assign(static_cast<size_t>(channels), std::vector<double>(frames));

  ParameterChanges first;
  for (const ParamSetting& s : options.settings)
  {
    first.add(s.id, s.normalized);
    plugin.informController(s.id, s.normalized);
  }

  // The host's own buffers: the plug-in may not touch the source audio.
  std::vector<std::vector<float>> in32(static_cast<size_t>(channels), std::vector<float>(block));
  std::vector<std::vector<float>> out32(static_cast<size_t>(channels), std::vector<float>(block));
  std::vector<std::vector<double>> in64(static_cast<size_t>(channels), std::vector<double>(block));
  std::vector<float*> inPtr32(static_cast<size_t>(channels)), outPtr32(static_cast<size_t>(channels));
  std::vector<double*> inPtr64(static_cast<size_t>(channels)), outPtr64(static_cast<size_t>(channels));

  const size_t blocks = frames == 0 ? 1 : (frames + block - 1) / block;
  size_t pos = 0;
  do
  {
    const size_t n = std::min(block, frames - pos);
    ParameterChanges* changes = pos == 0 ? &first : nullptr;
    ParameterChanges swept;
    if (!options.sweeps.empty())
    {
      const double at = blocks > 1 ? static_cast<double>(pos / block) / (blocks - 1) : 0.0;
      if (pos == 0)
        for (const ParamSetting& s : options.settings) swept.add(s.id, s.normalized);
      for (const ParamSweep& s : options.sweeps)
        swept.add(s.id, s.from + (s.to - s.from) * at);
      changes = &swept;
    }
    bool ok;
    if (options.precision == 64)
    {
      for (size_t c = 0; c < static_cast<size_t>(channels); ++c)
      {
        std::copy_n(in.channels[c].begin() + static_cast<std::ptrdiff_t>(pos), n, in64[c].begin());
        inPtr64[c] = in64[c].data();
        outPtr64[c] = out.channels[c].data() + pos;
      }
      ok = plugin.process64(inPtr64.data(), outPtr64.data(), static_cast<int>(n), changes);
    }
    else
    {
      for (size_t c = 0; c < static_cast<size_t>(channels); ++c)
      {
        for (size_t i = 0; i < n; ++i)
          in32[c][i] = static_cast<float>(in.channels[c][pos + i]);
        inPtr32[c] = in32[c].data();
        outPtr32[c] = out32[c].data();
      }
      ok = plugin.process32(inPtr32.data(), outPtr32.data(), static_cast<int>(n), changes);
      for (size_t c = 0; c < static_cast<size_t>(channels); ++c)
        for (size_t i = 0; i < n; ++i)
          out.channels[c][pos + i] = out32[c][i];
    }
    if (!ok)
    {
      error = "the plug-in's process call failed at frame " + std::to_string(pos);
      return false;
    }
    pos += n;
  } while (pos < frames);
  return true;
}

}  // namespace host
