// Every chain kernel against the plain per-sample loop, bit for bit: outputs,
// section states and smoothers, for stereo and mono, 32- and 64-bit sample
// values, block sizes 1, 7, 64 and 4096, every switch combination, and random
// designs, gains and input that change every block, settled gains and a
// low-pass at rest among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ChainKernels.h"
#include "engine/colour/ColourKernels.h"
#include "engine/colour/ColourMath.h"
#include "engine/simd/Double2.h"

namespace
{
double Single(double x) { return static_cast<float>(x); }
double Colour(double h) { return colour::Colour(Double2::Both(h)).Left(); }

// The chain written out per sample with the scalar sections, left then right.
void PlainChain(const BlockSettings& b, ChannelSections* ch, EngineSmoothers& s, double* const* in,
                double* const* out, int n, bool mono)
{
  for (int i = 0; i < n; ++i)
  {
    double x[2];
    for (int k = 0; k < 2; ++k)
    {
      const double g = s.inputGain.step(b.inputTarget);
      const double v = std::fabs(in[k][i]) <= 1e30 ? in[k][i] : 0.0;
      x[k] = Colour(Single(ch[k].highpass.process(Single((v + 1e-10) * g))));
    }
    for (int k = 0; k < (mono ? 1 : 2); ++k)
    {
      if (b.filtersIn) x[k] = double(ch[k].lowpass.process(float(x[k]))) * b.lowpassMakeup;
      ch[k].lowpass.process(0.0f);
      x[k] = b.lowBell ? ch[k].lowBell.process(x[k]) : Single(ch[k].lowShelf.process(Single(x[k])));
      x[k] = ch[k].highMid.process(ch[k].lowMid.process(x[k]));
      x[k] =
        b.highBell ? ch[k].highBell.process(x[k]) : Single(ch[k].highShelf.process(Single(x[k])));
    }
    for (int k = 0; k < 2; ++k)
    {
      const double y = b.eqOn ? (x[k] - 1e-10) * s.outputGain.step(b.outputTarget) : in[k][i];
      if (k == 0 || !mono) out[k][i] = y;
    }
  }
}

struct Random
{
  uint32_t seed;
  double Unit()
  {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0;
  }
  double In(double lo, double hi) { return lo + (hi - lo) * Unit(); }
};

// New designs for every section of a channel, kept inside the ranges the
// engine designs in.
void Redesign(ChannelSections& c, Random& r, double fs)
{
  c.highpass.design(CookbookBiquad::kHighpass, r.In(0.5, 350) / fs, r.In(0.1, 0.707), 0.0);
  c.lowShelf.design(CookbookBiquad::kLowShelf, r.In(7.5, 66) / fs, 0.13, r.In(-16, 16));
  c.highShelf.design(CookbookBiquad::kHighShelf, r.In(8000, 19900) / fs, 0.13, r.In(-16, 16));
  for (ConsoleBell* bell : {&c.lowMid, &c.highMid, &c.lowBell, &c.highBell})
  {
    bell->sampleRate = fs;
    bell->design(r.In(-16, 16), r.In(25, 12000), r.In(0.25, 1.46));
  }
  c.lowpass.design(static_cast<float>(r.In(500, 11025)), 0.707f, static_cast<float>(fs));
}

// Steps the smoother until two steps bring it back to where it was.
void Settle(ParameterSmoother& s, double target)
{
  for (;;)
  {
    const double before = s.state;
    s.step(target);
    s.step(target);
    if (s.state == before) return;
  }
}

bool SameBits(const void* a, const void* b, size_t bytes) { return std::memcmp(a, b, bytes) == 0; }

// The state a run leaves: every field of each section the chain steps.
std::vector<double> StateOf(const ChannelSections& c)
{
  std::vector<double> v;
  for (const CookbookBiquad* q : {&c.highpass, &c.lowShelf, &c.highShelf})
    v.insert(v.end(), {q->z1, q->z2});
  for (const ConsoleBell* q : {&c.lowMid, &c.highMid, &c.lowBell, &c.highBell})
    v.insert(v.end(), {q->x1, q->x2, q->y1, q->y2});
  v.insert(v.end(), {c.lowpass.x1, c.lowpass.x2, c.lowpass.y1, c.lowpass.y2});
  return v;
}

struct Kernel
{
  const char* name;
  void (*run)(const ChainRun&);
  bool mono;
  bool avx2;
};

struct Case
{
  Kernel kernel;
  int block;
};

class ChainKernel : public ::testing::TestWithParam<Case>
{
};
}  // namespace

