#include "engine/Morvex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
struct Row
{
  int index;
  const char* name;
  int kind;
  double def, min, max, step;
  const char* label;
  double shape;
  int precision;
};

const int C = IParamEntry::kKindContinuous;
const int I = IParamEntry::kKindInteger;

const Row kTable[] = {
  {0, "Input", C, 0, -24, 24, 0.01, "dB", 1, 2},
  {1, "High Frequency", C, 5000, 1500, 16000, 0.01, "Hz", 1, 2},
  {2, "High Gain", C, 0, -16, 16, 0.01, "dB", 1, 2},
  {3, "High Mid Frequency", C, 3000, 600, 7000, 0.01, "Hz", 2, 2},
  {4, "High Mid Bandwidth", C, 0.5, 0, 1, 0.01, "", 2, 2},
  {5, "High Mid Gain", C, 0, -16, 16, 0.01, "dB", 1, 2},
  {6, "Highpass Filter", C, 16, 16, 350, 0.01, "Hz", 1, 2},
  {7, "Low Frequency", C, 120, 30, 450, 0.01, "Hz", 2, 2},
  {8, "Low Gain", C, 0, -16, 16, 0.01, "dB", 1, 2},
  {9, "Low Mid Frequency", C, 500, 200, 2500, 0.01, "Hz", 1, 2},
  {10, "Low Mid Bandwidth", C, 0.5, 0, 1, 0.01, "", 2, 2},
  {11, "Low Mid Gain", C, 0, -16, 16, 0.01, "dB", 1, 2},
  {12, "Lowpass Filter", C, 20000, 1000, 20000, 0.01, "Hz", 2, 2},
  {13, "Output", C, 0, -24, 24, 0.01, "dB", 1, 2},
  {14, "", IParamEntry::kKindUndefined, 0, 0, 1, 1, "", 1, 0},
  {15, "EQ Bypass", I, 1, 0, 1, 1, "", 1, 0},
  {16, "Filter Bypass", I, 0, 0, 1, 1, "", 1, 0},
  {17, "Low Bell", I, 0, 0, 1, 1, "", 1, 0},
  {18, "High Bell", I, 0, 0, 1, 1, "", 1, 0},
  {19, "I/O Link", I, 0, 0, 1, 1, "", 1, 0},
};
}  // namespace

TEST(MorvexParams, TwentySlotsMatchTheParameterTable)
{
  const Morvex plug;
  ASSERT_EQ(plug.NParams(), 20);
  ASSERT_EQ(Morvex::kNumParams, 20);
  for (const Row& row : kTable)
  {
    const IParamEntry* p = plug.GetParam(row.index);
    ASSERT_NE(p, nullptr);
    SCOPED_TRACE(row.index);
    EXPECT_STREQ(p->Name(), row.name);
    EXPECT_EQ(p->GetKind(), row.kind);
    EXPECT_EQ(p->Default(), row.def);
    EXPECT_EQ(p->Value(), row.def);
    EXPECT_EQ(p->Min(), row.min);
    EXPECT_EQ(p->Max(), row.max);
    EXPECT_EQ(p->Step(), row.step);
    EXPECT_STREQ(p->Label(), row.label);
    EXPECT_STREQ(p->Group(), "");
    EXPECT_EQ(p->Shape(), row.shape);
    EXPECT_EQ(p->Precision(), row.precision);
    EXPECT_TRUE(p->CanAutomate());
    EXPECT_FALSE(p->NegateDisplay());
  }
}

TEST(MorvexParams, FilterDefaultsSitAtTheEndsOfTheirRanges)
{
  const Morvex plug;
  EXPECT_EQ(plug.GetParam(Morvex::kHighpassFilter)->NormalizedValue(), 0.0);
  EXPECT_EQ(plug.GetParam(Morvex::kLowpassFilter)->NormalizedValue(), 1.0);
  // Shape 2: "Low Frequency" 120 in 30..450 sits at sqrt(90 / 420).
  EXPECT_NEAR(plug.GetParam(Morvex::kLowFrequency)->NormalizedValue(), std::sqrt(90.0 / 420.0),
              1e-12);
  EXPECT_EQ(plug.GetParam(Morvex::kHighGain)->NormalizedValue(), 0.5);
}

TEST(MorvexParams, DisplayTextsAndUnits)
{
  const Morvex plug;
  const struct { int index; const char* text; const char* units; } cases[] = {
    {Morvex::kInput, "0.00", "dB"}, {Morvex::kLowpassFilter, "20000.00", "Hz"},
    {Morvex::kHighMidBandwidth, "0.50", ""}, {Morvex::kEQBypass, "1", ""},
    {Morvex::kIOLink, "0", ""}, {Morvex::kUnusedSlot, "0", ""},
  };
  for (const auto& c : cases)
  {
    char text[IParamEntry::kDisplayTextSize];
    plug.GetParam(c.index)->FormatValue(text);
    EXPECT_STREQ(text, c.text) << c.index;
    EXPECT_STREQ(plug.GetParam(c.index)->UnitsForHost(), c.units) << c.index;
  }
}

TEST(MorvexParams, IdentityAndChannels)
{
  const Morvex plug;
  EXPECT_STREQ(plug.EffectName(), "Morvex");
  EXPECT_STREQ(plug.ProductName(), "");
  EXPECT_STREQ(plug.MfrName(), "Pellicorn");
  EXPECT_EQ(plug.UniqueID(), 0x4D767831);  // 'M' 'v' 'x' '1'
  EXPECT_EQ(plug.MfrID(), 0x50656C63);     // 'P' 'e' 'l' 'c'
  EXPECT_EQ(plug.VendorVersion(), 0x50100);
  EXPECT_EQ(plug.ApiCode(), 1);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(1, 2));
}

TEST(MorvexParams, TheOnePresetHoldsTheSerializedDefaults)
{
  Morvex plug;
  ASSERT_EQ(plug.NPresets(), 1);
  IPresetEntry* preset = plug.GetPreset(0);
  EXPECT_TRUE(preset->IsInitialised());
  EXPECT_STREQ(preset->Name(), "-");
  ASSERT_EQ(preset->Chunk().Size(), 160);
  for (const Row& row : kTable)
  {
    double v = -1;
    EXPECT_EQ(preset->Chunk().ReadDouble(&v, 8 * row.index), 8 * row.index + 8);
    EXPECT_EQ(v, row.def) << row.index;
  }
  IStateChunk now;
  ASSERT_TRUE(plug.SerializeParams(now));
  ASSERT_EQ(now.Size(), 160);
  EXPECT_EQ(std::string(now.Data(), now.Data() + 160),
            std::string(preset->Chunk().Data(), preset->Chunk().Data() + 160));
}

TEST(MorvexParams, RestoringPresetZeroBringsBackTheDefaults)
{
  Morvex plug;
  plug.GetParam(Morvex::kLowGain)->AssignFromNormalized(1.0);
  plug.GetParam(Morvex::kEQBypass)->AssignFromNormalized(0.0);
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.GetParam(Morvex::kLowGain)->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(Morvex::kEQBypass)->Value(), 1.0);
  EXPECT_FALSE(plug.RestorePreset(1));
}

TEST(MorvexParams, TheBlankSlotStaysBlankAfterAStateRoundTrip)
{
  Morvex plug;
  IStateChunk chunk;
  plug.SerializeParams(chunk);
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 160);
  const IParamEntry* blank = plug.GetParam(Morvex::kUnusedSlot);
  EXPECT_EQ(blank->GetKind(), IParamEntry::kKindUndefined);
  EXPECT_EQ(blank->Value(), 0.0);
}
