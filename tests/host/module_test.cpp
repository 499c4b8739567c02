// System tests: the built Morvex module driven through the hosting code,
// the way a DAW drives it.
#include "tests/host/ModuleFixture.h"
#include "tests/vst3/AudioBlock.h"
#include "tools/host/Render.h"

#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPrst = 0x70727374, kBpas = 0x62706173;
constexpr ParamID kLowGain = 8, kHighGain = 2, kLowpass = 12, kHighpass = 6, kLowBell = 17;

std::string narrow(const TChar* text)
{
  std::string s;
  for (int i = 0; i < 128 && text[i]; ++i)
    s += static_cast<char>(text[i]);
  return s;
}

// The plug-in's parameter table: name, default, minimum, maximum, shape,
// continuous or switch.
struct TableRow
{
  const char* name;
  double def, min, max, shape;
  bool continuous;
  const char* units = "";
};
const TableRow kTable[20] = {
    {"Input", 0, -24, 24, 1, true, "dB"},
    {"High Frequency", 5000, 1500, 16000, 1, true, "Hz"},
    {"High Gain", 0, -16, 16, 1, true, "dB"},
    {"High Mid Frequency", 3000, 600, 7000, 2, true, "Hz"},
    {"High Mid Bandwidth", 0.5, 0, 1, 2, true, ""},
    {"High Mid Gain", 0, -16, 16, 1, true, "dB"},
    {"Highpass Filter", 16, 16, 350, 1, true, "Hz"},
    {"Low Frequency", 120, 30, 450, 2, true, "Hz"},
    {"Low Gain", 0, -16, 16, 1, true, "dB"},
    {"Low Mid Frequency", 500, 200, 2500, 1, true, "Hz"},
    {"Low Mid Bandwidth", 0.5, 0, 1, 2, true, ""},
    {"Low Mid Gain", 0, -16, 16, 1, true, "dB"},
    {"Lowpass Filter", 20000, 1000, 20000, 2, true, "Hz"},
    {"Output", 0, -24, 24, 1, true, "dB"},
    {"Reserved", 0, 0, 1, 1, false},  // the slot that is never defined
    {"EQ Bypass", 1, 0, 1, 1, false},
    {"Filter Bypass", 0, 0, 1, 1, false},
    {"Low Bell", 0, 0, 1, 1, false},
    {"High Bell", 0, 0, 1, 1, false},
    {"I/O Link", 0, 0, 1, 1, false},
};

double defaultNormalized(const TableRow& r)
{
  return std::pow((r.def - r.min) / (r.max - r.min), 1.0 / r.shape);
}

std::vector<char> stateBytes(const std::vector<double>& values, bool withWord, int32_t word = 0)
{
  std::vector<char> bytes;
  for (double v : values)
  {
    uint64_t raw;
    std::memcpy(&raw, &v, 8);
    for (int i = 0; i < 8; ++i)
      bytes.push_back(static_cast<char>(raw >> (8 * i)));
  }
  if (withWord)
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<char>(static_cast<uint32_t>(word) >> (8 * i)));
  return bytes;
}

std::vector<double> defaults()
{
  std::vector<double> values;
  for (const TableRow& r : kTable)
    values.push_back(r.def);
  return values;
}

// Deterministic noise of moderate level, exactly representable in float.
host::AudioData noise(int channels, size_t frames, double rate = 48000.0)
{
  host::AudioData audio;
  audio.sampleRate = rate;
  audio.channels.assign(static_cast<size_t>(channels), std::vector<double>(frames));
  uint32_t x = 12345u;
  for (auto& channel : audio.channels)
    for (double& v : channel)
    {
      x = x * 1664525u + 1013904223u;
      v = static_cast<float>((static_cast<double>(x >> 8) / 16777216.0 - 0.5) * 0.5);
    }
  return audio;
}

}  // namespace

// --- the module and its factory -------------------------------------------------------------

