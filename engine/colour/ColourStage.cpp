#include "engine/colour/ColourStage.h"

#include "engine/colour/ColourKernels.h"
#include "engine/colour/ColourMath.h"
#include "engine/simd/Double2.h"
#include "engine/simd/Twice.h"

void ColourSamplesSse2(double* samples, int count)
{
  // Four at a time: two registers' chains interleaved.
  int i = 0;
  for (; i + Twice<Double2>::kLanes <= count; i += Twice<Double2>::kLanes)
    colour::Colour(Twice<Double2>::Load(samples + i)).Store(samples + i);
  for (; i + Double2::kLanes <= count; i += Double2::kLanes)
    colour::Colour(Double2::Load(samples + i)).Store(samples + i);
  if (i < count) samples[i] = colour::Colour(Double2::Lanes(samples[i], 0.0)).Left();
}

bool CpuHasAvx2()
{
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

namespace
{
using Kernel = void (*)(double*, int);
const Kernel kColourKernel = CpuHasAvx2() ? ColourSamplesAvx2 : ColourSamplesSse2;
}  // namespace

void ColourSamples(double* samples, int count) { kColourKernel(samples, count); }
