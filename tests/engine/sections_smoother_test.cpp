#include "engine/sections/ParameterSmoother.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

} // namespace

TEST(ParameterSmoother, BeforeItsCutoffIsSetItFollowsTheTargetAtOnce)
{
    ParameterSmoother s;
    EXPECT_EQ(s.oneMinusCoeff, 1.0);
    EXPECT_EQ(s.coeff, 0.0);
    EXPECT_EQ(s.state, 0.0);
    EXPECT_EQ(s.step(0.75), 0.75);
    EXPECT_EQ(s.step(-3.0), -3.0);
    EXPECT_EQ(s.stepGain(0.0), 0.0001);
}

// A unit step from 0 through a one-pole of cutoff fc reaches
// 1 - exp(-2 pi fc n / fs) after n steps.
struct StepCase { double hz, sampleRate; };

class ParameterSmootherStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ParameterSmootherStep, FollowsTheOnePoleStepResponse)
{
    const StepCase c = GetParam();
    ParameterSmoother s;
    s.setCutoff(c.hz, c.sampleRate);
    for (int n = 1; n <= 20000; ++n) {
        const double expected = 1.0 - std::exp(-2.0 * kPi * c.hz * n / c.sampleRate);
        ASSERT_NEAR(s.step(1.0), expected, 1e-12) << "step " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Cutoffs, ParameterSmootherStep,
                         ::testing::Values(StepCase{500.0, 48000.0}, StepCase{500.0, 8000.0},
                                           StepCase{10.0, 44100.0}, StepCase{10.0, 192000.0}));

TEST(ParameterSmoother, ConvergesToItsTargetAndStaysThere)
{
    for (double target : {-24.0, -0.5, 0.0, 1.0, 0.5011872336272722, 16.0}) {
        ParameterSmoother s;
        s.setCutoff(500.0, 48000.0);
        s.state = 3.0;
        for (int n = 0; n < 5000; ++n)
            s.step(target);
        EXPECT_NEAR(s.state, target, 1e-12) << target;
    }
}

TEST(ParameterSmoother, GainStepsSettleAHundredthOfAMillibelAboveTheTarget)
{
    // A 0 dB target settles at 0.0001 dB, so a smoothed bell is never
    // designed at exactly 0 dB.
    for (double targetDb : {-16.0, -0.0001, 0.0, 6.0, 16.0}) {
        ParameterSmoother s;
        s.setCutoff(500.0, 44100.0);
        for (int n = 0; n < 5000; ++n)
            s.stepGain(targetDb);
        EXPECT_NEAR(s.state, targetDb + 0.0001, 1e-12) << targetDb;
    }
}

TEST(ParameterSmoother, GainStepsMoveLikePlainStepsTowardsTheOffsetTarget)
{
    ParameterSmoother gain, plain;
    gain.setCutoff(500.0, 48000.0);
    plain.setCutoff(500.0, 48000.0);
    for (int n = 1; n <= 50; ++n) {
        const double g = gain.stepGain(6.0);
        // (target + 0.0001)(1 - c^n): the offset target's step response
        EXPECT_NEAR(g, 6.0001 * (1.0 - std::pow(gain.coeff, n)), 1e-12) << n;
        EXPECT_NEAR(g, plain.step(6.0001), 1e-15) << n;
    }
}