TEST_F(MorvexModuleTest, theFactoryOffersOneEqualiserClass)
{
  IPluginFactory* factory = sModule->factory();
  PFactoryInfo info;
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Pellicorn");
  EXPECT_EQ(info.flags, 16);
  ASSERT_EQ(factory->countClasses(), 1);

  void* obj = nullptr;
  ASSERT_EQ(factory->queryInterface(IPluginFactory2::iid, &obj), kResultOk);
  auto* factory2 = static_cast<IPluginFactory2*>(obj);
  PClassInfo2 c;
  ASSERT_EQ(factory2->getClassInfo2(0, &c), kResultOk);
  EXPECT_STREQ(c.name, "Morvex");
  EXPECT_STREQ(c.category, "Audio Module Class");
  EXPECT_STREQ(c.subCategories, "Fx|EQ");
  EXPECT_STREQ(c.vendor, "");
  EXPECT_STREQ(c.version, "5.1.0");
  EXPECT_STREQ(c.sdkVersion, "VST 3.6.12");
  EXPECT_EQ(c.classFlags, 2u);
  EXPECT_EQ(c.cardinality, 0x7FFFFFFF);
  EXPECT_EQ(factory2->getClassInfo2(1, &c), kInvalidArgument);
  EXPECT_EQ(factory2->getClassInfo2(-1, &c), kInvalidArgument);
  factory2->release();
}

TEST_F(MorvexModuleTest, theClassIdCarriesTheVendorAndPluginCodes)
{
  PClassInfo c;
  ASSERT_EQ(sModule->factory()->getClassInfo(0, &c), kResultOk);
  // The words 0xF2AEE70D, 0x00DE4F4E, 'Pelc', 'Mvx1' in the SDK's byte order:
  // COM order on Windows, plain big-endian elsewhere.
#if defined(_WIN32)
  const unsigned char expected[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                      'P',  'e',  'l',  'c',  'M',  'v',  'x',  '1'};
  EXPECT_EQ(std::string(c.cid + 6, 10), "NOPelcMvx1");
#else
  const unsigned char expected[16] = {0xF2, 0xAE, 0xE7, 0x0D, 0x00, 0xDE, 0x4F, 0x4E,
                                      'P',  'e',  'l',  'c',  'M',  'v',  'x',  '1'};
#endif
  EXPECT_EQ(std::memcmp(c.cid, expected, 16), 0);
}

TEST_F(MorvexModuleTest, eachGetPluginFactoryCallHandsOutOneMoreReference)
{
  IPluginFactory* first = sModule->factory();
  const uint32 before = first->addRef();
  first->release();
  IPluginFactory* again = sModule->callGetPluginFactory();
  EXPECT_EQ(again, first);
  const uint32 during = again->addRef();
  again->release();
  EXPECT_EQ(during, before + 1);
  again->release();
}

TEST_F(MorvexModuleTest, oneObjectIsComponentProcessorAndController)
{
  EXPECT_TRUE(mPlugin->isSingleComponent());
  TUID cid;
  EXPECT_EQ(mPlugin->component()->getControllerClassId(cid), kNotImplemented);
  EXPECT_EQ(mPlugin->processor()->canProcessSampleSize(kSample64), kResultOk);
  EXPECT_EQ(mPlugin->processor()->getLatencySamples(), 0u);
  EXPECT_EQ(mPlugin->processor()->getTailSamples(), 0u);
  EXPECT_EQ(mPlugin->mainChannels(kInput), 2);
  EXPECT_EQ(mPlugin->mainChannels(kOutput), 2);
}

// --- parameters and texts -----------------------------------------------------------------

