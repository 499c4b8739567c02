// Compositing a full editor-sized picture (1162 x 274) onto a same-size surface
// in the modes the editor draws with, in megapixels per second.
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_SysBitmap.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr int kWidth = 1162;
constexpr int kHeight = 274;

// Pixels with a picture-like mix of alpha: a third transparent, a third opaque,
// a third anti-aliased edges; or all opaque like the background picture.
void FillPicture(LICE_IBitmap& bitmap, bool opaque)
{
  uint32_t state = 12345;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      state = state * 1664525u + 1013904223u;
      uint32_t alpha = 255;
      if (!opaque) {
        const uint32_t kind = (state >> 8) % 3;
        alpha = kind == 0 ? 0 : kind == 1 ? 255 : 1 + (state >> 24) % 254;
      }
      bitmap.Pixels()[y * bitmap.RowSpan() + x] = (state & 0x00FFFFFF) | (alpha << 24);
    }
  }
}

void RunComposite(benchmark::State& state, int mode, bool opaque)
{
  LICE_MemBitmap picture(kWidth, kHeight);
  LICE_SysBitmap surface(kWidth, kHeight);
  FillPicture(picture, opaque);
  FillPicture(surface, true);
  for (auto _ : state) {
    LICE_Composite(&surface, &picture, 0, 0, nullptr, 1.0f, mode);
    benchmark::DoNotOptimize(surface.Pixels());
    benchmark::ClobberMemory();
  }
  state.counters["Mpixel/s"] = benchmark::Counter(
      double(state.iterations()) * kWidth * kHeight / 1e6, benchmark::Counter::kIsRate);
}

void BM_SourceAlphaCopy_MixedAlpha(benchmark::State& state)
{
  RunComposite(state, CompositeUseSourceAlpha | CompositeCopy, false);
}
void BM_SourceAlphaCopy_Opaque(benchmark::State& state)
{
  RunComposite(state, CompositeUseSourceAlpha | CompositeCopy, true);
}
void BM_Copy(benchmark::State& state) { RunComposite(state, CompositeCopy, false); }
void BM_SourceAlphaAdd(benchmark::State& state)
{
  RunComposite(state, CompositeUseSourceAlpha | CompositeAdd, false);
}
void BM_Add(benchmark::State& state) { RunComposite(state, CompositeAdd, false); }

BENCHMARK(BM_SourceAlphaCopy_MixedAlpha)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SourceAlphaCopy_Opaque)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SourceAlphaAdd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Add)->Unit(benchmark::kMicrosecond);

}  // namespace
