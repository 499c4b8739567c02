#include "framework/IPlugBase.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
IPlugConfig MakeConfig(int nParams, int nPresets, const char* channelIO = "1-1 2-2")
{
  IPlugConfig config;
  config.nParams = nParams;
  config.nPresets = nPresets;
  config.channelIO = channelIO;
  config.effectName = "Test";
  config.mfrName = "Maker";
  return config;
}

// Records what the base calls on the plug-in and the host, and whether the
// plug-in lock was held (by this thread) at the time.
class RecordingPlug : public IPlugBase
{
public:
  explicit RecordingPlug(const IPlugConfig& config) : IPlugBase(config) {}

  void ParameterChanged(int paramIdx) override
  {
    changed.push_back(paramIdx);
    if (!LockedByUs()) changedWithoutLock = true;
  }
  void ReportParamEdit(int paramIdx, double normalized) override
  {
    reported.emplace_back(paramIdx, normalized);
  }
  void PresetsChanged() override { ++presetsChanged; }

  // The lock is held by this thread exactly when another thread cannot take it.
  bool LockedByUs()
  {
    bool taken = false;
    std::thread other([&] {
      taken = GetMutex().try_lock();
      if (taken) GetMutex().unlock();
    });
    other.join();
    return !taken;
  }

  std::vector<int> changed;
  std::vector<std::pair<int, double>> reported;
  bool changedWithoutLock = false;
  int presetsChanged = 0;
};

// Gives parameter i the range 0..1000 (default 50) and the value 10 * i + 1.
void DefineRamp(IPlugBase& plug)
{
  for (int i = 0; i < plug.NParams(); ++i)
  {
    plug.GetParam(i)->DefineContinuous("p", 50, 0, 1000, 0.5);
    plug.GetParam(i)->AssignPlain(10.0 * i + 1);
  }
}

std::vector<int> Indices(int n)
{
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(PlugBase, ConstructionCreatesBlankParametersOnePresetAndChannels)
{
  IPlugBase plug(MakeConfig(20, 1));
  ASSERT_EQ(plug.NParams(), 20);
  for (int i = 0; i < 20; ++i)
  {
    const IParamEntry* p = plug.GetParam(i);
    EXPECT_EQ(p->GetKind(), IParamEntry::kKindUndefined);
    EXPECT_STREQ(p->Name(), "");
    EXPECT_EQ(p->Max(), 1.0);
  }
  EXPECT_EQ(plug.GetParam(20), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  ASSERT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.GetPreset(0)->Name(), "empty");
  EXPECT_FALSE(plug.GetPreset(0)->IsInitialised());
  EXPECT_EQ(plug.NChannelIO(), 2);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_EQ(plug.HostCode(), -1);
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_EQ(plug.Latency(), 0);
  EXPECT_FALSE(plug.IsBypassed());
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_STREQ(plug.EffectName(), "Test");
  EXPECT_STREQ(plug.ProductName(), "");
  EXPECT_STREQ(plug.MfrName(), "Maker");
  EXPECT_EQ(plug.GetGraphics(), nullptr);
}

TEST(PlugBase, NamesAreTruncatedToTheirFields)
{
  const std::string longName(300, 'n');
  IPlugConfig config = MakeConfig(0, 0);
  config.effectName = longName.c_str();
  config.productName = nullptr;
  IPlugBase plug(config);
  EXPECT_EQ(std::string(plug.EffectName()), std::string(IPlugBase::kNameSize - 1, 'n'));
  EXPECT_STREQ(plug.ProductName(), "");

  IPresetEntry preset(longName.c_str());
  EXPECT_EQ(std::string(preset.Name()), std::string(IPresetEntry::kNameSize - 1, 'n'));
}

TEST(PlugBase, ChannelConfigurationIsParsedIntoPairs)
{
  const struct { const char* text; std::vector<std::pair<int, int>> pairs; } cases[] = {
    {"1-1 2-2", {{1, 1}, {2, 2}}},
    {"2-2", {{2, 2}}},
    {"1-2  2-4 ", {{1, 2}, {2, 4}}},
    {" 0-1", {{0, 1}}},
    {"1", {{1, 0}}},
    {"1--3", {{1, 0}}},
    {"", {}},
    {"   ", {}},
    {nullptr, {}},
  };
  for (const auto& c : cases)
  {
    const std::vector<IChannelIO> list = ParseChannelIO(c.text);
    ASSERT_EQ(list.size(), c.pairs.size()) << (c.text ? c.text : "null");
    for (std::size_t i = 0; i < list.size(); ++i)
    {
      EXPECT_EQ(list[i].inputs, c.pairs[i].first) << c.text;
      EXPECT_EQ(list[i].outputs, c.pairs[i].second) << c.text;
    }
  }
}

TEST(PlugBase, ChannelRecordsFollowTheLargestCounts)
{
  IPlugBase plug(MakeConfig(0, 0, "1-4 2-1"));
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 4);
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(plug.OutChannel(i)->slot, i);
    EXPECT_FALSE(plug.OutChannel(i)->connected);
  }
  EXPECT_EQ(plug.OutChannel(4), nullptr);
}