TEST_F(MorvexModuleTest, theHostSeesTwentyTwoParameters)
{
  const std::vector<ParameterInfo> params = mPlugin->parameters();
  ASSERT_EQ(params.size(), 22u);
  EXPECT_EQ(params[0].id, kPrst);
  EXPECT_EQ(narrow(params[0].title), "Preset");
  EXPECT_EQ(params[0].flags, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(params[0].stepCount, 1);
  EXPECT_EQ(params[1].id, kBpas);
  EXPECT_EQ(narrow(params[1].title), "Bypass");
  EXPECT_EQ(params[1].flags, 0x10009);
  EXPECT_EQ(params[1].stepCount, 1);
  for (int i = 0; i < 20; ++i)
  {
    const ParameterInfo& p = params[static_cast<size_t>(i) + 2];
    const TableRow& row = kTable[i];
    EXPECT_EQ(p.id, static_cast<ParamID>(i));
    EXPECT_EQ(narrow(p.title), row.name) << i;
    // The real unit of each continuous parameter; bandwidths and switches have none.
    EXPECT_EQ(narrow(p.units), row.units) << i;
    EXPECT_EQ(p.stepCount, row.continuous ? 0 : 1) << i;
    EXPECT_NEAR(p.defaultNormalizedValue, defaultNormalized(row), 1e-12) << i;
    // Slot 14 holds its place but is neither a control nor an automation lane.
    EXPECT_EQ(p.flags, i == 14 ? ParameterInfo::kIsHidden | ParameterInfo::kIsReadOnly
                               : ParameterInfo::kCanAutomate)
        << i;
    EXPECT_EQ(p.unitId, 0) << i;
  }
}

TEST_F(MorvexModuleTest, displayTextsAndTypedValues)
{
  EXPECT_EQ(mPlugin->valueText(kHighGain, 0.5), "0.00");
  EXPECT_EQ(mPlugin->valueText(kLowpass, 1.0), "20000.00");
  EXPECT_EQ(mPlugin->valueText(kHighpass, 0.0), "16.00");
  EXPECT_EQ(mPlugin->valueText(kLowBell, 1.0), "1");
  EXPECT_EQ(mPlugin->valueText(kBpas, 1.0), "");  // no text for the adapter's own

  IEditController* controller = mPlugin->controller();
  String128 text = {'6', 0};
  ParamValue normalized = 0.0;
  ASSERT_EQ(controller->getParamValueByString(kLowGain, text, normalized), kResultOk);
  EXPECT_DOUBLE_EQ(normalized, (6.0 + 16.0) / 32.0);
  const double lowpass8k = std::sqrt((8000.0 - 1000.0) / 19000.0);
  EXPECT_NEAR(controller->plainParamToNormalized(kLowpass, 8000.0), lowpass8k, 1e-12);
  EXPECT_NEAR(controller->normalizedParamToPlain(kLowpass, lowpass8k), 8000.0, 1e-9);
}

TEST_F(MorvexModuleTest, everyTextFitsItsHostBuffer)
{
  IEditController* controller = mPlugin->controller();
  for (ParamID id = 0; id < 20; ++id)
    for (double n : {0.0, 0.5, 1.0, -3.0, 7.0, std::numeric_limits<double>::quiet_NaN()})
    {
      TChar buffer[132];
      for (TChar& unit : buffer)
        unit = 0x5A5A;
      controller->getParamStringByValue(id, n, buffer);
      int length = 0;
      while (length < 128 && buffer[length] != 0)
        ++length;
      EXPECT_LT(length, 128) << id << " at " << n;
      EXPECT_EQ(buffer[128], 0x5A5A) << id;
    }
}

TEST_F(MorvexModuleTest, indexQueriesOutOfRangeAnswerInsteadOfThrowing)
{
  IEditController* controller = mPlugin->controller();
  ParameterInfo info = {};
  for (int32 index : {-1, 22, INT_MAX, INT_MIN})
    EXPECT_EQ(controller->getParameterInfo(index, info), kResultFalse) << index;
  BusInfo bus = {};
  EXPECT_EQ(mPlugin->component()->getBusInfo(kAudio, kInput, 1, bus), kInvalidArgument);
  EXPECT_EQ(mPlugin->component()->getBusInfo(kAudio, kOutput, -1, bus), kInvalidArgument);
  EXPECT_EQ(mPlugin->component()->getBusInfo(kEvent, kInput, 0, bus), kInvalidArgument);

  void* obj = nullptr;
  ASSERT_EQ(controller->queryInterface(IUnitInfo::iid, &obj), kResultOk);
  auto* units = static_cast<IUnitInfo*>(obj);
  UnitInfo unit = {};
  EXPECT_EQ(units->getUnitCount(), 1);
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(narrow(unit.name), "Root Unit");
  EXPECT_EQ(units->getUnitInfo(1, unit), kResultFalse);
  EXPECT_EQ(units->getUnitInfo(-1, unit), kResultFalse);
  String128 name = {};
  EXPECT_EQ(units->getProgramName(0, 0, name), kResultFalse);
  units->release();
}

TEST_F(MorvexModuleTest, theProgramListIsUncountedButNamesItsOnePreset)
{
  void* obj = nullptr;
  ASSERT_EQ(mPlugin->controller()->queryInterface(IUnitInfo::iid, &obj), kResultOk);
  auto* units = static_cast<IUnitInfo*>(obj);
  EXPECT_EQ(units->getProgramListCount(), 0);
  ProgramListInfo list = {};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  String128 name = {};
  ASSERT_EQ(units->getProgramName(kPrst, 0, name), kResultOk);
  EXPECT_EQ(narrow(name), "-");
  units->release();
}

// --- state ----------------------------------------------------------------------------------

TEST_F(MorvexModuleTest, freshStateIs164BytesOfDefaultsAndAZeroBypassWord)
{
  std::vector<char> state;
  ASSERT_TRUE(mPlugin->getState(state));
  EXPECT_EQ(state, stateBytes(defaults(), true, 0));
}

TEST_F(MorvexModuleTest, stateRestoresWithAndWithoutTheBypassWord)
{
  std::vector<double> values = defaults();
  values[kLowGain] = 6.0;
  values[kLowBell] = 1.0;
  ASSERT_TRUE(mPlugin->setState(stateBytes(values, true, 1)));
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 22.0 / 32.0);
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kLowBell), 1.0);
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 1.0);
  std::vector<char> saved;
  ASSERT_TRUE(mPlugin->getState(saved));
  EXPECT_EQ(saved, stateBytes(values, true, 1));

  values[kLowGain] = -4.0;
  EXPECT_FALSE(mPlugin->setState(stateBytes(values, false)));  // no bypass word
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 12.0 / 32.0);
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 1.0);
}

