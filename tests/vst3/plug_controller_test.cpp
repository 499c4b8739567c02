#include "tests/vst3/ProbePlug.h"
#include "tests/vst3/TestStreams.h"
#include "tools/host/ComponentHandler.h"
#include "tools/host/HostApplication.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
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

void widen(const char* text, String128 out)
{
  int i = 0;
  for (; text[i]; ++i)
    out[i] = static_cast<TChar>(text[i]);
  out[i] = 0;
}

std::vector<char> stateOf(const std::vector<double>& values, const int32_t* bypass)
{
  std::vector<char> bytes;
  for (double v : values)
  {
    uint64_t raw;
    std::memcpy(&raw, &v, 8);
    for (int i = 0; i < 8; ++i)
      bytes.push_back(static_cast<char>(raw >> (8 * i)));
  }
  if (bypass)
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<char>(static_cast<uint32_t>(*bypass) >> (8 * i)));
  return bytes;
}

struct ControllerTest : ::testing::Test
{
  ControllerTest() : host("Cubase Pro 10")
  {
    EXPECT_EQ(plug->initialize(&host), kResultOk);
    plug->setComponentHandler(&handler);
    plug->changed.clear();
  }
  ~ControllerTest() override
  {
    plug->setComponentHandler(nullptr);
    plug->terminate();
  }
  double value(int index) const { return plug->GetParam(index)->Value(); }

  IPtr<ProbePlug> plug = MakeProbe();
  host::HostApplication host;
  host::ComponentHandler handler;
};

}  // namespace

