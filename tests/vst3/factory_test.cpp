#include "vst3/CPluginFactory.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace Steinberg;

namespace {

// An object that counts how many of its kind are alive and offers IComponent only.
class Counted : public FObject
{
public:
  static int alive;
  Counted() { ++alive; }
  ~Counted() override { --alive; }
  OBJ_METHODS(Counted, FObject)
};
int Counted::alive = 0;

FUnknown* createCounted(void*)
{
  return (new Counted)->unknownCast();
}

FUnknown* createNothing(void*)
{
  return nullptr;
}

FUnknown* createThrowing(void*)
{
  throw std::runtime_error("constructor failed");
}

PClassInfo2 classInfo(uint32 last, const char* name = "Thing")
{
  TUID cid;
  FUID(0x11111111, 0x22222222, 0x33333333, last).toTUID(cid);
  return PClassInfo2(cid, PClassInfo::kManyInstances, "Audio Module Class", name, 2, "Fx|EQ",
                     "", "1.2.3", "VST 3.6.12");
}

struct FactoryFixture : ::testing::Test
{
  FactoryFixture()
  {
    factory = new vst3::CPluginFactory(PFactoryInfo("Vendor", "https://v.example", "mailto:a@v.example",
                                                    PFactoryInfo::kUnicode),
                                       &factory);
  }
  ~FactoryFixture() override
  {
    if (factory)
      factory->release();
  }
  vst3::CPluginFactory* factory = nullptr;
};

}  // namespace

TEST_F(FactoryFixture, registersEachClassIdOnceAndNeedsACreationFunction)
{
  EXPECT_TRUE(factory->registerClass(classInfo(1), createCounted));
  EXPECT_FALSE(factory->registerClass(classInfo(1, "Again"), createCounted));
  EXPECT_FALSE(factory->registerClass(classInfo(2), nullptr));
  EXPECT_EQ(factory->countClasses(), 1);
}

TEST_F(FactoryFixture, describesItsClassesInAllThreeForms)
{
  factory->registerClass(classInfo(1, "First"), createCounted);
  factory->registerClass(classInfo(2, "Second"), createCounted);
  ASSERT_EQ(factory->countClasses(), 2);

  PFactoryInfo info;
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Vendor");
  EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);

  PClassInfo plain;
  ASSERT_EQ(factory->getClassInfo(1, &plain), kResultOk);
  EXPECT_STREQ(plain.name, "Second");
  EXPECT_STREQ(plain.category, "Audio Module Class");
  EXPECT_EQ(plain.cardinality, PClassInfo::kManyInstances);

  PClassInfo2 two;
  ASSERT_EQ(factory->getClassInfo2(0, &two), kResultOk);
  EXPECT_STREQ(two.name, "First");
  EXPECT_STREQ(two.subCategories, "Fx|EQ");
  EXPECT_STREQ(two.version, "1.2.3");
  EXPECT_EQ(two.classFlags, 2u);

  PClassInfoW wide;
  ASSERT_EQ(factory->getClassInfoUnicode(0, &wide), kResultOk);
  const char16 expected[] = {'F', 'i', 'r', 's', 't', 0};
  EXPECT_EQ(std::memcmp(wide.name, expected, sizeof expected), 0);
  EXPECT_EQ(std::memcmp(wide.cid, two.cid, sizeof(TUID)), 0);
}

TEST_F(FactoryFixture, answersBadClassIndicesAndNullPointersWithoutTouchingMemory)
{
  factory->registerClass(classInfo(1), createCounted);
  PClassInfo plain;
  PClassInfo2 two;
  PClassInfoW wide;
  for (int32 index : {-1, 1, 1000, -2147483647 - 1})
  {
    EXPECT_EQ(factory->getClassInfo(index, &plain), kInvalidArgument) << index;
    EXPECT_EQ(factory->getClassInfo2(index, &two), kInvalidArgument) << index;
    EXPECT_EQ(factory->getClassInfoUnicode(index, &wide), kInvalidArgument) << index;
  }
  EXPECT_EQ(factory->getClassInfo(0, nullptr), kInvalidArgument);
  EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);
}

