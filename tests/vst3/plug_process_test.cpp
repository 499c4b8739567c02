#include "graphics/IBitmapControl.h"
#include "graphics/IGraphicsWindowless.h"
#include "tests/vst3/AudioBlock.h"
#include "tests/vst3/ProbePlug.h"
#include "tools/host/HostApplication.h"
#include "tools/host/ParameterChanges.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string narrow(const TChar* text)
{
  std::string s;
  for (int i = 0; i < 128 && text[i]; ++i)
    s += static_cast<char>(text[i]);
  return s;
}

struct ProcessTest : ::testing::Test
{
  ProcessTest()
  {
    EXPECT_EQ(plug->initialize(&host), kResultOk);
    // As a host does for the buses it feeds.
    plug->activateBus(kAudio, kInput, 0, true);
    plug->activateBus(kAudio, kOutput, 0, true);
    plug->changed.clear();
  }
  ~ProcessTest() override { plug->terminate(); }

  tresult setup(int maxBlock, int sampleSize = kSample32, double rate = 48000.0)
  {
    ProcessSetup s = {kRealtime, sampleSize, maxBlock, rate};
    return plug->setupProcessing(s);
  }
  double value(int index) const { return plug->GetParam(index)->Value(); }

  // Every output sample the host can see is twice its input.
  void expectDoubled(const AudioBlock& block, int channels)
  {
    for (int c = 0; c < channels; ++c)
      for (int i = 0; i < block.frames; ++i)
        ASSERT_EQ(block.output(c, i), 2.0 * block.input(c, i)) << "channel " << c << " frame " << i;
  }

  IPtr<ProbePlug> plug = MakeProbe();
  host::HostApplication host;
};

}  // namespace

TEST_F(ProcessTest, processesBothSampleSizesThroughDoubleBuffers)
{
  for (bool is64 : {false, true})
  {
    ASSERT_EQ(setup(256, is64 ? kSample64 : kSample32), kResultOk);
    AudioBlock block(2, 256, is64);
    ASSERT_EQ(plug->process(block.data), kResultOk);
    expectDoubled(block, 2);
  }
}

TEST_F(ProcessTest, canProcessBothSampleSizesAndNothingElse)
{
  EXPECT_EQ(plug->canProcessSampleSize(kSample32), kResultOk);
  EXPECT_EQ(plug->canProcessSampleSize(kSample64), kResultOk);
  EXPECT_EQ(plug->canProcessSampleSize(2), kResultFalse);
  EXPECT_EQ(plug->canProcessSampleSize(-1), kResultFalse);
}

TEST_F(ProcessTest, setupProcessingStoresTheRateSizesTheScratchAndResets)
{
  ASSERT_EQ(setup(300, kSample64, 96000.0), kResultOk);
  EXPECT_EQ(plug->SampleRate(), 96000.0);
  EXPECT_EQ(plug->BlockSize(), 300);
  EXPECT_EQ(plug->resets, 1);
  EXPECT_EQ(plug->getProcessSetup().maxSamplesPerBlock, 300);
}

TEST_F(ProcessTest, aSetupTheEngineCannotRunWithIsRefusedAndChangesNothing)
{
  struct Case
  {
    const char* what;
    int32 sampleSize;
    int32 maxBlock;
    double rate;
  } cases[] = {
      {"zero rate", kSample32, 512, 0.0},
      {"negative rate", kSample32, 512, -48000.0},
      {"NaN rate", kSample32, 512, std::numeric_limits<double>::quiet_NaN()},
      {"infinite rate", kSample32, 512, std::numeric_limits<double>::infinity()},
      {"zero block", kSample32, 0, 48000.0},
      {"negative block", kSample64, -16, 48000.0},
      {"unknown sample size", 2, 512, 48000.0},
      {"negative sample size", -1, 512, 48000.0},
  };
  for (const Case& c : cases)
  {
    ProcessSetup s = {kRealtime, c.sampleSize, c.maxBlock, c.rate};
    EXPECT_EQ(plug->setupProcessing(s), kResultFalse) << c.what;
    EXPECT_EQ(plug->SampleRate(), 44100.0) << c.what;
    EXPECT_EQ(plug->BlockSize(), 0) << c.what;
    EXPECT_EQ(plug->resets, 0) << c.what;
  }
}