TEST_F(MorvexModuleTest, aBypassRestoredBeforeTheProcessingSetupStaysOn)
{
  // A project loads: state first, then set-up, activation and audio.
  std::vector<double> values = defaults();
  values[kLowGain] = 12.0;
  ASSERT_TRUE(mPlugin->setState(stateBytes(values, true, 1)));
  ASSERT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 1.0);  // what the host shows
  const host::AudioData in = noise(2, 2000);
  host::AudioData out;
  std::string error;
  ASSERT_TRUE(host::Render(*mPlugin, in, out, {}, error)) << error;
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 1.0);
  EXPECT_EQ(out.channels, in.channels);
}

TEST_F(MorvexModuleTest, damagedStateNeverCrashesAndKeepsValuesSound)
{
  IEditController* controller = mPlugin->controller();
  // Not-a-number and infinities restore as defaults.
  std::vector<double> values = defaults();
  values[kLowGain] = std::numeric_limits<double>::quiet_NaN();
  values[kLowpass] = std::numeric_limits<double>::infinity();
  ASSERT_TRUE(mPlugin->setState(stateBytes(values, true, 0)));
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kLowGain), 0.5);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kLowpass), 1.0);

  // A short stream restores what it holds; the rest keep their values.
  values = defaults();
  values[kHighGain] = 8.0;
  values[kLowGain] = 8.0;
  ASSERT_TRUE(mPlugin->setState(stateBytes(defaults(), true, 0)));
  std::vector<char> shortState = stateBytes(values, false);
  shortState.resize(8 * 5);  // parameters 0..4 only
  EXPECT_FALSE(mPlugin->setState(shortState));
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kHighGain), 0.75);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kLowGain), 0.5);

  // An empty stream changes nothing.
  EXPECT_FALSE(mPlugin->setState({}));
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kHighGain), 0.75);

  // Garbage: every value lands inside its parameter's range.
  std::vector<char> garbage(200);
  uint32_t x = 99u;
  for (char& b : garbage)
    b = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  mPlugin->setState(garbage);
  for (ParamID id = 0; id < 20; ++id)
  {
    const double n = controller->getParamNormalized(id);
    EXPECT_TRUE(n >= 0.0 && n <= 1.0) << id << ": " << n;
  }
}

// --- parameter changes through process -----------------------------------------------------------

namespace {

// A parameter flush: a process call with no samples and no buffers.
tresult flush(host::PluginInstance& plugin, std::initializer_list<std::pair<ParamID, double>> points,
              host::ParameterChanges* outputChanges = nullptr)
{
  host::ParameterChanges changes;
  for (const auto& p : points)
    changes.add(p.first, p.second);
  ProcessData data;
  data.numSamples = 0;
  data.inputParameterChanges = &changes;
  data.outputParameterChanges = outputChanges;
  return plugin.processor()->process(data);
}

}  // namespace

