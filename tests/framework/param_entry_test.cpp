#include "framework/IParamEntry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
IParamEntry Continuous(double def, double min, double max, double step, double shape = 1.0)
{
  IParamEntry p;
  p.DefineContinuous("p", def, min, max, step, "", "", shape);
  return p;
}

IParamEntry Switch()
{
  IParamEntry p;
  p.DefineInteger("switch", 0, 0, 1);
  return p;
}

std::string Text(const IParamEntry& p)
{
  char buf[IParamEntry::kDisplayTextSize];
  p.FormatValue(buf);
  return buf;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(ParamEntry, AFreshEntryIsAnUndefinedSteppedZeroToOneSlot)
{
  IParamEntry p;
  EXPECT_EQ(p.GetKind(), IParamEntry::kKindUndefined);
  EXPECT_TRUE(p.IsStepped());
  EXPECT_STREQ(p.Name(), "");
  EXPECT_EQ(p.Value(), 0.0);
  EXPECT_EQ(p.Min(), 0.0);
  EXPECT_EQ(p.Max(), 1.0);
  EXPECT_EQ(p.Step(), 1.0);
  EXPECT_EQ(p.Shape(), 1.0);
  EXPECT_TRUE(p.CanAutomate());
  p.AssignFromNormalized(0.6);
  EXPECT_EQ(p.Value(), 1.0);
}

TEST(ParamEntry, DefineContinuousSetsRangeDefaultAndKind)
{
  IParamEntry p;
  p.DefineContinuous("Gain", 3.0, -24.0, 24.0, 0.01, "dB", "Main", 2.0);
  EXPECT_EQ(p.GetKind(), IParamEntry::kKindContinuous);
  EXPECT_FALSE(p.IsStepped());
  EXPECT_STREQ(p.Name(), "Gain");
  EXPECT_STREQ(p.Label(), "dB");
  EXPECT_STREQ(p.Group(), "Main");
  EXPECT_EQ(p.Value(), 3.0);
  EXPECT_EQ(p.Default(), 3.0);
  EXPECT_EQ(p.Min(), -24.0);
  EXPECT_EQ(p.Max(), 24.0);
  EXPECT_EQ(p.Shape(), 2.0);
  EXPECT_EQ(p.Precision(), 2);
}

TEST(ParamEntry, MaximumIsRaisedToAtLeastOneStepAboveMinimum)
{
  EXPECT_EQ(Continuous(0, 0, -5, 1).Max(), 1.0);
  EXPECT_EQ(Continuous(0, 2, 2, 0.5).Max(), 2.5);
  EXPECT_EQ(Continuous(0, 0, 10, 1).Max(), 10.0);
}

TEST(ParamEntry, AssignFromNormalizedOneGivesExactlyARaisedMaximum)
{
  IParamEntry p = Continuous(0.1, 0.1, 0.1, 0.2);
  p.AssignFromNormalized(1.0);
  EXPECT_EQ(p.Value(), p.Max());
  EXPECT_EQ(p.Max(), 0.1 + 0.2);
}

TEST(ParamEntry, DefineIntegerIsKindTwoWithUnitStepAndLinearShape)
{
  IParamEntry p;
  p.DefineInteger("Mode", 2, 0, 5, "x", "");
  EXPECT_EQ(p.GetKind(), IParamEntry::kKindInteger);
  EXPECT_TRUE(p.IsStepped());
  EXPECT_EQ(p.Step(), 1.0);
  EXPECT_EQ(p.Shape(), 1.0);
  EXPECT_EQ(p.Precision(), 0);
  EXPECT_EQ(p.Value(), 2.0);
}

TEST(ParamEntry, UnusableShapesKeepThePreviousShape)
{
  for (double bad : {0.0, -2.0, kNaN, kInf})
  {
    IParamEntry p = Continuous(0, 0, 1, 0.01, bad);
    EXPECT_EQ(p.Shape(), 1.0) << bad;
    p.SetShape(3.0);
    p.SetShape(bad);
    EXPECT_EQ(p.Shape(), 3.0) << bad;
  }
}

TEST(ParamEntry, PrecisionCountsTheStepsDecimalsUpToSix)
{
  const struct { double step; int precision; } cases[] = {
    {1.0, 0}, {2.0, 0}, {0.5, 1}, {0.1, 1}, {0.25, 2}, {0.01, 2}, {0.125, 3},
    {1e-7, 6}, {1e-9, 6},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Continuous(0, 0, 1, c.step).Precision(), c.precision) << c.step;
}

TEST(ParamEntry, PlainAndNormalizedMapThroughThePowerLawShape)
{
  // shape 1, -16..16: linear; shape 2, 30..450: n = sqrt((v - 30) / 420).
  const struct { double min, max, shape, plain, normalized; } cases[] = {
    {-16, 16, 1, -16, 0.0}, {-16, 16, 1, 0, 0.5}, {-16, 16, 1, 16, 1.0}, {-16, 16, 1, -8, 0.25},
    {30, 450, 2, 30, 0.0}, {30, 450, 2, 135, 0.5}, {30, 450, 2, 450, 1.0},
    {30, 450, 2, 30 + 420 * 0.01, 0.1},
  };
  for (const auto& c : cases)
  {
    const IParamEntry p = Continuous(c.min, c.min, c.max, 0.01, c.shape);
    EXPECT_NEAR(p.PlainToNormalized(c.plain), c.normalized, 1e-12) << c.plain;
    EXPECT_NEAR(p.NormalizedToPlain(c.normalized), c.plain, 1e-9) << c.normalized;
    IParamEntry q = p;
    q.AssignFromNormalized(c.normalized);
    EXPECT_NEAR(q.Value(), c.plain, 1e-9) << c.normalized;
    EXPECT_NEAR(q.NormalizedValue(), c.normalized, 1e-12) << c.normalized;
  }
}

TEST(ParamEntry, TheSquareShapeIsExactlyTheSquareAndTheSquareRootOnEveryPlatform)
{
  // Fractions whose square root some runtimes' pow(x, 0.5) rounds the other
  // way: the conversions must give the correctly rounded value everywhere.
  const IParamEntry p = Continuous(0.0, 0.0, 1.0, 0.01, 2.0);
  for (double x : {0.66003217408244552, 0.83114921627029226, 0.92242767588501695,
                   0.63049713605269231, 0.375, 0.5})
  {
    EXPECT_EQ(std::sqrt(x), p.PlainToNormalized(x)) << x;
    EXPECT_EQ(x * x, p.NormalizedToPlain(x)) << x;
  }
}

TEST(ParamEntry, PlainToNormalizedClampsTheValueFirst)
{
  const IParamEntry p = Continuous(0, -24, 24, 0.01);
  EXPECT_EQ(p.PlainToNormalized(-100), 0.0);
  EXPECT_EQ(p.PlainToNormalized(100), 1.0);
  EXPECT_EQ(p.PlainToNormalized(kInf), 1.0);
}

TEST(ParamEntry, NormalizedToPlainNeitherStepsNorClamps)
{
  const IParamEntry p = Switch();
  EXPECT_DOUBLE_EQ(p.NormalizedToPlain(0.3), 0.3);
}

TEST(ParamEntry, SteppedKindsRoundToTheNearestStep)
{
  const struct { double n, value; } cases[] = {{0.0, 0}, {0.49, 0}, {0.5, 1}, {0.51, 1}, {1.0, 1}};
  for (const auto& c : cases)
  {
    IParamEntry p = Switch();
    p.AssignFromNormalized(c.n);
    EXPECT_EQ(p.Value(), c.value) << c.n;
  }
  IParamEntry five;
  five.DefineInteger("five", 0, 0, 5);
  five.AssignFromNormalized(0.55);  // 2.75 -> 3
  EXPECT_EQ(five.Value(), 3.0);
}

TEST(ParamEntry, ContinuousKindIsNotStepped)
{
  IParamEntry p = Continuous(0, 0, 1, 0.5);
  p.AssignFromNormalized(0.3);
  EXPECT_DOUBLE_EQ(p.Value(), 0.3);
}

TEST(ParamEntry, NormalizedValuesOutsideZeroToOneAreClampedFirst)
{
  const struct { double shape, n, value; } cases[] = {
    {1, -0.5, -16}, {1, 1.5, 16}, {2, -1.0, -16}, {2, -kInf, -16}, {2, kInf, 16},
  };
  for (const auto& c : cases)
  {
    IParamEntry p = Continuous(0, -16, 16, 0.01, c.shape);
    p.AssignFromNormalized(c.n);
    EXPECT_EQ(p.Value(), c.value) << c.shape << " " << c.n;
  }
}

TEST(ParamEntry, NaNLeavesTheValueUnchanged)
{
  IParamEntry p = Continuous(3, -16, 16, 0.01);
  p.AssignFromNormalized(kNaN);
  EXPECT_EQ(p.Value(), 3.0);
  p.AssignPlain(kNaN);
  EXPECT_EQ(p.Value(), 3.0);
}

TEST(ParamEntry, AssignPlainClampsIntoTheRange)
{
  IParamEntry p = Continuous(0, -24, 24, 0.01);
  p.AssignPlain(30);
  EXPECT_EQ(p.Value(), 24.0);
  p.AssignPlain(-kInf);
  EXPECT_EQ(p.Value(), -24.0);
  p.AssignPlain(1.234);
  EXPECT_EQ(p.Value(), 1.234);
}

TEST(ParamEntry, AnEmptyRangeMapsToZeroInsteadOfDividingByZero)
{
  IParamEntry p = Continuous(5, 5, 5, 0.0);
  EXPECT_EQ(p.Max(), 5.0);
  EXPECT_EQ(p.NormalizedValue(), 0.0);
  EXPECT_EQ(p.ParseNormalized("7"), 0.0);
  p.AssignFromNormalized(0.7);
  EXPECT_EQ(p.Value(), 5.0);
  EXPECT_EQ(Text(p), "5");
}

TEST(ParamEntry, DisplayTextFollowsPrecisionAndTruncatesForStepOne)
{
  IParamEntry gain = Continuous(0, -24, 24, 0.01);
  EXPECT_EQ(gain.Precision(), 2);
  EXPECT_EQ(Text(gain), "0.00");
  gain.AssignPlain(-3.456);
  EXPECT_EQ(Text(gain), "-3.46");

  IParamEntry whole = Continuous(0, -5, 5, 1.0);
  const struct { double value; const char* text; } cases[] = {
    {2.7, "2"}, {-2.7, "-2"}, {-0.5, "0"}, {5, "5"},
  };
  for (const auto& c : cases)
  {
    whole.AssignPlain(c.value);
    EXPECT_EQ(Text(whole), c.text) << c.value;
  }
}

TEST(ParamEntry, WholeNumbersBeyondIntRangeStillShowTheirDigits)
{
  IParamEntry p = Continuous(0, -1e12, 1e12, 1.0);
  p.AssignPlain(5e9);
  EXPECT_EQ(Text(p), "5000000000");
  p.AssignPlain(-3e9 - 0.5);
  EXPECT_EQ(Text(p), "-3000000000");
}

TEST(ParamEntry, NegateDisplayShowsTheInvertedValueWithoutMinusZero)
{
  IParamEntry p = Continuous(0, -24, 24, 0.01);
  p.SetNegateDisplay(true);
  EXPECT_EQ(Text(p), "0.00");
  p.AssignPlain(3.5);
  EXPECT_EQ(Text(p), "-3.50");
}

TEST(ParamEntry, DisplayTextsReplaceTheNumberForTheirTruncatedValue)
{
  IParamEntry p = Continuous(0, -2, 2, 0.1, 1.0);
  p.SetDisplayText(1, "on");
  p.SetDisplayText(0, "off");
  p.SetDisplayText(-1, "");
  p.SetDisplayText(0, "zero");  // replaces
  EXPECT_EQ(p.NDisplayTexts(), 3);
  p.SetNegateDisplay(true);     // not applied to a display text
  p.AssignPlain(1.9);
  EXPECT_EQ(Text(p), "on");
  EXPECT_STREQ(p.UnitsForHost(), "");
  p.AssignPlain(-0.5);
  EXPECT_EQ(Text(p), "zero");
  p.AssignPlain(-1.5);          // empty text: falls back to the number
  EXPECT_EQ(Text(p), "1.5");
}

TEST(ParamEntry, UnitsForHostIsEmptyWheneverADisplayTextIsDefined)
{
  IParamEntry p;
  p.DefineContinuous("Mode", 0, -2, 2, 0.1, "dB", "");
  p.SetDisplayText(1, "on");
  p.SetDisplayText(-1, "");
  const struct { double value; const char* units; } cases[] = {
    {1.7, ""}, {-1.2, ""}, {0.5, "dB"}, {2.0, "dB"},
  };
  for (const auto& c : cases)
  {
    p.AssignPlain(c.value);
    EXPECT_STREQ(p.UnitsForHost(), c.units) << c.value;
  }
}

TEST(ParamEntry, UnitsForHostIsTheLabelWithoutADisplayText)
{
  IParamEntry p;
  p.DefineContinuous("Gain", 0, -24, 24, 0.01, "dB", "");
  EXPECT_STREQ(p.UnitsForHost(), "dB");
}

TEST(ParamEntry, FormatValueTruncatesToTheCallersBuffer)
{
  IParamEntry p = Continuous(-24, -24, 24, 0.01);
  char small[4] = {'x', 'x', 'x', 'x'};
  p.FormatValue(small, sizeof small);
  EXPECT_STREQ(small, "-24");
}

TEST(ParamEntry, TypedTextIsParsedAsItsLeadingNumberAndClamped)
{
  // -24..24 linear: n = (v + 24) / 48.
  const IParamEntry p = Continuous(0, -24, 24, 0.01);
  const struct { const char* text; double normalized; } cases[] = {
    {"12.5 dB", 36.5 / 48}, {"  -6", 18.0 / 48}, {"abc", 0.5}, {"", 0.5}, {"dB 12", 0.5},
    {"100", 1.0}, {"-100", 0.0}, {"nan", 0.5}, {nullptr, 0.5},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(p.ParseNormalized(c.text), c.normalized, 1e-12) << (c.text ? c.text : "null");

  const IParamEntry shaped = Continuous(120, 30, 450, 0.01, 2.0);
  EXPECT_NEAR(shaped.ParseNormalized("135"), 0.5, 1e-12);
}

TEST(ParamEntry, TextFieldsAreTruncatedAndTerminated)
{
  const std::string longText(100, 'a');
  IParamEntry p;
  p.DefineContinuous(longText.c_str(), 0, 0, 1, 0.1, longText.c_str(), longText.c_str());
  p.SetDisplayText(1, longText.c_str());
  const std::string expected(IParamEntry::kTextSize - 1, 'a');
  EXPECT_EQ(p.Name(), expected);
  EXPECT_EQ(p.Label(), expected);
  EXPECT_EQ(p.Group(), expected);
  EXPECT_EQ(p.GetDisplayText(0)->text, expected);

  IParamEntry q;
  q.DefineContinuous(nullptr, 0, 0, 1, 0.1, nullptr, nullptr);
  EXPECT_STREQ(q.Name(), "");
  EXPECT_STREQ(q.Label(), "");
}
