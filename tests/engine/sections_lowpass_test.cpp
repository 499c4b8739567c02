#include "engine/sections/AnalogMatchedLowpass.h"
#include "tests/engine/sections_response.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace sections_test;

namespace {

Rational2 response(const AnalogMatchedLowpass& l) { return {l.b0, l.b1, l.b2, l.a1, l.a2}; }

AnalogMatchedLowpass designed(float hz, float sampleRate)
{
    AnalogMatchedLowpass l;
    l.design(hz, 0.707f, sampleRate);
    return l;
}

// The analog prototype 1 / (s^2 + s/q + 1) at w radians per sample, w0 the
// centre in the same unit.
double prototype(double w, double w0, double q)
{
    const double r = w / w0;
    return 1.0 / std::sqrt((1.0 - r * r) * (1.0 - r * r) + (r / q) * (r / q));
}

} // namespace

TEST(AnalogMatchedLowpass, OneKilohertzAt44100MatchesThePrototypeAtDcCornerAndNyquist)
{
    AnalogMatchedLowpass l = designed(1000.0f, 44100.0f);
    const Rational2 h = response(l);
    const double w0 = 2.0 * kPi * 1000.0 / 44100.0;
    const double g1 = prototype(kPi, w0, 0.707);

    EXPECT_NEAR(dB(magnitude(h, 0.0)), 0.0, 1e-4);
    EXPECT_NEAR(dB(magnitude(h, w0)), -3.01, 0.005);
    EXPECT_NEAR(dB(magnitude(h, w0)), dB(0.707), 0.001); // |H(j w0)| = q
    EXPECT_NEAR(magnitude(h, kPi), g1, 1e-4 * g1);
    EXPECT_TRUE(polesInside(l.a1, l.a2));

    // 1 kHz is 10 cycles in 441 samples.
    EXPECT_NEAR(dB(sineGain(l, 10, 441)), dB(0.707), 0.001);
}

// Unlike a bilinear low-pass, whose gain falls to zero at Nyquist (tens of
// dB below the prototype near there), the analog-matched one stays within
// a dB of the prototype all the way up.
struct LowpassCase { float hz, sampleRate; };

class AnalogMatchedLowpassRange : public ::testing::TestWithParam<LowpassCase> {};

TEST_P(AnalogMatchedLowpassRange, IsStableAndFollowsThePrototypeUpToNyquist)
{
    const LowpassCase c = GetParam();
    const AnalogMatchedLowpass l = designed(c.hz, c.sampleRate);
    const Rational2 h = response(l);
    const double w0 = 2.0 * kPi * c.hz / c.sampleRate;

    EXPECT_TRUE(polesInside(l.a1, l.a2));
    // Low corners at high rates put the poles near z = 1, where single-
    // precision coefficients leave a few thousandths of a dB at DC.
    EXPECT_NEAR(dB(magnitude(h, 0.0)), 0.0, 0.01);
    EXPECT_NEAR(magnitude(h, kPi), prototype(kPi, w0, 0.707), 1e-4 * prototype(kPi, w0, 0.707));
    for (double w = w0 / 64.0; w < kPi; w *= 1.1)
        EXPECT_NEAR(dB(magnitude(h, w)), dB(prototype(w, w0, 0.707)), 1.0) << w;
}

TEST_P(AnalogMatchedLowpassRange, MatchesThePrototypeAtItsPoleAndZeroFrequencies)
{
    // Massberg places the digital pole and zero pairs at 2 atan(Os) and
    // 2 atan(Os / sqrt(g1)), with Os = w0/2 (1 - g1^2)^(1/4) for q below √½,
    // and matches the prototype's gain exactly there.
    const LowpassCase c = GetParam();
    const AnalogMatchedLowpass l = designed(c.hz, c.sampleRate);
    const Rational2 h = response(l);
    const double w0 = 2.0 * kPi * c.hz / c.sampleRate;
    const double g1 = prototype(kPi, w0, 0.707);
    const double os = w0 / 2.0 * std::pow(1.0 - g1 * g1, 0.25);
    for (double w : {2.0 * std::atan(os), 2.0 * std::atan(os / std::sqrt(g1))})
        EXPECT_NEAR(dB(magnitude(h, w)), dB(prototype(w, w0, 0.707)), 0.001) << w;
}