TEST_F(MorvexModuleTest, aFlushWithoutBuffersAppliesChanges)
{
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  ASSERT_EQ(flush(*mPlugin, {{kLowGain, 0.75}}), kResultOk);
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 0.75);
}

TEST_F(MorvexModuleTest, bypassEngagesOnlyAboveOneHalf)
{
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  ASSERT_EQ(flush(*mPlugin, {{kBpas, 0.5}}), kResultOk);
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 0.0);
  ASSERT_EQ(flush(*mPlugin, {{kBpas, 0.51}}), kResultOk);
  EXPECT_EQ(mPlugin->controller()->getParamNormalized(kBpas), 1.0);
}

TEST_F(MorvexModuleTest, aProgramChangeBelowOneRestoresTheDefaultPreset)
{
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  ASSERT_EQ(flush(*mPlugin, {{kLowGain, 0.75}}), kResultOk);
  ASSERT_EQ(flush(*mPlugin, {{kPrst, 1.0}}), kResultOk);
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 0.75);
  ASSERT_EQ(flush(*mPlugin, {{kPrst, 0.99}}), kResultOk);
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 0.5);
}

TEST_F(MorvexModuleTest, onlyTheLastPointOfAQueueIsApplied)
{
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  host::ParameterChanges changes;
  changes.add(kLowGain, 0.1, 0);
  changes.add(kLowGain, 0.2, 100);
  changes.add(kLowGain, 0.8125, 200);
  AudioBlock block(2, 256, false);
  ASSERT_TRUE(mPlugin->process32(reinterpret_cast<float* const*>(block.inPointers.data()),
                                 reinterpret_cast<float* const*>(block.outPointers.data()), 256,
                                 &changes));
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kLowGain), 0.8125);
}

TEST_F(MorvexModuleTest, theControllerShowsABypassTheHostSetsAheadOfItsBlock)
{
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  IEditController* controller = mPlugin->controller();
  struct Step
  {
    const char* what;
    double controllerValue;    // set on the controller first, or -1
    double blockValue;         // then delivered with a flush, or -1
    double shown;              // what the controller answers afterwards
  } steps[] = {
      {"set on the controller only", 1.0, -1, 1.0},
      {"and delivered", -1, 1.0, 1.0},
      {"cleared on the controller only", 0.0, -1, 0.0},
      {"the block says otherwise", -1, 1.0, 1.0},
      {"delivered off", 0.0, 0.0, 0.0},
  };
  for (const Step& step : steps)
  {
    if (step.controllerValue >= 0)
    {
      EXPECT_EQ(controller->setParamNormalized(kBpas, step.controllerValue), kResultOk) << step.what;
    }
    if (step.blockValue >= 0)
    {
      ASSERT_EQ(flush(*mPlugin, {{kBpas, step.blockValue}}), kResultOk);
    }
    EXPECT_EQ(controller->getParamNormalized(kBpas), step.shown) << step.what;
  }

  // Only the processor's bypass is saved: a restored state shows its own word.
  controller->setParamNormalized(kBpas, 1.0);
  std::vector<char> state;
  ASSERT_TRUE(mPlugin->getState(state));
  EXPECT_EQ(state[160], 0);
  ASSERT_TRUE(mPlugin->setState(state));
  EXPECT_EQ(controller->getParamNormalized(kBpas), 0.0);
}

