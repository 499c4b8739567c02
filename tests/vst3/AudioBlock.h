#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <vector>

// Host-side buffers and the ProcessData for one block on one input and one
// output bus, in 32-bit or 64-bit samples. Inputs start as a ramp, outputs
// as a marker value the plug-in must overwrite (or leave alone).
struct AudioBlock
{
  static constexpr double kMarker = -123.0;

  AudioBlock(int channels, int frames, bool is64);

  double input(int channel, int frame) const;
  double output(int channel, int frame) const;

  int channels;
  int frames;
  bool is64;
  std::vector<std::vector<float>> in32, out32;
  std::vector<std::vector<double>> in64, out64;
  std::vector<void*> inPointers, outPointers;
  Steinberg::Vst::AudioBusBuffers inBus, outBus;
  Steinberg::Vst::ProcessData data;
};
