// The module's factory: one class, Morvex, created one independent instance
// per call.
#include "engine/Morvex.h"
#include "vst3/CPluginFactory.h"
#include "vst3/module/ModuleState.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <cstdio>
#include <mutex>

using namespace Steinberg;

namespace {

// Where the module keeps its factory; the factory clears it when the last
// reference goes.
vst3::CPluginFactory* gFactory = nullptr;
std::mutex gFactoryLock;

constexpr const char* kVendor = "Pellicorn";
constexpr const char* kVendorUrl = "https://www.pellicorn.example";
constexpr const char* kVendorEmail = "mailto:support@pellicorn.example";
constexpr const char* kSubCategories = "Fx|EQ";
constexpr const char* kSdkVersion = "VST 3.6.12";

FUnknown* createMorvex(void*)
{
  try
  {
    std::lock_guard<std::mutex> lock(ModuleLock());
    IPlugInstanceInfo info;
    info.moduleHandle = ModuleHandle();
    return static_cast<Vst::IAudioProcessor*>(new Morvex(info));
  }
  catch (...)
  {
    return nullptr;  // the factory answers kOutOfMemory
  }
}

PClassInfo2 morvexClassInfo()
{
  const IPlugConfig config = Morvex::Config();
  TUID cid;
  // The plug-in's identity in the class ID's last two words.
  FUID(0xF2AEE70D, 0x00DE4F4E, static_cast<uint32>(config.mfrID),
       static_cast<uint32>(config.uniqueID))
      .toTUID(cid);
  char version[PClassInfo2::kVersionSize];
  std::snprintf(version, sizeof version, "%d.%d.%d", (config.vendorVersion >> 16) & 0xFFFF,
                (config.vendorVersion >> 8) & 0xFF, config.vendorVersion & 0xFF);
  return PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, config.effectName,
                     Vst::kSimpleModeSupported, kSubCategories, "", version, kSdkVersion);
}

}  // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
  try
  {
    std::lock_guard<std::mutex> lock(gFactoryLock);
    if (gFactory)
    {
      gFactory->addRef();
      return gFactory;
    }
    static const PFactoryInfo factoryInfo(kVendor, kVendorUrl, kVendorEmail, PFactoryInfo::kUnicode);
    static const PClassInfo2 classInfo = morvexClassInfo();
    gFactory = new vst3::CPluginFactory(factoryInfo, &gFactory);
    gFactory->registerClass(classInfo, createMorvex);
    return gFactory;
  }
  catch (...)
  {
    return nullptr;
  }
}
