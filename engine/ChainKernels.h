#pragma once

#include "engine/EngineState.h"

// One block's per-sample chain: the block's settings, the sections and gain
// smoothers it runs on, and the channels. The kernels below give the same
// bits; RunChain picks the widest this CPU runs.
struct ChainRun
{
  const BlockSettings* block;
  ChannelSections* left;
  ChannelSections* right;
  EngineSmoothers* smoothers;
  double* const* inputs;
  double* const* outputs;
  int frames;
};

// Both channels, one SIMD lane each.
void RunStereoChainSse2(const ChainRun& run);
// Only on CPUs with AVX2: the two mid bells of both channels in one register.
void RunStereoChainAvx2(const ChainRun& run);
// The left channel alone, for a mono bus: the right one is neither read,
// run nor written.
void RunMonoChainSse2(const ChainRun& run);
void RunMonoChainAvx2(const ChainRun& run);
