// What the name plate reads while a control is touched: the panel's name for
// it and its value as a user reads it on the knob's scale.
#include "engine/Morvex.h"
#include "engine/MorvexReadout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
using MorvexReadout::PanelName;
using MorvexReadout::ValueText;

TEST(MorvexReadout, valuesReadInTheUnitsOfTheirScales)
{
  struct Case
  {
    int param;
    double plain;
    const char* text;
  };
  const Case cases[] = {
    {Morvex::kLowGain, 3.2, "+3.2 dB"},         {Morvex::kLowGain, -16.0, "-16.0 dB"},
    {Morvex::kLowGain, 0.0, "0.0 dB"},          {Morvex::kLowGain, -0.04, "0.0 dB"},
    {Morvex::kLowGain, 3.25, "+3.3 dB"},        {Morvex::kHighMidGain, 16.0, "+16.0 dB"},
    {Morvex::kInput, -24.0, "-24.0 dB"},        {Morvex::kOutput, 5.0, "+5.0 dB"},
    {Morvex::kHighMidFrequency, 4500.0, "4.50 kHz"}, {Morvex::kHighMidFrequency, 600.0, "600 Hz"},
    {Morvex::kHighMidFrequency, 999.6, "1.00 kHz"}, {Morvex::kHighMidFrequency, 1234.5, "1.23 kHz"},
    {Morvex::kLowFrequency, 120.0, "120 Hz"},   {Morvex::kLowFrequency, 30.0, "30.0 Hz"},
    {Morvex::kLowFrequency, 95.04, "95.0 Hz"},  {Morvex::kLowFrequency, 99.96, "100 Hz"},
    {Morvex::kHighpassFilter, 16.0, "16.0 Hz"}, {Morvex::kHighpassFilter, 350.0, "350 Hz"},
    {Morvex::kLowpassFilter, 20000.0, "20.0 kHz"}, {Morvex::kLowpassFilter, 12345.0, "12.3 kHz"},
    {Morvex::kHighFrequency, 16000.0, "16.0 kHz"}, {Morvex::kLowMidFrequency, 2500.0, "2.50 kHz"},
    // The Q a bandwidth gives its band: 1.46 - 1.21 x bandwidth.
    {Morvex::kLowMidBandwidth, 0.5, "Q 0.86"},  {Morvex::kLowMidBandwidth, 0.0, "Q 1.46"},
    {Morvex::kHighMidBandwidth, 1.0, "Q 0.25"}, {Morvex::kHighMidBandwidth, 0.3, "Q 1.10"},
    // Switches as their lamps show them; the two named Bypass light when on.
    {Morvex::kEQBypass, 1.0, "ON"},             {Morvex::kFilterBypass, 0.0, "OFF"},
    {Morvex::kLowBell, 1.0, "ON"},              {Morvex::kIOLink, 0.0, "OFF"},
    {Morvex::kUnusedSlot, 1.0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.text, ValueText(c.param, c.plain)) << PanelName(c.param) << " at " << c.plain;
}

TEST(MorvexReadout, namesAreThePanelsAndWheelNotchesOnEvenScalesReadApart)
{
  const struct
  {
    int param;
    const char* name;
  } names[] = {{Morvex::kLowGain, "LOW GAIN"},   {Morvex::kHighMidFrequency, "HIGH MID FREQ"},
               {Morvex::kHighpassFilter, "HPF"}, {Morvex::kLowBell, "LOW BELL"},
               {Morvex::kEQBypass, "EQ"},        {Morvex::kLowMidBandwidth, "LOW MID BW"},
               {Morvex::kOutput, "OUTPUT"}};
  for (const auto& n : names) EXPECT_STREQ(n.name, PanelName(n.param));
  EXPECT_EQ(nullptr, PanelName(Morvex::kUnusedSlot));

  // A wheel notch is a hundredth of the travel; on every knob without a
  // shaped scale each notch reads differently from the next.
  Morvex plug;
  for (int param : {Morvex::kInput, Morvex::kHighFrequency, Morvex::kHighGain, Morvex::kHighMidGain,
                    Morvex::kHighpassFilter, Morvex::kLowGain, Morvex::kLowMidGain,
                    Morvex::kLowMidFrequency, Morvex::kOutput})
  {
    const IParamEntry* p = plug.GetParam(param);
    ASSERT_EQ(1.0, p->Shape()) << PanelName(param);
    for (int notch = 0; notch < 100; ++notch)
      EXPECT_NE(ValueText(param, p->NormalizedToPlain(notch / 100.0)),
                ValueText(param, p->NormalizedToPlain((notch + 1) / 100.0)))
          << PanelName(param) << " notch " << notch;
  }
}
}  // namespace