TEST_F(MorvexModuleTest, theHostHearsWhereTheLinkMovesOutput)
{
  constexpr ParamID kInput = 0, kOutput = 13, kIOLink = 19;
  auto db = [](double v) { return (v + 24.0) / 48.0; };  // "Input" and "Output" normalized
  std::string error;
  ASSERT_TRUE(mPlugin->prepare({}, error)) << error;
  AudioBlock block(2, 64, false);
  auto process = [&](std::initializer_list<std::pair<ParamID, double>> points) {
    host::ParameterChanges changes;
    for (const auto& p : points)
      changes.add(p.first, p.second);
    EXPECT_TRUE(mPlugin->process32(reinterpret_cast<float* const*>(block.inPointers.data()),
                                   reinterpret_cast<float* const*>(block.outPointers.data()), 64,
                                   &changes));
  };
  // The one output change of the last block: "Output" at offset 0, or -1 for none.
  auto reportedOutput = [&]() {
    host::ParameterChanges& out = mPlugin->lastOutputChanges();
    if (out.getParameterCount() == 0)
      return -1.0;
    EXPECT_EQ(out.getParameterCount(), 1);
    IParamValueQueue* queue = out.getParameterData(0);
    EXPECT_EQ(queue->getParameterId(), kOutput);
    EXPECT_EQ(queue->getPointCount(), 1);
    int32 offset = -1;
    ParamValue value = -1.0;
    EXPECT_EQ(queue->getPoint(0, offset, value), kResultOk);
    EXPECT_EQ(offset, 0);
    return value;
  };

  process({{kIOLink, 1.0}, {kInput, db(6)}});
  EXPECT_DOUBLE_EQ(reportedOutput(), db(-6)) << "the link moved Output";
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kOutput), db(-6));
  process({});
  EXPECT_EQ(reportedOutput(), -1.0) << "nothing moved";
  process({{kInput, db(6)}});
  EXPECT_EQ(reportedOutput(), -1.0) << "the same Input again";

  // A flush moves Output but reports nothing; the next block does.
  host::ParameterChanges flushOut;
  ASSERT_EQ(flush(*mPlugin, {{kInput, db(12)}}, &flushOut), kResultOk);
  EXPECT_EQ(flushOut.getParameterCount(), 0);
  process({});
  EXPECT_DOUBLE_EQ(reportedOutput(), db(-12)) << "the change the flush made";

  process({{kOutput, db(3)}});
  EXPECT_DOUBLE_EQ(reportedOutput(), db(-12)) << "the host's own Output, overridden";
  process({{kIOLink, 0.0}, {kOutput, db(3)}});
  EXPECT_EQ(reportedOutput(), -1.0) << "no link, no report";
  EXPECT_DOUBLE_EQ(mPlugin->controller()->getParamNormalized(kOutput), db(3));
}

// --- audio ----------------------------------------------------------------------------------------

TEST_F(MorvexModuleTest, thirtyTwoAndSixtyFourBitProcessingAgreeToFloatPrecision)
{
  const host::AudioData in = noise(2, 48000);
  host::RenderOptions options;
  options.settings = {{kLowGain, 0.6875}, {kHighpass, (80.0 - 16.0) / 334.0}, {kLowBell, 1.0}};
  host::AudioData out32, out64;
  std::string error;
  options.precision = 32;
  ASSERT_TRUE(host::Render(*mPlugin, in, out32, options, error)) << error;
  // A fresh instance: smoothers and filter memories start alike.
  auto fresh = host::PluginInstance::Create(*sModule, mHost, error);
  ASSERT_NE(fresh, nullptr) << error;
  options.precision = 64;
  ASSERT_TRUE(host::Render(*fresh, in, out64, options, error)) << error;
  double largest = 0.0, changed = 0.0;
  for (size_t c = 0; c < 2; ++c)
    for (size_t i = 0; i < in.frames(); ++i)
    {
      largest = std::max(largest, std::fabs(out32.channels[c][i] - out64.channels[c][i]));
      changed = std::max(changed, std::fabs(out64.channels[c][i] - in.channels[c][i]));
    }
  EXPECT_LT(largest, 1e-6);  // the signal peaks near 0.5: a few float steps
  EXPECT_GT(changed, 1e-3);  // and the settings did change it
}

TEST_F(MorvexModuleTest, hostBypassPassesStereoInputThroughExactly)
{
  const host::AudioData in = noise(2, 4000);
  for (int precision : {32, 64})
  {
    host::RenderOptions options;
    options.precision = precision;
    options.settings = {{kBpas, 1.0}, {kLowGain, 1.0}};
    host::AudioData out;
    std::string error;
    ASSERT_TRUE(host::Render(*mPlugin, in, out, options, error)) << error;
    EXPECT_EQ(out.channels, in.channels) << precision;
  }
}