TEST_F(ControllerTest, initializeIdentifiesTheHostAndASecondOneAddsNothing)
{
  EXPECT_EQ(plug->HostCode(), 3);  // Cubase
  EXPECT_EQ(plug->initialize(&host), kResultFalse);
  EXPECT_EQ(plug->getParameterCount(), 2 + ProbePlug::kNumParams);
  EXPECT_EQ(plug->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(plug->getBusCount(kAudio, kOutput), 1);
  // The preset is still restored: every parameter hears of it.
  EXPECT_EQ(plug->changed.size(), static_cast<size_t>(ProbePlug::kNumParams));
}

TEST(ControllerWithoutHost, aSecondInitializeIsRefusedEvenWithoutAHostContext)
{
  IPtr<ProbePlug> plug = MakeProbe();
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);
  EXPECT_EQ(plug->initialize(nullptr), kResultFalse);
  EXPECT_EQ(plug->getParameterCount(), 2 + ProbePlug::kNumParams);
  EXPECT_EQ(plug->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(plug->getBusCount(kAudio, kOutput), 1);
  // terminate makes it new again.
  ASSERT_EQ(plug->terminate(), kResultOk);
  EXPECT_EQ(plug->initialize(nullptr), kResultOk);
  EXPECT_EQ(plug->getParameterCount(), 2 + ProbePlug::kNumParams);
  plug->terminate();
}

TEST_F(ControllerTest, registersPresetAndBypassThenThePluginParametersInIndexOrder)
{
  struct Row
  {
    ParamID id;
    const char* title;
    const char* units;
    int32 steps;
    double defaultNormalized;
    int32 flags;
    UnitID unit;
  };
  const Row rows[] = {
      {IPlugVST3::kPresetParam, "Preset", "", 1, 0.0, ParameterInfo::kIsProgramChange, 0},
      {IPlugVST3::kBypassParam, "Bypass", "", 1, 0.0, 0x10009, 0},
      {0, "Gain", "dB", 0, 16.0 / 32.0, ParameterInfo::kCanAutomate, 0},
      {1, "Shaped", "%", 0, std::sqrt(25.0 / 100.0), ParameterInfo::kCanAutomate, 0},
      {2, "Switch", "", 3, 1.0 / 3.0, ParameterInfo::kCanAutomate, 0},
      {3, "Huge", "", 0, 0.0, ParameterInfo::kCanAutomate, 0},
      {4, "Grouped", "", 1, 0.0, 0, 1},
  };
  ASSERT_EQ(plug->getParameterCount(), 7);
  for (int32 i = 0; i < 7; ++i)
  {
    ParameterInfo info = {};
    ASSERT_EQ(plug->getParameterInfo(i, info), kResultOk) << i;
    const Row& row = rows[i];
    EXPECT_EQ(info.id, row.id) << i;
    EXPECT_EQ(narrow(info.title), row.title) << i;
    EXPECT_EQ(narrow(info.shortTitle), "") << i;
    EXPECT_EQ(narrow(info.units), row.units) << i;
    EXPECT_EQ(info.stepCount, row.steps) << i;
    EXPECT_NEAR(info.defaultNormalizedValue, row.defaultNormalized, 1e-12) << i;
    EXPECT_EQ(info.flags, row.flags) << i;
    EXPECT_EQ(info.unitId, row.unit) << i;
  }
}

TEST_F(ControllerTest, parameterAndUnitIndicesOutOfRangeAnswerFalseInsteadOfThrowing)
{
  ParameterInfo info = {};
  UnitInfo unit = {};
  for (int32 index : {-1, 7, 100, INT_MIN, INT_MAX})
    EXPECT_EQ(plug->getParameterInfo(index, info), kResultFalse) << index;
  for (int32 index : {-1, 2, INT_MIN, INT_MAX})
    EXPECT_EQ(plug->getUnitInfo(index, unit), kResultFalse) << index;
}

TEST_F(ControllerTest, theRootUnitAndOneUnitPerParameterGroup)
{
  EXPECT_EQ(plug->getUnitCount(), 2);
  UnitInfo unit = {};
  ASSERT_EQ(plug->getUnitInfo(0, unit), kResultOk);
  EXPECT_EQ(unit.id, 0);
  EXPECT_EQ(unit.parentUnitId, -1);
  EXPECT_EQ(narrow(unit.name), "Root Unit");
  EXPECT_EQ(unit.programListId, -1);
  ASSERT_EQ(plug->getUnitInfo(1, unit), kResultOk);
  EXPECT_EQ(unit.id, 1);
  EXPECT_EQ(unit.parentUnitId, 0);
  EXPECT_EQ(narrow(unit.name), "Tone");
  EXPECT_EQ(plug->getSelectedUnit(), 0);
}

TEST_F(ControllerTest, displayTextsComeFromThePluginParameters)
{
  struct Case
  {
    ParamID id;
    double normalized;
    const char* text;
  } cases[] = {
      {ProbePlug::kGain, 0.5, "0.00"},   {ProbePlug::kGain, 0.75, "8.00"},
      {ProbePlug::kGain, 0.0, "-16.00"}, {ProbePlug::kShaped, 0.5, "25.00"},
      {ProbePlug::kSwitch, 1.0 / 3.0, "1"}, {ProbePlug::kSwitch, 1.0, "3"},
      // Out-of-range host values read as the nearest end.
      {ProbePlug::kGain, 1.5, "16.00"},  {ProbePlug::kShaped, -0.5, "0.00"},
  };
  for (const Case& c : cases)
  {
    String128 text = {};
    ASSERT_EQ(plug->getParamStringByValue(c.id, c.normalized, text), kResultOk);
    EXPECT_EQ(narrow(text), c.text) << c.id << " at " << c.normalized;
  }
  String128 text = {};
  EXPECT_EQ(plug->getParamStringByValue(IPlugVST3::kBypassParam, 1.0, text), kResultFalse);
  EXPECT_EQ(plug->getParamStringByValue(IPlugVST3::kPresetParam, 0.0, text), kResultFalse);
  EXPECT_EQ(plug->getParamStringByValue(999, 0.0, text), kResultFalse);
}

TEST_F(ControllerTest, typedTextIsParsedClampedAndNormalized)
{
  struct Case
  {
    ParamID id;
    const char* text;
    double normalized;
  } cases[] = {
      {ProbePlug::kGain, "8", 0.75},       {ProbePlug::kGain, "-100", 0.0},
      {ProbePlug::kGain, "4 dB", 0.625},   {ProbePlug::kGain, "loud", 0.5},
      {ProbePlug::kShaped, "25", 0.5},     {IPlugVST3::kBypassParam, "on", 1.0},
  };
  for (const Case& c : cases)
  {
    String128 text;
    widen(c.text, text);
    ParamValue normalized = -1.0;
    ASSERT_EQ(plug->getParamValueByString(c.id, text, normalized), kResultOk) << c.text;
    EXPECT_NEAR(normalized, c.normalized, 1e-12) << c.text;
  }
  ParamValue normalized = 0.0;
  EXPECT_EQ(plug->getParamValueByString(ProbePlug::kGain, nullptr, normalized), kResultFalse);
}

TEST_F(ControllerTest, malformedHostTextNeverThrowsWhateverTheParameter)
{
  // A lone surrogate is not UTF-16 a converter accepts.
  const TChar broken[] = {0xD800, '1', 0};
  for (ParamID id : {IPlugVST3::kPresetParam, IPlugVST3::kBypassParam,
                     static_cast<ParamID>(ProbePlug::kGain)})
  {
    ParamValue normalized = 0.25;
    tresult result = kResultOk;
    EXPECT_NO_THROW(result = plug->getParamValueByString(id, const_cast<TChar*>(broken), normalized))
        << id;
    if (result == kResultOk)
    {
      EXPECT_GE(normalized, 0.0) << id;
      EXPECT_LE(normalized, 1.0) << id;
    }
  }
}

TEST_F(ControllerTest, everyTextFitsAHostBufferWithItsTerminator)
{
  // 1e300 with six decimals is over 300 characters.
  TChar buffer[130];
  for (TChar& unit : buffer)
    unit = 0x7777;
  ASSERT_EQ(plug->getParamStringByValue(ProbePlug::kHuge, 1.0, buffer), kResultOk);
  int length = 0;
  while (length < 128 && buffer[length])
    ++length;
  EXPECT_LE(length, 127);
  EXPECT_EQ(buffer[length], 0);
  EXPECT_EQ(buffer[128], 0x7777);
  EXPECT_EQ(buffer[129], 0x7777);
}

TEST_F(ControllerTest, conversionsUseThePluginParametersAndPassOtherIdsThrough)
{
  EXPECT_DOUBLE_EQ(plug->plainParamToNormalized(ProbePlug::kGain, 8.0), 0.75);
  EXPECT_DOUBLE_EQ(plug->plainParamToNormalized(ProbePlug::kShaped, 25.0), 0.5);
  EXPECT_DOUBLE_EQ(plug->plainParamToNormalized(IPlugVST3::kBypassParam, 7.5), 7.5);
  EXPECT_DOUBLE_EQ(plug->plainParamToNormalized(12345, -3.0), -3.0);
  EXPECT_DOUBLE_EQ(plug->normalizedParamToPlain(ProbePlug::kGain, 0.25), -8.0);
  EXPECT_DOUBLE_EQ(plug->normalizedParamToPlain(ProbePlug::kShaped, 0.5), 25.0);
}

TEST_F(ControllerTest, setParamNormalizedOnlyStoresTheValue)
{
  EXPECT_EQ(plug->setParamNormalized(ProbePlug::kGain, 0.75), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 8.0);
  EXPECT_DOUBLE_EQ(plug->getParamNormalized(ProbePlug::kGain), 0.75);
  EXPECT_TRUE(plug->changed.empty());
  // The controller shows a bypass the host sets; the processor waits for its block.
  EXPECT_EQ(plug->setParamNormalized(IPlugVST3::kBypassParam, 1.0), kResultOk);
  EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kBypassParam), 1.0);
  EXPECT_FALSE(plug->IsBypassed());
  EXPECT_EQ(plug->setParamNormalized(999, 1.0), kResultFalse);
  EXPECT_EQ(plug->getParamNormalized(999), 0.0);
  EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kPresetParam), 0.0);
}

