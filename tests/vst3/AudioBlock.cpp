#include "tests/vst3/AudioBlock.h"

using namespace Steinberg::Vst;

AudioBlock::AudioBlock(int channelCount, int frameCount, bool sixtyFour)
: channels(channelCount), frames(frameCount), is64(sixtyFour)
{
  const size_t c = static_cast<size_t>(channels), n = static_cast<size_t>(frames);
  in32.assign(c, std::vector<float>(n));
  out32.assign(c, std::vector<float>(n, static_cast<float>(kMarker)));
  in64.assign(c, std::vector<double>(n));
  out64.assign(c, std::vector<double>(n, kMarker));
  for (size_t ch = 0; ch < c; ++ch)
  {
    for (size_t i = 0; i < n; ++i)
    {
      // Exact in float: small multiples of 1/1024.
      const double v = static_cast<double>((i % 200) + 1 + 300 * ch) / 1024.0;
      in32[ch][i] = static_cast<float>(v);
      in64[ch][i] = v;
    }
    inPointers.push_back(is64 ? static_cast<void*>(in64[ch].data()) : in32[ch].data());
    outPointers.push_back(is64 ? static_cast<void*>(out64[ch].data()) : out32[ch].data());
  }
  inBus.numChannels = channels;
  inBus.channelBuffers32 = reinterpret_cast<Sample32**>(inPointers.data());
  outBus.numChannels = channels;
  outBus.channelBuffers32 = reinterpret_cast<Sample32**>(outPointers.data());
  data.processMode = kRealtime;
  data.symbolicSampleSize = is64 ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
}

double AudioBlock::input(int channel, int frame) const
{
  return is64 ? in64[static_cast<size_t>(channel)][static_cast<size_t>(frame)]
              : in32[static_cast<size_t>(channel)][static_cast<size_t>(frame)];
}

double AudioBlock::output(int channel, int frame) const
{
  return is64 ? out64[static_cast<size_t>(channel)][static_cast<size_t>(frame)]
              : out32[static_cast<size_t>(channel)][static_cast<size_t>(frame)];
}