TEST_F(ProcessTest, zeroSamplesWithoutBuffersDeliverParameterChangesOnly)
{
  ASSERT_EQ(setup(128), kResultOk);
  host::ParameterChanges changes;
  changes.add(ProbePlug::kGain, 0.75);
  ProcessData data;
  data.numSamples = 0;
  data.inputParameterChanges = &changes;
  ASSERT_EQ(plug->process(data), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 8.0);
  EXPECT_EQ(plug->changed, std::vector<int>{ProbePlug::kGain});
  // The engine still gets its per-block work, with no frames to touch.
  EXPECT_EQ(plug->processCalls, 1);
  EXPECT_EQ(plug->largestSlice, 0);

  // While bypassed there is no engine block to run.
  plug->SetBypassed(true);
  ASSERT_EQ(plug->process(data), kResultOk);
  EXPECT_EQ(plug->processCalls, 1);
}

TEST_F(ProcessTest, aBlockLongerThanAnnouncedRunsInSlicesOfTheAnnouncedSize)
{
  for (bool is64 : {false, true})
  {
    ASSERT_EQ(setup(64, is64 ? kSample64 : kSample32), kResultOk);
    plug->processCalls = plug->largestSlice = 0;
    AudioBlock block(2, 200, is64);
    ASSERT_EQ(plug->process(block.data), kResultOk);
    expectDoubled(block, 2);
    EXPECT_EQ(plug->processCalls, 4);  // 64 + 64 + 64 + 8
    EXPECT_EQ(plug->largestSlice, 64);
  }
}

TEST_F(ProcessTest, missingChannelBuffersAreNeverWrittenAndReadAsSilence)
{
  ASSERT_EQ(setup(64), kResultOk);
  {
    AudioBlock block(2, 64, false);
    block.inBus.channelBuffers32 = nullptr;
    block.outPointers[1] = nullptr;
    ASSERT_EQ(plug->process(block.data), kResultOk);
    for (int i = 0; i < 64; ++i)
      EXPECT_EQ(block.output(0, i), 0.0) << i;
  }
  {
    AudioBlock block(2, 64, true);
    block.outBus.channelBuffers64 = nullptr;
    block.inPointers[0] = nullptr;
    ASSERT_EQ(plug->process(block.data), kResultOk);
  }
  {
    AudioBlock block(2, 64, false);
    block.data.inputs = nullptr;
    block.data.outputs = nullptr;
    ASSERT_EQ(plug->process(block.data), kResultOk);
  }
}

TEST_F(ProcessTest, fewerChannelsThanTheBusDeclaresTouchOnlyThoseGiven)
{
  ASSERT_EQ(setup(64), kResultOk);
  AudioBlock block(2, 64, false);
  block.inBus.numChannels = 1;
  block.outBus.numChannels = 1;
  ASSERT_EQ(plug->process(block.data), kResultOk);
  expectDoubled(block, 1);
  for (int i = 0; i < 64; ++i)
    ASSERT_EQ(block.output(1, i), AudioBlock::kMarker);
}

TEST_F(ProcessTest, anInactiveOutputBusIsLeftAlone)
{
  ASSERT_EQ(setup(64), kResultOk);
  ASSERT_EQ(plug->activateBus(kAudio, kOutput, 0, false), kResultTrue);
  BusInfo info = {};
  ASSERT_EQ(plug->getBusInfo(kAudio, kOutput, 0, info), kResultTrue);
  EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));  // the flag is only a hint
  AudioBlock block(2, 64, true);
  ASSERT_EQ(plug->process(block.data), kResultOk);
  EXPECT_EQ(block.output(0, 10), AudioBlock::kMarker);
  EXPECT_EQ(block.output(1, 10), AudioBlock::kMarker);
}