TEST_F(ControllerTest, theBypassParameterReadsTheBypassState)
{
  EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kBypassParam), 0.0);
  plug->SetBypassed(true);
  EXPECT_EQ(plug->getParamNormalized(IPlugVST3::kBypassParam), 1.0);
}

TEST_F(ControllerTest, oneProgramListThatIsNotCountedButStillAnswers)
{
  EXPECT_EQ(plug->getProgramListCount(), 0);
  ProgramListInfo list = {};
  ASSERT_EQ(plug->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, static_cast<ProgramListID>(IPlugVST3::kPresetParam));
  EXPECT_EQ(narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(plug->getProgramListInfo(1, list), kResultFalse);
  EXPECT_EQ(plug->getProgramListInfo(-1, list), kResultFalse);

  String128 name = {};
  ASSERT_EQ(plug->getProgramName(IPlugVST3::kPresetParam, 0, name), kResultOk);
  EXPECT_EQ(narrow(name), "-");
  name[0] = 'x';
  ASSERT_EQ(plug->getProgramName(IPlugVST3::kPresetParam, 5, name), kResultOk);
  EXPECT_EQ(narrow(name), "");
  ASSERT_EQ(plug->getProgramName(IPlugVST3::kPresetParam, -1, name), kResultOk);
  EXPECT_EQ(plug->getProgramName(0, 0, name), kResultFalse);
}

TEST_F(ControllerTest, theCallsItDoesNotOfferSaySo)
{
  String128 text = {};
  UnitID unit = 0;
  TUID cid = {};
  RoutingInfo in = {}, out = {};
  EXPECT_EQ(plug->getProgramInfo(IPlugVST3::kPresetParam, 0, "x", text), kNotImplemented);
  EXPECT_EQ(plug->hasProgramPitchNames(IPlugVST3::kPresetParam, 0), kNotImplemented);
  EXPECT_EQ(plug->getProgramPitchName(IPlugVST3::kPresetParam, 0, 60, text), kNotImplemented);
  EXPECT_EQ(plug->selectUnit(1), kNotImplemented);
  EXPECT_EQ(plug->getUnitByBus(kAudio, kInput, 0, 0, unit), kNotImplemented);
  EXPECT_EQ(plug->setUnitProgramData(0, 0, nullptr), kNotImplemented);
  EXPECT_EQ(plug->getControllerClassId(cid), kNotImplemented);
  EXPECT_EQ(plug->setIoMode(kSimple), kNotImplemented);
  EXPECT_EQ(plug->getRoutingInfo(in, out), kNotImplemented);
  EXPECT_EQ(plug->setComponentState(nullptr), kNotImplemented);
  EXPECT_EQ(plug->setProcessing(true), kNotImplemented);
  EXPECT_EQ(plug->setKnobMode(kLinearMode), kResultOk);
  EXPECT_EQ(plug->openHelp(false), kResultFalse);
  EXPECT_EQ(plug->openAboutBox(false), kResultFalse);
}

// --- state ---------------------------------------------------------------------------

TEST_F(ControllerTest, getStateWritesTheValuesAsLittleEndianDoublesAndTheBypassWord)
{
  ByteStream stream;
  ASSERT_EQ(plug->getState(&stream), kResultOk);
  const int32_t off = 0;
  EXPECT_EQ(stream.bytes(), stateOf({0.0, 25.0, 1.0, 0.0, 0.0}, &off));

  plug->SetBypassed(true);
  plug->GetParam(ProbePlug::kGain)->AssignPlain(-3.5);
  ByteStream again;
  ASSERT_EQ(plug->getState(&again), kResultOk);
  const int32_t on = 1;
  EXPECT_EQ(again.bytes(), stateOf({-3.5, 25.0, 1.0, 0.0, 0.0}, &on));
}

TEST_F(ControllerTest, componentAndControllerShareOneStateFunction)
{
  IComponent* component = plug.get();
  IEditController* controller = plug.get();
  ByteStream a, b;
  ASSERT_EQ(component->getState(&a), kResultOk);
  ASSERT_EQ(controller->getState(&b), kResultOk);
  EXPECT_EQ(a.bytes(), b.bytes());

  const int32_t on = 1;
  ByteStream in(stateOf({4.0, 50.0, 2.0, 0.0, 1.0}, &on));
  ASSERT_EQ(component->setState(&in), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 4.0);
  EXPECT_TRUE(plug->IsBypassed());
}

TEST_F(ControllerTest, setStateRestoresEveryValueAndTheBypassWord)
{
  const int32_t on = 1;
  ByteStream stream(stateOf({-8.0, 50.0, 3.0, 2.5, 1.0}, &on));
  ASSERT_EQ(plug->setState(&stream), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), -8.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kShaped), 50.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kSwitch), 3.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kHuge), 2.5);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGrouped), 1.0);
  EXPECT_TRUE(plug->IsBypassed());
  EXPECT_EQ(plug->changed, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(ControllerTest, setStateWithoutTheBypassWordRestoresTheValuesButFails)
{
  plug->SetBypassed(true);
  ByteStream stream(stateOf({-8.0, 50.0, 3.0, 2.5, 1.0}, nullptr));
  EXPECT_EQ(plug->setState(&stream), kResultFalse);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), -8.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGrouped), 1.0);
  EXPECT_TRUE(plug->IsBypassed());  // no word, no change
}