TEST(PlugBase, LegalIOMatchesAPairWithNegativeMeaningAny)
{
  const IPlugBase plug(MakeConfig(0, 0, "1-1 2-2"));
  const struct { int in, out; bool legal; } cases[] = {
    {2, 2, true}, {1, 1, true}, {1, 2, false}, {2, 1, false}, {-1, 2, true},
    {1, -1, true}, {-1, -1, true}, {3, 3, false}, {0, 0, false}, {-1, 3, false},
  };
  for (const auto& c : cases) EXPECT_EQ(plug.LegalIO(c.in, c.out), c.legal) << c.in << "-" << c.out;
}

TEST(PlugBase, SerializeAppendsEveryValueInIndexOrder)
{
  IPlugBase plug(MakeConfig(20, 1));
  DefineRamp(plug);
  IStateChunk chunk;
  ASSERT_TRUE(plug.SerializeParams(chunk));
  ASSERT_EQ(chunk.Size(), 160);
  for (int i = 0; i < 20; ++i)
  {
    double v = 0;
    chunk.ReadDouble(&v, 8 * i);
    EXPECT_EQ(v, 10.0 * i + 1) << i;
  }
  IPlugBase none(MakeConfig(0, 0));
  IStateChunk empty;
  EXPECT_TRUE(none.SerializeParams(empty));
  EXPECT_EQ(empty.Size(), 0);
}

TEST(PlugBase, UnserializeRestoresEveryValueAndNotifiesUnderTheLock)
{
  RecordingPlug plug(MakeConfig(20, 1));
  DefineRamp(plug);
  IStateChunk chunk;
  plug.SerializeParams(chunk);
  for (int i = 0; i < 20; ++i) plug.GetParam(i)->AssignPlain(0);

  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 160);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(plug.GetParam(i)->Value(), 10.0 * i + 1) << i;
  EXPECT_EQ(plug.changed, Indices(20));
  EXPECT_FALSE(plug.changedWithoutLock);
}

TEST(PlugBase, AShortChunkRestoresWhatItHoldsAndReportsMinusOne)
{
  RecordingPlug plug(MakeConfig(20, 1));
  DefineRamp(plug);
  plug.GetParam(19)->DefineContinuous("last", 7, 5, 10, 1);
  IStateChunk chunk;
  for (int i = 0; i < 19; ++i) chunk.AppendDouble(2.0 * i);  // 152 bytes

  EXPECT_EQ(plug.UnserializeParams(chunk, 0), -1);
  for (int i = 0; i < 19; ++i) EXPECT_EQ(plug.GetParam(i)->Value(), 2.0 * i) << i;
  EXPECT_EQ(plug.GetParam(19)->Value(), 5.0);  // 0.0 clamped into 5..10
  EXPECT_EQ(plug.changed, Indices(20));
}

TEST(PlugBase, ParametersAfterTheOneWhereDataRanOutKeepTheirValues)
{
  IPlugBase plug(MakeConfig(4, 0));
  DefineRamp(plug);  // 1, 11, 21, 31
  IStateChunk chunk;
  chunk.AppendDouble(60.0);
  chunk.AppendDouble(70.0);
  const uint8_t partial[4] = {};
  chunk.Append(partial, 4);
  EXPECT_EQ(plug.UnserializeParams(chunk, 8), -1);  // starts at the second value
  EXPECT_EQ(plug.GetParam(0)->Value(), 70.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 21.0);
  EXPECT_EQ(plug.GetParam(3)->Value(), 31.0);
}

