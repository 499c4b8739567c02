// The chain's kernels in AVX2 (without FMA, so every lane rounds as the SSE2
// kernels do), reached only after the CPU check: the low-mid and high-mid
// bells of both channels in one register, the colour stage two registers of
// four samples at a time: a group is four stereo frames or eight mono ones.
#include "engine/ChainPipeline.h"
#include "engine/colour/ColourKernels.h"
#include "engine/sections/QuadBell.h"
#include "engine/simd/Double4.h"
#include "engine/simd/Twice.h"

namespace
{
struct Avx2Kernel
{
  // Lanes: left and right low-mid, then left and right high-mid.
  struct Mids
  {
    QuadBell lanes;

    void load(const ChannelSections& l, const ChannelSections& r)
    {
      const ConsoleBell* const sections[4] = {&l.lowMid, &r.lowMid, &l.highMid, &r.highMid};
      lanes.load(sections);
    }
    void store(ChannelSections& l, ChannelSections& r) const
    {
      ConsoleBell* const sections[4] = {&l.lowMid, &r.lowMid, &l.highMid, &r.highMid};
      lanes.store(sections);
    }

    template <bool kChecked, int F>
    __attribute__((always_inline)) void process(const Double2 (&in)[F], Double2 (&between)[F], Double2 (&out)[F], bool lowOn,
                 bool highOn)
    {
      const Double4 mask = Double4::Halves(Double2::Both(lowOn ? 1.0 : 0.0),
                                           Double2::Both(highOn ? 1.0 : 0.0)) > Double4::Both(0.5);
      for (int i = 0; i < F; ++i)
      {
        const Double4 x = Double4::Halves(in[i], between[i]);
        const Double4 y =
          kChecked && !(lowOn && highOn) ? chain::ProcessWhere(lanes, x, mask) : lanes.process(x);
        between[i] = y.Low();
        out[i] = y.High();
      }
    }
  };

  template <int N>
  __attribute__((always_inline)) static void Colour(double* samples)
  {
    if constexpr (N % 8 == 0)
      for (int i = 0; i < N; i += 8)
        colour::Colour(Twice<Double4>::Load(samples + i)).Store(samples + i);
    else if constexpr (N % 4 == 0)
      for (int i = 0; i < N; i += 4) colour::Colour(Double4::Load(samples + i)).Store(samples + i);
    else
      ColourSamplesSse2(samples, N);
  }
};
}  // namespace

void RunStereoChainAvx2(const ChainRun& run)
{
  chain::Run<chain::StereoPipeline, Avx2Kernel, 4>(run);
}

void RunMonoChainAvx2(const ChainRun& run) { chain::Run<chain::MonoPipeline, Avx2Kernel, 8>(run); }