TEST_F(ProcessTest, outputChannelsItWritesAreNoLongerFlaggedSilent)
{
  ASSERT_EQ(setup(64), kResultOk);
  const uint64 allSilent = ~uint64{0};
  for (bool is64 : {false, true})
  {
    AudioBlock block(2, 64, is64);
    block.outBus.silenceFlags = allSilent;  // stale flags from the host's last use
    ASSERT_EQ(plug->process(block.data), kResultOk);
    EXPECT_EQ(block.outBus.silenceFlags, allSilent << 2) << is64;
  }
  // A channel without a buffer is not written, so its flag stays.
  AudioBlock partial(2, 64, false);
  partial.outPointers[1] = nullptr;
  partial.outBus.silenceFlags = 0x3;
  ASSERT_EQ(plug->process(partial.data), kResultOk);
  EXPECT_EQ(partial.outBus.silenceFlags, 0x2u);
  // Nor is an inactive bus.
  ASSERT_EQ(plug->activateBus(kAudio, kOutput, 0, false), kResultTrue);
  AudioBlock inactive(2, 64, false);
  inactive.outBus.silenceFlags = 0x3;
  ASSERT_EQ(plug->process(inactive.data), kResultOk);
  EXPECT_EQ(inactive.outBus.silenceFlags, 0x3u);
}

TEST_F(ProcessTest, processingBeforeAnySetupGivesSilence)
{
  AudioBlock block(2, 32, false);
  ASSERT_EQ(plug->process(block.data), kResultOk);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 32; ++i)
      EXPECT_EQ(block.output(c, i), 0.0);
  EXPECT_EQ(plug->processCalls, 0);
}

TEST_F(ProcessTest, onlyTheLastPointOfAQueueCounts)
{
  ASSERT_EQ(setup(256), kResultOk);
  host::ParameterChanges changes;
  changes.add(ProbePlug::kGain, 0.1, 0);
  changes.add(ProbePlug::kGain, 0.2, 100);
  changes.add(ProbePlug::kGain, 0.75, 200);
  AudioBlock block(2, 256, false);
  block.data.inputParameterChanges = &changes;
  ASSERT_EQ(plug->process(block.data), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 8.0);
  EXPECT_EQ(plug->changed, std::vector<int>{ProbePlug::kGain});
}

TEST_F(ProcessTest, editorControlsShowWhatTheParameterHoldsAfterAHostChange)
{
  ASSERT_EQ(setup(64), kResultOk);
  auto* editor = new IGraphicsWindowless(plug.get(), 100, 100);
  auto* gain = new IBitmapControl(plug.get(), 0, 0, ProbePlug::kGain, IBitmapRef());
  auto* steps = new IBitmapControl(plug.get(), 10, 0, ProbePlug::kSwitch, IBitmapRef());
  editor->AttachControl(gain);
  editor->AttachControl(steps);
  plug->AttachEditor(editor);
  host::ParameterChanges changes;
  changes.add(ProbePlug::kGain, 0.75);
  changes.add(ProbePlug::kSwitch, 0.4);  // 1.2 of 0..3, stepped to 1
  ProcessData data;
  data.inputParameterChanges = &changes;
  ASSERT_EQ(plug->process(data), kResultOk);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(steps->GetValue(), 1.0 / 3.0);
  EXPECT_TRUE(steps->IsDirty());
}

TEST_F(ProcessTest, changesForUnknownIdsAndEmptyQueuesAreIgnored)
{
  ASSERT_EQ(setup(64), kResultOk);
  host::ParameterChanges changes;
  changes.add(ProbePlug::kNumParams, 1.0);
  changes.add(0x7FFFFFFF, 1.0);
  int32 index = 0;
  changes.addParameterData(ProbePlug::kShaped, index);  // a queue without points
  ProcessData data;
  data.inputParameterChanges = &changes;
  ASSERT_EQ(plug->process(data), kResultOk);
  EXPECT_TRUE(plug->changed.empty());
  EXPECT_DOUBLE_EQ(value(ProbePlug::kShaped), 25.0);
}

TEST_F(ProcessTest, bypassEngagesAboveOneHalfAndPassesInputThroughExactly)
{
  ASSERT_EQ(setup(128), kResultOk);
  for (double v : {0.5, 0.51})
  {
    host::ParameterChanges changes;
    changes.add(IPlugVST3::kBypassParam, v);
    AudioBlock block(2, 128, false);
    block.data.inputParameterChanges = &changes;
    ASSERT_EQ(plug->process(block.data), kResultOk);
    const bool bypassed = v > 0.5;
    EXPECT_EQ(plug->IsBypassed(), bypassed) << v;
    EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kBypassParam), bypassed ? 1.0 : 0.0);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < 128; ++i)
        ASSERT_EQ(block.output(c, i), (bypassed ? 1.0 : 2.0) * block.input(c, i)) << v;
  }
}

