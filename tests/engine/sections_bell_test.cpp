#include "engine/sections/ConsoleBell.h"
#include "tests/engine/sections_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace sections_test;

namespace {

Rational2 response(const ConsoleBell& b) { return {b.b0, b.b1, b.b2, b.a1, b.a2}; }

ConsoleBell designed(double sampleRate, double gainDb, double hz, double q)
{
    ConsoleBell b;
    b.sampleRate = sampleRate;
    b.design(gainDb, hz, q);
    return b;
}

double bandwidth(double sampleRate, double hz, double q)
{
    return 2.0 * kPi * hz / sampleRate / (q * 1.588308819);
}

// Nyquist gain of the analog bell the design matches:
// |H(jw)|^2 = ((w^2 - w0^2)^2 + G^2 alpha^2 w^2) / ((w^2 - w0^2)^2 + alpha^2 w^2),
// with alpha set so that |H| = GB at the edges of a band dw wide:
// alpha^2 = dw^2 (GB^2 - 1) / (G^2 - GB^2).
double analogNyquistGain(double sampleRate, double gainDb, double hz, double q)
{
    const double w0 = 2.0 * kPi * hz / sampleRate;
    const double dw = bandwidth(sampleRate, hz, q);
    const double G2 = std::pow(fromDb(gainDb), 2.0);
    const double GB2 = std::pow(fromDb(gainDb / std::sqrt(2.0)), 2.0);
    const double alpha2 = dw * dw * (GB2 - 1.0) / (G2 - GB2);
    const double detune = (kPi * kPi - w0 * w0) * (kPi * kPi - w0 * w0);
    return std::sqrt((detune + G2 * alpha2 * kPi * kPi) / (detune + alpha2 * kPi * kPi));
}

// The frequency between lo and hi where |H| crosses `level`, by bisection;
// `risesThrough` tells on which side the magnitude is below the level.
double crossing(const Rational2& h, double lo, double hi, double level, bool risesThrough)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if ((magnitude(h, mid) < level) == risesThrough)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace

TEST(ConsoleBell, ExactlyZeroDbPassesTheInputUnchanged)
{
    ConsoleBell b = designed(48000.0, 6.0, 1000.0, 1.0);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int n = 0; n < 100; ++n)
        b.process(noise(rng)); // leave some state behind

    b.design(0.0, 1000.0, 1.0);
    EXPECT_EQ(b.b0, 1.0);
    EXPECT_EQ(b.b1, 0.0);
    EXPECT_EQ(b.b2, 0.0);
    EXPECT_EQ(b.a1, 0.0);
    EXPECT_EQ(b.a2, 0.0);
    for (int n = 0; n < 100; ++n) {
        const double x = noise(rng);
        ASSERT_EQ(b.process(x), x);
    }
}

TEST(ConsoleBell, SixDbAtOneKilohertzMeetsItsThreeMatchingPoints)
{
    const ConsoleBell b = designed(48000.0, 6.0, 1000.0, 1.0);
    const Rational2 h = response(b);
    EXPECT_NEAR(dB(magnitude(h, 2.0 * kPi * 1000.0 / 48000.0)), 6.0, 1e-9);
    EXPECT_NEAR(dB(magnitude(h, 0.0)), 0.0, 1e-9);

    const double g1 = analogNyquistGain(48000.0, 6.0, 1000.0, 1.0);
    EXPECT_GT(dB(g1), 0.0);
    EXPECT_LT(dB(g1), 0.1); // a small fraction of a dB
    EXPECT_NEAR(magnitude(h, kPi), g1, 1e-9);
    EXPECT_TRUE(polesInside(b.a1, b.a2));
}

TEST(ConsoleBell, ProcessShowsTheDesignedGainOnASine)
{
    ConsoleBell b = designed(48000.0, 6.0, 1000.0, 1.0);
    EXPECT_NEAR(sineGain(b, 1, 48, 200), fromDb(6.0), 1e-9); // 1 kHz
    ConsoleBell cut = designed(48000.0, -12.0, 3000.0, 0.25);
    EXPECT_NEAR(sineGain(cut, 1, 16, 200), fromDb(-12.0), 1e-9); // 3 kHz
    EXPECT_NEAR(sineGain(cut, 7, 16, 200), magnitude(response(cut), 2.0 * kPi * 7.0 / 16.0), 1e-9);
}