// The engine's low-pass runs from 500 Hz to 11025 Hz.
INSTANTIATE_TEST_SUITE_P(Corners, AnalogMatchedLowpassRange,
                         ::testing::Values(LowpassCase{500.0f, 44100.0f},
                                           LowpassCase{11025.0f, 44100.0f},
                                           LowpassCase{3000.0f, 48000.0f},
                                           LowpassCase{11025.0f, 48000.0f},
                                           LowpassCase{500.0f, 192000.0f},
                                           LowpassCase{11025.0f, 96000.0f},
                                           LowpassCase{500.0f, 8000.0f}));

TEST(AnalogMatchedLowpass, DifferenceEquationRoundsEveryStepToSinglePrecision)
{
    // In single precision 1 + 2^-30 rounds to 1, and subtracting y1 = 1 then
    // leaves exactly 0; carried in double the result would be 2^-30.
    AnalogMatchedLowpass l;
    l.b0 = 1.0f;
    l.b1 = 1.0f;
    l.a1 = 1.0f;
    l.x1 = std::ldexp(1.0f, -30);
    l.y1 = 1.0f;
    EXPECT_EQ(l.process(1.0f), 0.0f);
}

TEST(AnalogMatchedLowpass, ResultsBelowTheSmallestNormalFloatComeOutExactlyZero)
{
    struct Case { float x; float expected; };
    const float aboveBound = std::nextafter(FLT_MIN, 1.0f);
    const Case cases[] = {
        {1e-39f, 0.0f},           // subnormal
        {-1e-39f, 0.0f},
        {FLT_MIN / 1024.0f, 0.0f},
        {FLT_MIN, 0.0f},          // the bound 1.175494351e-38 sits just above FLT_MIN
        {-FLT_MIN, 0.0f},
        {aboveBound, aboveBound}, // the next float is above the bound and kept
        {-aboveBound, -aboveBound},
        {1e-30f, 1e-30f},
    };
    for (const Case& c : cases) {
        AnalogMatchedLowpass l;
        l.b0 = 1.0f; // y = x
        const float y = l.process(c.x);
        EXPECT_EQ(y, c.expected) << c.x;
        EXPECT_FALSE(std::signbit(y) && c.expected == 0.0f) << c.x;
    }
}

TEST(AnalogMatchedLowpass, AFlushedResultIsWhatTheStateRemembers)
{
    // With a huge feedback gain a remembered subnormal would resurface as a
    // normal number on the next sample.
    AnalogMatchedLowpass l;
    l.b0 = 1.0f;
    l.a1 = -std::ldexp(1.0f, 100);
    EXPECT_EQ(l.process(1e-39f), 0.0f);
    EXPECT_EQ(l.y1, 0.0f);
    EXPECT_EQ(l.process(0.0f), 0.0f);
}

TEST(AnalogMatchedLowpass, AnImpulseDecaysToExactZeroWithoutSubnormals)
{
    AnalogMatchedLowpass l = designed(500.0f, 192000.0f); // the slowest decay
    l.process(1.0f);
    for (int n = 0; n < 1000000 && (l.y1 != 0.0f || l.y2 != 0.0f); ++n)
        ASSERT_NE(std::fpclassify(l.process(0.0f)), FP_SUBNORMAL) << "sample " << n;
    EXPECT_EQ(l.y1, 0.0f);
    EXPECT_EQ(l.y2, 0.0f);
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(l.process(0.0f), 0.0f);
}

TEST(AnalogMatchedLowpass, ClearZeroesTheStateAndKeepsTheDesign)
{
    AnalogMatchedLowpass l = designed(2000.0f, 48000.0f);
    const AnalogMatchedLowpass fresh = l;
    l.process(1.0f);
    l.process(0.5f);
    l.clear();
    EXPECT_EQ(l.x1 + l.x2 + l.y1 + l.y2, 0.0f);
    EXPECT_EQ(l.b0, fresh.b0);
    EXPECT_EQ(l.a2, fresh.a2);
    EXPECT_EQ(l.process(0.0f), 0.0f);
}

TEST(AnalogMatchedLowpass, DesignLeavesTheStateRunning)
{
    AnalogMatchedLowpass l;
    l.x1 = 0.5f; l.x2 = -0.5f; l.y1 = 0.25f; l.y2 = -0.25f;
    l.design(1000.0f, 0.707f, 44100.0f);
    EXPECT_EQ(l.x1, 0.5f);
    EXPECT_EQ(l.x2, -0.5f);
    EXPECT_EQ(l.y1, 0.25f);
    EXPECT_EQ(l.y2, -0.25f);
}