TEST_F(ProcessTest, aProgramChangeRestoresThePresetItPointsAt)
{
  ASSERT_EQ(setup(64), kResultOk);
  for (auto [v, restores] : {std::pair<double, bool>{1.0, false}, {0.99, true}})
  {
    plug->GetParam(ProbePlug::kGain)->AssignPlain(8.0);
    host::ParameterChanges changes;
    changes.add(IPlugVST3::kPresetParam, v);
    ProcessData data;
    data.inputParameterChanges = &changes;
    ASSERT_EQ(plug->process(data), kResultOk);
    EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), restores ? 0.0 : 8.0) << v;
  }
}

TEST_F(ProcessTest, theHostTransportIsKeptForThePlugin)
{
  ProcessSetup s = {kOffline, kSample32, 64, 48000.0};
  ASSERT_EQ(plug->setupProcessing(s), kResultOk);
  ProcessContext context = {};
  context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
  context.tempo = 140.0;
  context.projectTimeSamples = (int64{1} << 32) + 4800;
  context.projectTimeMusic = 12.5;
  context.timeSigNumerator = 3;
  context.timeSigDenominator = 4;
  ProcessData data;
  data.processContext = &context;
  ASSERT_EQ(plug->process(data), kResultOk);

  EXPECT_TRUE(plug->RendersOffline());
  EXPECT_EQ(plug->HostTempo(), 140.0);
  EXPECT_EQ(plug->HostSamplePosition(), 4800);  // truncated to 32 bits
  int num = 0, den = 0;
  plug->HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 3);
  EXPECT_EQ(den, 4);
  IHostTransport t;
  plug->HostTransport(&t);
  EXPECT_TRUE(t.playing);
  EXPECT_TRUE(t.cycling);
  EXPECT_EQ(t.ppqPos, 12.5);
}

// --- buses and arrangements -------------------------------------------------------------

