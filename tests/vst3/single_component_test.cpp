#include "vst3/SingleComponentEffect.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

IPtr<vst3::SingleComponentEffect> makeEffect()
{
  auto effect = owned(new vst3::SingleComponentEffect);
  const TChar in[] = {'i', 'n', 0}, out[] = {'o', 'u', 't', 0}, side[] = {'s', 0};
  effect->addAudioInput(in, SpeakerArr::kStereo);
  effect->addAudioInput(side, SpeakerArr::kMono, kAux, 0);
  effect->addAudioOutput(out, SpeakerArr::kStereo);
  effect->addEventInput(in, 16);
  return effect;
}

template <class I>
void* query(FUnknown* object)
{
  void* obj = nullptr;
  EXPECT_EQ(object->queryInterface(I::iid, &obj), kResultOk);
  if (obj)
    static_cast<FUnknown*>(obj)->release();
  return obj;
}

}  // namespace

TEST(SingleComponentEffect, isComponentProcessorAndControllerWithOneIdentity)
{
  auto effect = makeEffect();
  FUnknown* self = static_cast<IComponent*>(effect.get());
  EXPECT_NE(query<IComponent>(self), nullptr);
  EXPECT_NE(query<IAudioProcessor>(self), nullptr);
  EXPECT_NE(query<IEditController>(self), nullptr);
  EXPECT_NE(query<IEditController2>(self), nullptr);
  EXPECT_NE(query<IUnitInfo>(self), nullptr);
  EXPECT_NE(query<IConnectionPoint>(self), nullptr);
  // Every interface answers FUnknown with the same object.
  void* viaComponent = query<FUnknown>(self);
  void* viaController = query<FUnknown>(static_cast<IEditController*>(effect.get()));
  void* viaProcessor = query<FUnknown>(static_cast<IAudioProcessor*>(effect.get()));
  EXPECT_EQ(viaComponent, viaController);
  EXPECT_EQ(viaComponent, viaProcessor);
}

TEST(SingleComponentEffect, keepsItsBusesInTheSdkBusLists)
{
  auto effect = makeEffect();
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 0);
  BusInfo info = {};
  ASSERT_EQ(effect->getBusInfo(kAudio, kInput, 1, info), kResultTrue);
  EXPECT_EQ(info.channelCount, 1);
  EXPECT_EQ(info.busType, kAux);
  EXPECT_EQ(info.mediaType, kAudio);
  EXPECT_EQ(info.direction, kInput);
  ASSERT_EQ(effect->getBusInfo(kEvent, kInput, 0, info), kResultTrue);
  EXPECT_EQ(info.channelCount, 16);

  effect->removeAudioBusses();
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
  effect->removeAllBusses();
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 0);
}

TEST(SingleComponentEffect, takesArrangementsOnlyForEveryBusAtOnce)
{
  auto effect = makeEffect();
  SpeakerArrangement ins[2] = {SpeakerArr::kMono, SpeakerArr::kStereo};
  SpeakerArrangement outs[1] = {SpeakerArr::kMono};
  EXPECT_EQ(effect->setBusArrangements(ins, 1, outs, 1), kResultFalse);
  EXPECT_EQ(effect->setBusArrangements(ins, 2, nullptr, 1), kInvalidArgument);
  ASSERT_EQ(effect->setBusArrangements(ins, 2, outs, 1), kResultTrue);
  SpeakerArrangement arr = 0;
  ASSERT_EQ(effect->getBusArrangement(kInput, 1, arr), kResultTrue);
  EXPECT_EQ(arr, SpeakerArr::kStereo);
  ASSERT_EQ(effect->getBusArrangement(kOutput, 0, arr), kResultTrue);
  EXPECT_EQ(arr, SpeakerArr::kMono);
  EXPECT_EQ(effect->getBusArrangement(kOutput, 1, arr), kInvalidArgument);
}

TEST(SingleComponentEffect, processesOnlyThirtyTwoBitsUntilADerivedClassSaysMore)
{
  auto effect = makeEffect();
  EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);
  ProcessSetup wide = {kOffline, kSample64, 256, 96000.0};
  EXPECT_EQ(effect->setupProcessing(wide), kResultFalse);
  EXPECT_EQ(effect->getProcessSetup().maxSamplesPerBlock, 1024);
  ProcessSetup plain = {kOffline, kSample32, 256, 96000.0};
  ASSERT_EQ(effect->setupProcessing(plain), kResultOk);
  EXPECT_EQ(effect->getProcessSetup().sampleRate, 96000.0);
  ProcessData data;
  EXPECT_EQ(effect->process(data), kNotImplemented);
}