TEST_F(FactoryFixture, createsANewInstanceForEachCallAndHandsOutTheRequestedInterface)
{
  const PClassInfo2 info = classInfo(1);
  factory->registerClass(info, createCounted);
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(factory->createInstance(info.cid, FUnknown::iid, &first), kResultOk);
  ASSERT_EQ(factory->createInstance(info.cid, FUnknown::iid, &second), kResultOk);
  EXPECT_NE(first, second);
  EXPECT_EQ(Counted::alive, 2);
  // The caller holds the only reference.
  EXPECT_EQ(static_cast<FUnknown*>(first)->release(), 0u);
  EXPECT_EQ(static_cast<FUnknown*>(second)->release(), 0u);
  EXPECT_EQ(Counted::alive, 0);
}

TEST_F(FactoryFixture, refusesUnknownClassesAndInterfacesWithoutLeakingTheInstance)
{
  const PClassInfo2 info = classInfo(1);
  factory->registerClass(info, createCounted);
  void* obj = reinterpret_cast<void*>(0x1);
  const PClassInfo2 other = classInfo(9);
  EXPECT_EQ(factory->createInstance(other.cid, FUnknown::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);

  obj = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(factory->createInstance(info.cid, Vst::IEditController::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(Counted::alive, 0);

  EXPECT_EQ(factory->createInstance(info.cid, FUnknown::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(factory->createInstance(nullptr, FUnknown::iid, &obj), kInvalidArgument);
}

TEST_F(FactoryFixture, aCreationFunctionThatFailsOrThrowsEndsAsOutOfMemory)
{
  const PClassInfo2 none = classInfo(1), throwing = classInfo(2);
  factory->registerClass(none, createNothing);
  factory->registerClass(throwing, createThrowing);
  void* obj = nullptr;
  EXPECT_EQ(factory->createInstance(none.cid, FUnknown::iid, &obj), kOutOfMemory);
  EXPECT_EQ(factory->createInstance(throwing.cid, FUnknown::iid, &obj), kOutOfMemory);
  EXPECT_EQ(obj, nullptr);
}

TEST_F(FactoryFixture, offersTheThreeFactoryInterfacesAsOneObject)
{
  for (const auto* iid : {&FUnknown::iid, &IPluginFactory::iid, &IPluginFactory2::iid,
                          &IPluginFactory3::iid})
  {
    void* obj = nullptr;
    ASSERT_EQ(factory->queryInterface(*iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IPluginFactory3*>(factory));
    factory->release();
  }
  void* obj = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(factory->queryInterface(Vst::IComponent::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
}

TEST_F(FactoryFixture, countsReferencesAndClearsTheModuleSlotOnTheLastRelease)
{
  EXPECT_EQ(factory->addRef(), 2u);
  EXPECT_EQ(factory->addRef(), 3u);
  EXPECT_EQ(factory->release(), 2u);
  EXPECT_EQ(factory->release(), 1u);
  vst3::CPluginFactory* const keep = factory;
  EXPECT_EQ(keep->release(), 0u);
  EXPECT_EQ(factory, nullptr);
}

TEST_F(FactoryFixture, holdsTheHostContextItIsGivenUntilReplaced)
{
  Counted* context = new Counted;
  EXPECT_EQ(factory->setHostContext(context->unknownCast()), kResultOk);
  EXPECT_EQ(factory->hostContext(), context->unknownCast());
  context->release();  // the factory's reference keeps it alive
  EXPECT_EQ(Counted::alive, 1);
  EXPECT_EQ(factory->setHostContext(nullptr), kResultOk);
  EXPECT_EQ(Counted::alive, 0);
}
