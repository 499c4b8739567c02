#include "engine/sections/CookbookBiquad.h"
#include "tests/engine/sections_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace sections_test;

namespace {

Rational2 response(const CookbookBiquad& f) { return {f.a0, f.a1, f.a2, f.b1, f.b2}; }

CookbookBiquad designed(int32_t type, double Fc, double Q, double peakGain)
{
    CookbookBiquad f;
    f.design(type, Fc, Q, peakGain);
    return f;
}

} // namespace

TEST(CookbookBiquad, StartsAsPassThroughWithItsInitialSettings)
{
    CookbookBiquad f;
    EXPECT_EQ(f.Fc, 0.5);
    EXPECT_EQ(f.Q, 0.707);
    EXPECT_EQ(f.peakGain, 0.0);
    for (double x : {1.0, -0.25, 0.5, 0.0, 3.0})
        EXPECT_EQ(f.process(x), x);
}

TEST(CookbookBiquad, DesignStoresTheSettingsAsGivenAndKeepsTheState)
{
    CookbookBiquad f;
    f.z1 = 0.25;
    f.z2 = -0.125;
    // a corner past the design limit is kept as the owner set it
    f.design(CookbookBiquad::kHighShelf, 19900.0 / 22050.0, 0.13, -3.5);
    EXPECT_EQ(f.type, 6);
    EXPECT_EQ(f.Fc, 19900.0 / 22050.0);
    EXPECT_EQ(f.Q, 0.13);
    EXPECT_EQ(f.peakGain, -3.5);
    EXPECT_EQ(f.z1, 0.25);
    EXPECT_EQ(f.z2, -0.125);
}

// A second-order bilinear high-pass blocks DC, passes Nyquist, and its
// magnitude at the (prewarped) corner equals Q.
struct HighpassCase { double Fc, Q; };

class CookbookHighpass : public ::testing::TestWithParam<HighpassCase> {};

TEST_P(CookbookHighpass, BlocksDcPassesNyquistAndHasGainQAtTheCorner)
{
    const HighpassCase c = GetParam();
    const CookbookBiquad f = designed(CookbookBiquad::kHighpass, c.Fc, c.Q, 0.0);
    EXPECT_NEAR(magnitude(response(f), 0.0), 0.0, 1e-12);
    EXPECT_NEAR(magnitude(response(f), kPi), 1.0, 1e-9);
    EXPECT_NEAR(magnitude(response(f), 2.0 * kPi * c.Fc), c.Q, 1e-9 * c.Q);
    EXPECT_TRUE(polesInside(f.b1, f.b2));
}

INSTANTIATE_TEST_SUITE_P(Corners, CookbookHighpass,
                         ::testing::Values(HighpassCase{16.0 / 48000.0, 0.707},
                                           HighpassCase{350.0 / 48000.0, 0.707},
                                           HighpassCase{350.0 / 8000.0, 0.707},
                                           HighpassCase{1000.0 / 44100.0, 2.0},
                                           // below the design limit nothing is clipped
                                           HighpassCase{0.45, 0.707},
                                           HighpassCase{0.489, 0.707}));

// Shelves: gain V = 10^(|peakGain|/20) on their side of the corner, 1 on
// the other; a cut is exactly the inverse of the matching boost.
struct ShelfCase { int32_t type; double Fc; double gainDb; };

class CookbookShelf : public ::testing::TestWithParam<ShelfCase> {};

TEST_P(CookbookShelf, HasThePeakGainOnItsSideAndUnityOnTheOther)
{
    const ShelfCase c = GetParam();
    const CookbookBiquad f = designed(c.type, c.Fc, 0.13, c.gainDb);
    const double shelf = fromDb(c.gainDb);
    const double dc = c.type == CookbookBiquad::kLowShelf ? shelf : 1.0;
    const double nyquist = c.type == CookbookBiquad::kLowShelf ? 1.0 : shelf;
    EXPECT_NEAR(magnitude(response(f), 0.0), dc, 1e-9 * dc);
    EXPECT_NEAR(magnitude(response(f), kPi), nyquist, 1e-9 * nyquist);
    EXPECT_TRUE(polesInside(f.b1, f.b2));
}

TEST_P(CookbookShelf, CascadedWithTheOppositeGainIsUnity)
{
    const ShelfCase c = GetParam();
    CookbookBiquad boost = designed(c.type, c.Fc, 0.13, c.gainDb);
    CookbookBiquad cut = designed(c.type, c.Fc, 0.13, -c.gainDb);
    for (double w = 1e-4; w < kPi; w *= 1.5)
        EXPECT_NEAR(magnitude(response(boost), w) * magnitude(response(cut), w), 1.0, 1e-10) << w;

    std::mt19937 rng(11);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int n = 0; n < 4000; ++n) {
        const double x = noise(rng);
        ASSERT_NEAR(cut.process(boost.process(x)), x, 1e-9) << "sample " << n;
    }
}

TEST_P(CookbookShelf, ProcessShowsTheDesignedMagnitudeOnASine)
{
    const ShelfCase c = GetParam();
    CookbookBiquad f = designed(c.type, c.Fc, 0.13, c.gainDb);
    const Rational2 h = response(f);
    // 13 cycles in 64 samples and 1 in 96: one tone high, one low. The
    // settling covers dozens of time constants of the slow pole of a q 0.13
    // shelf at 7.5 Hz.
    EXPECT_NEAR(sineGain(f, 13, 64, 5000), magnitude(h, 2.0 * kPi * 13.0 / 64.0), 1e-9);
    EXPECT_NEAR(sineGain(f, 1, 96, 3000), magnitude(h, 2.0 * kPi / 96.0), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Shelves, CookbookShelf,
    ::testing::Values(ShelfCase{CookbookBiquad::kLowShelf, 7.5 / 48000.0, 16.0},
                      ShelfCase{CookbookBiquad::kLowShelf, 66.0 / 44100.0, -16.0},
                      ShelfCase{CookbookBiquad::kLowShelf, 40.0 / 96000.0, 0.0001},
                      ShelfCase{CookbookBiquad::kLowShelf, 0.01, 6.0},
                      ShelfCase{CookbookBiquad::kHighShelf, 8000.0 / 48000.0, 16.0},
                      ShelfCase{CookbookBiquad::kHighShelf, 19900.0 / 44100.0, -16.0},
                      ShelfCase{CookbookBiquad::kHighShelf, 12000.0 / 96000.0, 0.0001},
                      ShelfCase{CookbookBiquad::kHighShelf, 0.2, -6.0}));