TEST_P(ChainKernel, IsThePlainLoopBitForBitForEverySwitchCombination)
{
  const Case c = GetParam();
  if (c.kernel.avx2 && !CpuHasAvx2()) GTEST_SKIP() << "this CPU has no AVX2";
  const double fs = 48000.0;
  const int blocks = c.block >= 4096 ? 2 : 5;
  for (int precision : {32, 64})
    for (int switches = 0; switches < 16; ++switches)
    {
      Random r{static_cast<uint32_t>(1 + switches + 16 * precision + c.block)};
      ChannelSections plain[2], kernel[2];
      EngineSmoothers plainGains, kernelGains;
      for (ChannelSections* set : {plain, kernel})
        for (int k = 0; k < 2; ++k)
        {
          set[k].highpass.type = CookbookBiquad::kHighpass;
          set[k].lowShelf.type = CookbookBiquad::kLowShelf;
          set[k].highShelf.type = CookbookBiquad::kHighShelf;
        }
      std::vector<double> in[2], want[2], got[2];
      for (int blk = 0; blk < blocks; ++blk)
      {
        const std::string where = std::string(c.kernel.name) + ", " + std::to_string(precision) +
                                  "-bit, switches " + std::to_string(switches) + ", block " +
                                  std::to_string(blk);
        BlockSettings b;
        b.eqOn = (switches & 8) != 0 || blk == 0;
        b.filtersIn = (switches & 4) != 0;
        b.lowBell = (switches & 2) != 0;
        b.highBell = (switches & 1) != 0;
        b.inputTarget = std::pow(10.0, r.In(-24, 24) / 20);
        b.outputTarget = std::pow(10.0, r.In(-24, 24) / 20);
        b.lowpassMakeup = std::pow(10.0, r.In(4.2, 6.2) / 20);
        for (int k = 0; k < 2; ++k)
        {
          Random designs = r;
          Redesign(plain[k], designs, fs);
          designs = r;
          Redesign(kernel[k], designs, fs);
          r = designs;
        }
        if (blk == 0)
          for (EngineSmoothers* g : {&plainGains, &kernelGains})
          {
            g->inputGain.setCutoff(10, fs);
            g->outputGain.setCutoff(10, fs);
          }
        if (blk == 2)
        {
          // Settled gains and a low-pass at rest, which the kernels work out
          // once per block instead of per sample.
          for (EngineSmoothers* g : {&plainGains, &kernelGains})
          {
            Settle(g->inputGain, b.inputTarget);
            Settle(g->outputGain, b.outputTarget);
          }
          for (int k = 0; k < 2; ++k)
          {
            plain[k].lowpass.clear();
            kernel[k].lowpass.clear();
          }
        }
        for (int k = 0; k < 2; ++k)
        {
          in[k].resize(c.block);
          for (double& v : in[k])
          {
            const double u = r.In(-1.5, 1.5);
            v = r.Unit() < 0.01 ? u * 1e31 : r.Unit() < 0.02 ? u * 1e-39 : u;
            if (precision == 32) v = static_cast<float>(v);
          }
          want[k].assign(c.block, 7.0);
          got[k].assign(c.block, 7.0);
        }
        double* ins[2] = {in[0].data(), in[1].data()};
        double* wants[2] = {want[0].data(), want[1].data()};
        double* gots[2] = {got[0].data(), got[1].data()};
        PlainChain(b, plain, plainGains, ins, wants, c.block, c.kernel.mono);
        c.kernel.run({&b, &kernel[0], &kernel[1], &kernelGains, ins, gots, c.block});

        for (int k = 0; k < (c.kernel.mono ? 1 : 2); ++k)
          for (int i = 0; i < c.block; ++i)
            ASSERT_TRUE(SameBits(&got[k][i], &want[k][i], sizeof(double)))
              << where << ", channel " << k << ", frame " << i << ": " << got[k][i]
              << " against " << want[k][i];
        for (int k = 0; k < (c.kernel.mono ? 1 : 2); ++k)
          ASSERT_EQ(StateOf(kernel[k]), StateOf(plain[k])) << where << ", channel " << k;
        if (c.kernel.mono)
        {
          ASSERT_TRUE(std::all_of(got[1].begin(), got[1].end(), [](double v) { return v == 7.0; }))
            << where << ": a mono run wrote the right channel";
        }
        ASSERT_TRUE(SameBits(&kernelGains.inputGain.state, &plainGains.inputGain.state, 8)) << where;
        ASSERT_TRUE(SameBits(&kernelGains.outputGain.state, &plainGains.outputGain.state, 8))
          << where;
      }
    }
}

INSTANTIATE_TEST_SUITE_P(
  KernelsAndBlockSizes, ChainKernel,
  ::testing::ValuesIn([] {
    const Kernel kernels[] = {{"StereoSse2", RunStereoChainSse2, false, false},
                              {"StereoAvx2", RunStereoChainAvx2, false, true},
                              {"MonoSse2", RunMonoChainSse2, true, false},
                              {"MonoAvx2", RunMonoChainAvx2, true, true}};
    std::vector<Case> cases;
    for (const Kernel& k : kernels)
      for (int block : {1, 7, 64, 4096}) cases.push_back({k, block});
    return cases;
  }()),
  [](const ::testing::TestParamInfo<Case>& info) {
    return std::string(info.param.kernel.name) + "Block" + std::to_string(info.param.block);
  });
