// Compiled for AVX2 (without FMA, so every lane rounds as the SSE2 path
// does); reached only after the CPU check in ColourStage.cpp.
#include "engine/colour/ColourKernels.h"
#include "engine/colour/ColourMath.h"
#include "engine/simd/Double4.h"
#include "engine/simd/Twice.h"

void ColourSamplesAvx2(double* samples, int count)
{
  // Eight at a time: two registers' chains interleaved.
  int i = 0;
  for (; i + Twice<Double4>::kLanes <= count; i += Twice<Double4>::kLanes)
    colour::Colour(Twice<Double4>::Load(samples + i)).Store(samples + i);
  for (; i + Double4::kLanes <= count; i += Double4::kLanes)
    colour::Colour(Double4::Load(samples + i)).Store(samples + i);
  if (i < count) ColourSamplesSse2(samples + i, count - i);
}
