// The stereo sections against the scalar ones they stand for: each lane must
// give its channel's scalar section the very same bits, sample after sample,
// and hand back a state from which the scalar section runs on unchanged.
#include "engine/sections/StereoSections.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
uint64_t Bits(double x)
{
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

uint64_t Bits(float x)
{
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

Double2 LanesOf(double l, double r) { return Double2::Lanes(l, r); }
Float2 LanesOf(float l, float r) { return Float2::Lanes(l, r); }

// Ordinary audio, loud samples, values around the smallest normal float,
// and zeros of both signs, in a fixed pseudo-random order.
template <class Sample>
std::vector<Sample> Inputs(uint32_t seed)
{
  auto next = [&seed]
  {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0 * 2.0 - 1.0;
  };
  std::vector<Sample> in;
  for (int i = 0; i < 3000; ++i)
  {
    const double u = next();
    switch (i / 500)
    {
      case 0: in.push_back(static_cast<Sample>(u)); break;
      case 1: in.push_back(static_cast<Sample>(1e4 * u)); break;
      case 2:  // impulses that decay through the smallest normal float, and that float itself
        in.push_back(static_cast<Sample>(i % 50 == 0    ? 3e-37 * u
                                         : i % 50 == 25 ? FLT_MIN * (u < 0 ? -1 : 1)
                                                        : 0.0));
        break;
      case 3: in.push_back(static_cast<Sample>(i % 2 ? 0.0 : -0.0)); break;
      default: in.push_back(static_cast<Sample>(u * (i % 7 == 0 ? 1e-30 : 1.0))); break;
    }
  }
  return in;
}

// Runs left and right through their scalar sections and through the stereo
// section loaded from copies of them, then checks that the stored state
// carries the scalar sections on exactly as if they had run themselves.
template <class Stereo, class Scalar>
void ExpectLanesMatchScalar(Scalar left, Scalar right)
{
  using Sample = decltype(left.process(0));
  const std::vector<Sample> inL = Inputs<Sample>(7), inR = Inputs<Sample>(8);
  Scalar handedL = left, handedR = right;
  Stereo stereo;
  stereo.load(left, right);
  for (size_t i = 0; i < inL.size(); ++i)
  {
    const auto out = stereo.process(LanesOf(inL[i], inR[i]));
    ASSERT_EQ(Bits(out.Left()), Bits(left.process(inL[i]))) << "left, sample " << i;
    ASSERT_EQ(Bits(out.Right()), Bits(right.process(inR[i]))) << "right, sample " << i;
  }
  stereo.store(handedL, handedR);
  for (size_t i = 0; i < 64; ++i)
  {
    const Sample x = static_cast<Sample>(0.25);
    ASSERT_EQ(Bits(handedL.process(x)), Bits(left.process(x))) << "left after store, sample " << i;
    ASSERT_EQ(Bits(handedR.process(-x)), Bits(right.process(-x)))
      << "right after store, sample " << i;
  }
}

CookbookBiquad Biquad(int32_t type, double fc, double q, double gain)
{
  CookbookBiquad b;
  b.design(type, fc, q, gain);
  return b;
}

ConsoleBell Bell(double gainDb, double hz, double q)
{
  ConsoleBell b;
  b.sampleRate = 48000.0;
  b.design(gainDb, hz, q);
  return b;
}

AnalogMatchedLowpass Lowpass(float hz)
{
  AnalogMatchedLowpass l;
  l.design(hz, 0.707f, 48000.0f);
  return l;
}

// Passes its input through, so results land exactly on the flush bound.
AnalogMatchedLowpass Wire()
{
  AnalogMatchedLowpass l;
  l.b0 = 1.0f;
  return l;
}
}  // namespace

TEST(StereoSections, BiquadLanesRunTheirChannelsScalarArithmetic)
{
  ExpectLanesMatchScalar<StereoBiquad>(Biquad(CookbookBiquad::kHighpass, 80.0 / 48000, 0.707, 0.0),
                                       Biquad(CookbookBiquad::kHighpass, 0.5 / 48000, 0.1, 0.0));
  ExpectLanesMatchScalar<StereoBiquad>(
    Biquad(CookbookBiquad::kLowShelf, 60.0 / 48000, 0.13, 9.0),
    Biquad(CookbookBiquad::kLowShelf, 20.0 / 48000, 0.13, -12.0));
  ExpectLanesMatchScalar<StereoBiquad>(
    Biquad(CookbookBiquad::kHighShelf, 9000.0 / 48000, 0.13, -7.0),
    Biquad(CookbookBiquad::kHighShelf, 19000.0 / 48000, 0.13, 16.0));
}

TEST(StereoSections, BellLanesRunTheirChannelsScalarArithmetic)
{
  ExpectLanesMatchScalar<StereoBell>(Bell(6.0, 1000.0, 1.0), Bell(-14.0, 150.0, 0.25));
  ExpectLanesMatchScalar<StereoBell>(Bell(0.0001, 12000.0, 0.48), Bell(18.0, 40.0, 1.46));
}

TEST(StereoSections, LowpassLanesRunTheirChannelsSinglePrecisionArithmeticAndFlush)
{
  ExpectLanesMatchScalar<StereoLowpass>(Lowpass(500.0f), Lowpass(11025.0f));
  ExpectLanesMatchScalar<StereoLowpass>(Lowpass(20000.0f), Lowpass(3000.0f));
  ExpectLanesMatchScalar<StereoLowpass>(Wire(), Lowpass(1000.0f));
}