TEST_F(ProcessTest, announcesOneStereoBusEachWay)
{
  BusInfo info = {};
  ASSERT_EQ(plug->getBusInfo(kAudio, kInput, 0, info), kResultTrue);
  EXPECT_EQ(narrow(info.name), "Main Input");
  EXPECT_EQ(info.channelCount, 2);
  EXPECT_EQ(info.busType, kMain);
  EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
  ASSERT_EQ(plug->getBusInfo(kAudio, kOutput, 0, info), kResultTrue);
  EXPECT_EQ(narrow(info.name), "Output");
  EXPECT_EQ(info.channelCount, 2);
  EXPECT_EQ(plug->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(plug->getLatencySamples(), 0u);
  EXPECT_EQ(plug->getTailSamples(), 0u);
}

TEST_F(ProcessTest, busQueriesWithBadIndicesOrKindsAreRefused)
{
  BusInfo info = {};
  SpeakerArrangement arr = 0;
  for (int32 index : {-1, 1, 1000})
  {
    EXPECT_EQ(plug->getBusInfo(kAudio, kInput, index, info), kInvalidArgument) << index;
    EXPECT_EQ(plug->activateBus(kAudio, kOutput, index, true), kInvalidArgument) << index;
    EXPECT_EQ(plug->getBusArrangement(kOutput, index, arr), kInvalidArgument) << index;
  }
  EXPECT_EQ(plug->getBusInfo(kEvent, kInput, 0, info), kInvalidArgument);
  EXPECT_EQ(plug->getBusInfo(7, kInput, 0, info), kInvalidArgument);
  EXPECT_EQ(plug->getBusInfo(kAudio, 5, 0, info), kInvalidArgument);
  EXPECT_EQ(plug->getBusCount(7, kInput), 0);
}

TEST_F(ProcessTest, monoInAndOutIsAcceptedAndRenamesTheInputBus)
{
  SpeakerArrangement in = SpeakerArr::kMono, out = SpeakerArr::kMono;
  ASSERT_EQ(plug->setBusArrangements(&in, 1, &out, 1), kResultOk);
  BusInfo info = {};
  ASSERT_EQ(plug->getBusInfo(kAudio, kInput, 0, info), kResultTrue);
  EXPECT_EQ(narrow(info.name), "Input");
  EXPECT_EQ(info.channelCount, 1);
  ASSERT_EQ(plug->getBusInfo(kAudio, kOutput, 0, info), kResultTrue);
  EXPECT_EQ(narrow(info.name), "Output");
  EXPECT_EQ(info.channelCount, 1);
  SpeakerArrangement arr = 0;
  ASSERT_EQ(plug->getBusArrangement(kInput, 0, arr), kResultTrue);
  EXPECT_EQ(arr, SpeakerArr::kMono);

  ASSERT_EQ(setup(64), kResultOk);
  AudioBlock block(1, 64, false);
  ASSERT_EQ(plug->process(block.data), kResultOk);
  expectDoubled(block, 1);
}

TEST_F(ProcessTest, aBusReplacedByANewArrangementKeepsItsActivation)
{
  // The fixture activated both buses before arranging, as some hosts do.
  SpeakerArrangement mono = SpeakerArr::kMono;
  ASSERT_EQ(plug->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(setup(64), kResultOk);
  AudioBlock active(1, 64, false);
  ASSERT_EQ(plug->process(active.data), kResultOk);
  expectDoubled(active, 1);

  // And a bus the host switched off stays off.
  ASSERT_EQ(plug->activateBus(kAudio, kOutput, 0, false), kResultTrue);
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  ASSERT_EQ(plug->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  AudioBlock inactive(2, 64, false);
  ASSERT_EQ(plug->process(inactive.data), kResultOk);
  EXPECT_EQ(inactive.output(0, 0), AudioBlock::kMarker);
}

TEST_F(ProcessTest, illegalPairsAreRefusedAndLeaveTheBusesAsTheyWere)
{
  struct Case
  {
    const char* what;
    SpeakerArrangement in;
    int32 numIns;
    SpeakerArrangement out;
    int32 numOuts;
  } cases[] = {
      {"stereo in, mono out", SpeakerArr::kStereo, 1, SpeakerArr::kMono, 1},
      {"mono in, stereo out", SpeakerArr::kMono, 1, SpeakerArr::kStereo, 1},
      {"5.1", SpeakerArr::k51, 1, SpeakerArr::k51, 1},
      {"no input", SpeakerArr::kStereo, 0, SpeakerArr::kStereo, 1},
      {"negative count", SpeakerArr::kStereo, -1, SpeakerArr::kStereo, 1},
  };
  for (const Case& c : cases)
  {
    SpeakerArrangement in = c.in, out = c.out;
    EXPECT_EQ(plug->setBusArrangements(&in, c.numIns, &out, c.numOuts), kResultFalse) << c.what;
    BusInfo info = {};
    ASSERT_EQ(plug->getBusInfo(kAudio, kInput, 0, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 2) << c.what;
    EXPECT_EQ(narrow(info.name), "Main Input") << c.what;
  }
  SpeakerArrangement out = SpeakerArr::kStereo;
  EXPECT_EQ(plug->setBusArrangements(nullptr, 1, &out, 1), kResultFalse);
}

TEST_F(ProcessTest, stereoAfterMonoRestoresAStereoPair)
{
  SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo;
  ASSERT_EQ(plug->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(plug->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  BusInfo info = {};
  ASSERT_EQ(plug->getBusInfo(kAudio, kOutput, 0, info), kResultTrue);
  EXPECT_EQ(info.channelCount, 2);
}

TEST_F(ProcessTest, terminateRemovesBusesAndParametersAndAllowsANewStart)
{
  ASSERT_EQ(plug->terminate(), kResultOk);
  EXPECT_EQ(plug->getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(plug->getParameterCount(), 0);
  ParameterInfo info = {};
  EXPECT_EQ(plug->getParameterInfo(0, info), kResultFalse);
  ASSERT_EQ(plug->initialize(&host), kResultOk);
  EXPECT_EQ(plug->getParameterCount(), 2 + ProbePlug::kNumParams);
}