TEST_F(ControllerTest, aShortStreamRestoresWhatItHoldsAndKeepsTheRest)
{
  plug->GetParam(ProbePlug::kSwitch)->AssignPlain(2.0);
  plug->GetParam(ProbePlug::kHuge)->AssignPlain(7.0);
  std::vector<char> bytes = stateOf({-8.0, 50.0}, nullptr);
  bytes.push_back(0x11);  // three bytes of the third value
  bytes.push_back(0x22);
  bytes.push_back(0x33);
  ByteStream stream(bytes);
  EXPECT_EQ(plug->setState(&stream), kResultFalse);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), -8.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kShaped), 50.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kHuge), 7.0);
  EXPECT_GE(value(ProbePlug::kSwitch), 0.0);  // partly overwritten, still in range
  EXPECT_LE(value(ProbePlug::kSwitch), 3.0);
}

TEST_F(ControllerTest, anEmptyStreamChangesNothingAndFails)
{
  plug->GetParam(ProbePlug::kGain)->AssignPlain(5.0);
  ByteStream stream;
  EXPECT_EQ(plug->setState(&stream), kResultFalse);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 5.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kShaped), 25.0);
  EXPECT_EQ(plug->setState(nullptr), kResultFalse);
  EXPECT_EQ(plug->getState(nullptr), kResultFalse);
}