TEST(PlugBase, NonFiniteStoredValuesRestoreTheDefaultAndFiniteOnesClamp)
{
  IPlugBase plug(MakeConfig(5, 0));
  DefineRamp(plug);  // default 50, range 0..1000
  IStateChunk chunk;
  for (double v : {kNaN, kInf, -kInf, 2500.0, -3.0}) chunk.AppendDouble(v);
  EXPECT_EQ(plug.UnserializeParams(chunk, 0), 40);
  const double expected[] = {50.0, 50.0, 50.0, 1000.0, 0.0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(plug.GetParam(i)->Value(), expected[i]) << i;
}

TEST(PlugBase, RestoringAnUninitialisedPresetCapturesTheCurrentValues)
{
  RecordingPlug plug(MakeConfig(3, 3));
  DefineRamp(plug);
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_STREQ(plug.GetPreset(1)->Name(), "user preset 1");
  EXPECT_TRUE(plug.GetPreset(1)->IsInitialised());
  EXPECT_EQ(plug.GetPreset(1)->Chunk().Size(), 24);
  EXPECT_EQ(plug.CurrentPresetIndex(), 1);
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPreset(2)->Name(), "user preset 2");
  EXPECT_EQ(plug.presetsChanged, 2);

  plug.GetParam(0)->AssignPlain(99);
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.CurrentPresetIndex(), 1);
}

TEST(PlugBase, RestoringAPresetOutOfRangeChangesNothing)
{
  RecordingPlug plug(MakeConfig(3, 1));
  DefineRamp(plug);
  plug.CaptureDefaultPreset();
  for (int index : {1, -1, 100})
  {
    EXPECT_FALSE(plug.RestorePreset(index)) << index;
  }
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_EQ(plug.presetsChanged, 0);
  EXPECT_TRUE(plug.changed.empty());
}

TEST(PlugBase, CaptureDefaultPresetFillsTheFirstFreeSlotOnly)
{
  IPlugBase plug(MakeConfig(2, 2));
  DefineRamp(plug);  // 1, 11
  plug.CaptureDefaultPreset();
  plug.GetParam(0)->AssignPlain(40);
  plug.CaptureDefaultPreset();
  plug.GetParam(0)->AssignPlain(80);
  plug.CaptureDefaultPreset();  // no free slot left

  double v = 0;
  EXPECT_STREQ(plug.GetPreset(0)->Name(), "-");
  plug.GetPreset(0)->Chunk().ReadDouble(&v, 0);
  EXPECT_EQ(v, 1.0);
  EXPECT_STREQ(plug.GetPreset(1)->Name(), "-");
  plug.GetPreset(1)->Chunk().ReadDouble(&v, 0);
  EXPECT_EQ(v, 40.0);
  EXPECT_EQ(plug.GetPreset(1)->Chunk().Size(), 16);

  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
}

TEST(PlugBase, AnEditorEditStoresReportsAndNotifiesUnderTheLock)
{
  RecordingPlug plug(MakeConfig(3, 0));
  DefineRamp(plug);
  plug.SetParamFromEditor(2, 0.25);
  EXPECT_EQ(plug.GetParam(2)->Value(), 250.0);
  ASSERT_EQ(plug.reported.size(), 1u);
  EXPECT_EQ(plug.reported[0], std::make_pair(2, 0.25));
  EXPECT_EQ(plug.changed, std::vector<int>{2});
  EXPECT_FALSE(plug.changedWithoutLock);

  plug.SetParamFromEditor(3, 0.5);
  plug.SetParamFromEditor(-1, 0.5);
  EXPECT_EQ(plug.reported.size(), 1u);
}

TEST(PlugBase, TheLockIsReentrantForTheDefaultOverridables)
{
  IPlugBase plug(MakeConfig(1, 0));
  IPlugBase::Guard outer(plug.GetMutex());
  plug.ResetProcessing();
  plug.ParameterChanged(0);
  plug.ActivationChanged(true);
  IStateChunk chunk;
  EXPECT_TRUE(plug.SerializeParams(chunk));
}

TEST(PlugBase, BlockSizeSizesAndZeroesEveryScratchBuffer)
{
  IPlugBase plug(MakeConfig(0, 0));
  plug.SetBlockSize(64);
  EXPECT_EQ(plug.BlockSize(), 64);
  for (int i = 0; i < 2; ++i)
  {
    EXPECT_EQ(plug.InChannel(i)->scratch, std::vector<double>(64, 0.0));
    EXPECT_EQ(plug.OutChannel(i)->scratch, std::vector<double>(64, 0.0));
  }
  plug.OutChannel(0)->scratch[3] = 1.0;
  plug.SetBlockSize(64);  // unchanged size: left alone
  EXPECT_EQ(plug.OutChannel(0)->scratch[3], 1.0);
  plug.SetBlockSize(-5);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_TRUE(plug.OutChannel(0)->scratch.empty());
}