TEST_F(MorvexModuleTest, monoAndStereoArePlayableAndOtherPairsAreRefused)
{
  for (int channels : {1, 2})
  {
    host::AudioData out;
    std::string error;
    host::RenderOptions options;
    ASSERT_TRUE(host::Render(*mPlugin, noise(channels, 1000), out, options, error))
        << channels << ": " << error;
    EXPECT_EQ(out.channelCount(), channels);
  }
  BusInfo bus = {};
  ASSERT_EQ(mPlugin->component()->getBusInfo(kAudio, kInput, 0, bus), kResultTrue);
  EXPECT_EQ(bus.channelCount, 2);

  SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono;
  EXPECT_EQ(mPlugin->processor()->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(mPlugin->component()->getBusInfo(kAudio, kInput, 0, bus), kResultTrue);
  EXPECT_EQ(narrow(bus.name), "Input");
  EXPECT_EQ(mPlugin->processor()->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);

  std::string error;
  host::AudioData out;
  EXPECT_FALSE(host::Render(*mPlugin, noise(3, 10), out, {}, error));
  EXPECT_NE(error.find("does not process 3-channel audio"), std::string::npos) << error;
}

TEST_F(MorvexModuleTest, aBlockLongerThanAnnouncedSoundsLikeBlocksOfTheAnnouncedSize)
{
  const host::AudioData in = noise(2, 256);
  std::string error;
  host::PluginInstance::Setup setup;
  setup.maxBlock = 64;
  auto run = [&](host::PluginInstance& plugin, int block) {
    std::vector<std::vector<float>> src(2), dst(2, std::vector<float>(256));
    for (size_t c = 0; c < 2; ++c)
      src[c].assign(in.channels[c].begin(), in.channels[c].end());
    host::ParameterChanges changes;
    changes.add(kLowGain, 1.0);
    for (int pos = 0; pos < 256; pos += block)
    {
      float* ins[2] = {src[0].data() + pos, src[1].data() + pos};
      float* outs[2] = {dst[0].data() + pos, dst[1].data() + pos};
      EXPECT_TRUE(plugin.process32(ins, outs, block, pos == 0 ? &changes : nullptr));
    }
    return dst;
  };
  ASSERT_TRUE(mPlugin->prepare(setup, error)) << error;
  const auto oneCall = run(*mPlugin, 256);
  auto other = host::PluginInstance::Create(*sModule, mHost, error);
  ASSERT_NE(other, nullptr) << error;
  ASSERT_TRUE(other->prepare(setup, error)) << error;
  const auto fourCalls = run(*other, 64);
  EXPECT_EQ(oneCall, fourCalls);
}

TEST_F(MorvexModuleTest, missingOrFewerChannelBuffersAreNeverWritten)
{
  std::string error;
  host::PluginInstance::Setup setup;
  setup.maxBlock = 128;
  ASSERT_TRUE(mPlugin->prepare(setup, error)) << error;
  IAudioProcessor* processor = mPlugin->processor();
  {
    AudioBlock block(2, 128, false);
    block.inBus.channelBuffers32 = nullptr;
    block.outPointers[1] = nullptr;
    ASSERT_EQ(processor->process(block.data), kResultOk);
    EXPECT_NE(block.output(0, 5), AudioBlock::kMarker);
  }
  {
    AudioBlock block(2, 128, false);
    block.outBus.channelBuffers32 = nullptr;
    ASSERT_EQ(processor->process(block.data), kResultOk);
  }
  {
    AudioBlock block(2, 128, false);
    block.inBus.numChannels = 1;
    block.outBus.numChannels = 1;
    ASSERT_EQ(processor->process(block.data), kResultOk);
    EXPECT_NE(block.output(0, 5), AudioBlock::kMarker);
    for (int i = 0; i < 128; ++i)
      ASSERT_EQ(block.output(1, i), AudioBlock::kMarker) << i;
  }
}

TEST_F(MorvexModuleTest, unusableProcessingSetupsAreRefused)
{
  IAudioProcessor* processor = mPlugin->processor();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (ProcessSetup s : {ProcessSetup{kRealtime, kSample32, 512, 0.0},
                         ProcessSetup{kRealtime, kSample32, 512, -44100.0},
                         ProcessSetup{kRealtime, kSample32, 512, nan},
                         ProcessSetup{kRealtime, kSample64, 0, 48000.0},
                         ProcessSetup{kRealtime, kSample64, -1, 48000.0},
                         ProcessSetup{kRealtime, 7, 512, 48000.0}})
    EXPECT_EQ(processor->setupProcessing(s), kResultFalse)
        << s.symbolicSampleSize << " " << s.maxSamplesPerBlock << " " << s.sampleRate;
  ProcessSetup good{kRealtime, kSample32, 512, 48000.0};
  EXPECT_EQ(processor->setupProcessing(good), kResultOk);
}
