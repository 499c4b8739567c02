// Decoding a picture the size of the editor background (1162 x 274, 8-bit RGBA)
// from memory, as the editor does from its resources.

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "tests/raster/png_test_writer.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// Smooth gradients with a little grain, like rendered panel artwork: neither
// trivially compressible nor noise.
pngtest::Bytes BackgroundPng()
{
  uint32_t seed = 12345;
  return pngtest::EncodePng(pngtest::RgbaImage(1162, 274, [&seed](int x, int y) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t grain = (seed >> 28) & 3;
    const uint32_t r = (40 + x * 120 / 1162 + grain) & 0xFF;
    const uint32_t g = (45 + y * 100 / 274 + grain) & 0xFF;
    const uint32_t b = (50 + (x + y) * 60 / 1436) & 0xFF;
    const uint32_t a = (x < 8 || y < 8) ? uint32_t(x < y ? x : y) * 32 : 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
  }));
}

void BM_DecodeRgbaPng1162x274(benchmark::State& state)
{
  const pngtest::Bytes png = BackgroundPng();
  for (auto _ : state) {
    LICE_MemBitmap* bitmap = LICE_ReadPNGMemory(png.data(), int(png.size()));
    benchmark::DoNotOptimize(bitmap);
    delete bitmap;
  }
  const double pixels = 1162.0 * 274.0;
  state.counters["Mpixel/s"] =
      benchmark::Counter(pixels * 1e-6 * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["png_bytes"] = double(png.size());
}
BENCHMARK(BM_DecodeRgbaPng1162x274)->Unit(benchmark::kMillisecond);

}  // namespace