TEST(PlugBase, PointersAtScratchFollowItWhenTheBlockSizeChanges)
{
  IPlugBase plug(MakeConfig(0, 0));
  plug.SetBlockSize(16);
  plug.DisconnectChannels();
  double hostBuffer[8] = {};
  plug.InputPointers()[1] = hostBuffer;
  plug.SetBlockSize(4096);
  EXPECT_EQ(plug.InputPointers()[0], plug.InChannel(0)->scratch.data());
  EXPECT_EQ(plug.OutputPointers()[1], plug.OutChannel(1)->scratch.data());
  EXPECT_EQ(plug.InputPointers()[1], hostBuffer);
}

TEST(PlugBase, DefaultProcessingCopiesInputsAndSilencesSpareOutputs)
{
  IPlugBase plug(MakeConfig(0, 0, "1-2"));
  double in[3] = {1, 2, 3};
  double out0[3] = {9, 9, 9};
  double out1[3] = {9, 9, 9};
  double* ins[] = {in};
  double* outs[] = {out0, out1};
  plug.ProcessDoubles(ins, outs, 3);
  EXPECT_EQ(std::vector<double>(out0, out0 + 3), std::vector<double>({1, 2, 3}));
  EXPECT_EQ(std::vector<double>(out1, out1 + 3), std::vector<double>({0, 0, 0}));
}

TEST(PlugBase, BypassWithoutLatencyPassesInputStraightThrough)
{
  IPlugBase plug(MakeConfig(0, 0));
  double l[4] = {1, 2, 3, 4}, r[4] = {-1, -2, -3, -4};
  double outL[4] = {}, outR[4] = {};
  double* ins[] = {l, r};
  double* outs[] = {outL, outR};
  plug.ProcessBypassed(ins, outs, 4);
  EXPECT_EQ(std::vector<double>(outL, outL + 4), std::vector<double>(l, l + 4));
  EXPECT_EQ(std::vector<double>(outR, outR + 4), std::vector<double>(r, r + 4));
}

TEST(PlugBase, BypassWithLatencyDelaysEachChannelAcrossBlocks)
{
  IPlugBase plug(MakeConfig(0, 0));
  plug.SetLatency(3);
  EXPECT_EQ(plug.Latency(), 3);
  std::vector<double> gotL, gotR;
  for (int block = 0; block < 3; ++block)
  {
    double l[2], r[2];
    for (int i = 0; i < 2; ++i)
    {
      l[i] = 1 + 2 * block + i;  // 1, 2, 3, ...
      r[i] = -l[i];
    }
    double* ins[] = {l, r};
    double* outs[] = {l, r};  // in place
    plug.ProcessBypassed(ins, outs, 2);
    gotL.insert(gotL.end(), l, l + 2);
    gotR.insert(gotR.end(), r, r + 2);
  }
  EXPECT_EQ(gotL, std::vector<double>({0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(gotR, std::vector<double>({0, 0, 0, -1, -2, -3}));

  plug.SetLatency(1);  // a new length starts from silence
  double x[2] = {7, 8}, y[2] = {0, 0};
  double* ins[] = {x, y};
  double* outs[] = {x, y};
  plug.ProcessBypassed(ins, outs, 2);
  EXPECT_EQ(x[0], 0.0);
  EXPECT_EQ(x[1], 7.0);
}

TEST(PlugBase, ParameterGroupsGetUnitIdsInOrderOfFirstUse)
{
  IPlugBase plug(MakeConfig(0, 0));
  EXPECT_EQ(plug.AddParamGroup(""), 0);
  EXPECT_EQ(plug.AddParamGroup(nullptr), 0);
  EXPECT_EQ(plug.AddParamGroup("EQ"), 1);
  EXPECT_EQ(plug.AddParamGroup("Filters"), 2);
  EXPECT_EQ(plug.AddParamGroup("EQ"), 1);
  EXPECT_EQ(plug.NParamGroups(), 2);
  EXPECT_STREQ(plug.ParamGroup(1), "Filters");
}
