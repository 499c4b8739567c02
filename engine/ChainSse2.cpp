// The chain's kernels in SSE2, which every 64-bit x86 CPU runs: the mid bells
// of both channels as two lane pairs, the colour stage two registers of two
// samples at a time.
#include "engine/ChainPipeline.h"
#include "engine/simd/Twice.h"

namespace
{
struct Sse2Kernel
{
  struct Mids
  {
    StereoBell lowMid, highMid;

    void load(const ChannelSections& l, const ChannelSections& r)
    {
      lowMid.load(l.lowMid, r.lowMid);
      highMid.load(l.highMid, r.highMid);
    }
    void store(ChannelSections& l, ChannelSections& r) const
    {
      lowMid.store(l.lowMid, r.lowMid);
      highMid.store(l.highMid, r.highMid);
    }

    template <bool kChecked, int F>
    __attribute__((always_inline)) void process(const Double2 (&in)[F], Double2 (&between)[F], Double2 (&out)[F], bool lowOn,
                 bool highOn)
    {
      if (highOn)
        for (int i = 0; i < F; ++i) out[i] = highMid.process(between[i]);
      if (lowOn)
        for (int i = 0; i < F; ++i) between[i] = lowMid.process(in[i]);
    }
  };

  template <int N>
  __attribute__((always_inline)) static void Colour(double* samples)
  {
    int i = 0;
    for (; i + 4 <= N; i += 4)
      colour::Colour(Twice<Double2>::Load(samples + i)).Store(samples + i);
    for (; i + 2 <= N; i += 2) colour::Colour(Double2::Load(samples + i)).Store(samples + i);
    if (i < N) samples[i] = colour::Colour(Double2::Lanes(samples[i], 0.0)).Left();
  }
};
}  // namespace

void RunStereoChainSse2(const ChainRun& run)
{
  chain::Run<chain::StereoPipeline, Sse2Kernel, 4>(run);
}

void RunMonoChainSse2(const ChainRun& run) { chain::Run<chain::MonoPipeline, Sse2Kernel, 4>(run); }