TEST_F(ControllerTest, nonFiniteStoredValuesRestoreAsDefaults)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  plug->GetParam(ProbePlug::kGain)->AssignPlain(5.0);
  const int32_t off = 0;
  ByteStream stream(stateOf({nan, inf, -inf, 1.0, 0.0}, &off));
  ASSERT_EQ(plug->setState(&stream), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 0.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kShaped), 25.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kSwitch), 1.0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kHuge), 1.0);
}

TEST_F(ControllerTest, garbageRestoresIntoEveryRange)
{
  std::vector<char> bytes(44);
  uint32_t x = 2463534242u;
  for (char& b : bytes)
  {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<char>(x);
  }
  ByteStream stream(bytes);
  plug->setState(&stream);
  for (int i = 0; i < ProbePlug::kNumParams; ++i)
  {
    const IParamEntry* p = plug->GetParam(i);
    EXPECT_TRUE(std::isfinite(p->Value())) << i;
    EXPECT_GE(p->Value(), p->Min()) << i;
    EXPECT_LE(p->Value(), p->Max()) << i;
  }
}

TEST_F(ControllerTest, aStreamThatDeliversAFewBytesAtATimeStillRestoresEverything)
{
  const int32_t on = 1;
  ByteStream stream(stateOf({-8.0, 50.0, 3.0, 2.5, 1.0}, &on), 3);
  ASSERT_EQ(plug->setState(&stream), kResultOk);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGrouped), 1.0);
  EXPECT_TRUE(plug->IsBypassed());
}

// --- edits and host notifications ----------------------------------------------------

TEST_F(ControllerTest, editorEditsReachTheComponentHandler)
{
  plug->BeginParamEdit(ProbePlug::kGain);
  plug->SetParamFromEditor(ProbePlug::kGain, 0.75);
  plug->EndParamEdit(ProbePlug::kGain);
  const auto edits = handler.edits();
  ASSERT_EQ(edits.size(), 3u);
  EXPECT_EQ(edits[0].kind, host::ComponentHandler::Edit::kBegin);
  EXPECT_EQ(edits[1].kind, host::ComponentHandler::Edit::kPerform);
  EXPECT_EQ(edits[1].id, static_cast<ParamID>(ProbePlug::kGain));
  EXPECT_DOUBLE_EQ(edits[1].value, 0.75);
  EXPECT_EQ(edits[2].kind, host::ComponentHandler::Edit::kEnd);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), 8.0);
  EXPECT_EQ(plug->changed, std::vector<int>{ProbePlug::kGain});
}

TEST_F(ControllerTest, editsWithoutAComponentHandlerGoNowhere)
{
  plug->setComponentHandler(nullptr);
  plug->BeginParamEdit(0);
  plug->SetParamFromEditor(0, 0.25);
  plug->EndParamEdit(0);
  EXPECT_DOUBLE_EQ(value(ProbePlug::kGain), -8.0);
  EXPECT_TRUE(handler.edits().empty());
}

TEST_F(ControllerTest, aLatencyChangeAsksTheHostToRestart)
{
  plug->SetLatency(64);
  EXPECT_EQ(plug->getLatencySamples(), 64u);
  EXPECT_EQ(handler.restartFlags() & kLatencyChanged, kLatencyChanged);
}

TEST_F(ControllerTest, noEditorViewIsOfferedYet)
{
  EXPECT_EQ(plug->createView("editor"), nullptr);
  EXPECT_EQ(plug->createView("Editor"), nullptr);
}