// The design places the band edges, where the gain is gainDb/√2 in dB,
// exactly `bandwidth` radians apart, for boosts and cuts alike.
struct BellCase { double sampleRate, gainDb, hz, q; };

class ConsoleBellShape : public ::testing::TestWithParam<BellCase> {};

TEST_P(ConsoleBellShape, PeaksAtTheCentreWithTheDesignedBandwidthAndMatchedEnds)
{
    const BellCase c = GetParam();
    const ConsoleBell b = designed(c.sampleRate, c.gainDb, c.hz, c.q);
    const Rational2 h = response(b);
    const double w0 = 2.0 * kPi * c.hz / c.sampleRate;
    const double edgeGain = fromDb(c.gainDb / std::sqrt(2.0));
    const bool boost = c.gainDb > 0.0;

    EXPECT_TRUE(polesInside(b.a1, b.a2));
    EXPECT_NEAR(magnitude(h, w0), fromDb(c.gainDb), 1e-9);
    EXPECT_NEAR(magnitude(h, 0.0), 1.0, 1e-9);
    EXPECT_NEAR(magnitude(h, kPi), analogNyquistGain(c.sampleRate, c.gainDb, c.hz, c.q), 1e-9);

    const double lower = crossing(h, 1e-9, w0, edgeGain, boost);
    const double upper = crossing(h, w0, kPi, edgeGain, !boost);
    EXPECT_NEAR(upper - lower, bandwidth(c.sampleRate, c.hz, c.q), 1e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, ConsoleBellShape,
    ::testing::Values(BellCase{48000.0, 6.0, 1000.0, 1.0},
                      BellCase{48000.0, -6.0, 1000.0, 1.0},
                      BellCase{44100.0, 16.0, 200.0, 1.46},  // low-mid, narrowest
                      BellCase{44100.0, -16.0, 2500.0, 0.25}, // low-mid, widest
                      BellCase{48000.0, 12.0, 7000.0, 0.25},  // high-mid, widest
                      BellCase{96000.0, -3.0, 600.0, 1.46},
                      BellCase{48000.0, 16.0, 25.0, 0.8},     // low bell
                      BellCase{44100.0, -16.0, 420.0, 0.8},
                      BellCase{48000.0, 16.0, 12000.0, 0.48}, // high bell
                      BellCase{192000.0, -10.0, 1300.0, 0.48}));

TEST(ConsoleBell, SmoothedZeroGainIsDesignedAndPracticallyFlat)
{
    // 0 dB through the gain smoother arrives as 0.0001 dB.
    const ConsoleBell b = designed(48000.0, 0.0001, 1000.0, 1.0);
    EXPECT_NE(b.b1, 0.0);
    EXPECT_TRUE(polesInside(b.a1, b.a2));
    for (double w = 1e-3; w < kPi; w *= 1.3)
        EXPECT_NEAR(dB(magnitude(response(b), w)), 0.0, 0.0001 + 1e-9) << w;
    EXPECT_NEAR(dB(magnitude(response(b), 2.0 * kPi * 1000.0 / 48000.0)), 0.0001, 1e-9);
}

TEST(ConsoleBell, GainsTooSmallToResolveComeOutFlatNotNan)
{
    // Within about 1e-14 dB of 0 the squared gains coincide in double
    // precision and the design's ratios would be 0/0.
    for (double gainDb : {5e-16, 1e-15, -1e-15, 3e-15, -6e-15, 1e-14}) {
        for (double hz : {100.0, 1000.0, 10000.0}) {
            ConsoleBell b = designed(48000.0, gainDb, hz, 1.0);
            for (double x : {1.0, -0.5, 0.25, 0.0, 0.0})
                ASSERT_NEAR(b.process(x), x, 1e-12) << gainDb << " dB at " << hz << " Hz";
        }
    }
}
