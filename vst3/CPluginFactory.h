#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

namespace vst3 {

// The module's class factory: a list of registered classes, each with its
// information and a creation function. Reference counted; the last release
// deletes it and clears the slot the module keeps it in.
class CPluginFactory : public Steinberg::IPluginFactory3
{
public:
  using tresult = Steinberg::tresult;
  using int32 = Steinberg::int32;
  using uint32 = Steinberg::uint32;

  // Makes a new object with one reference, or returns null.
  using CreateFunction = Steinberg::FUnknown* (*)(void* context);

  // slot: where the module keeps this factory; cleared when it is deleted.
  explicit CPluginFactory(const Steinberg::PFactoryInfo& info,
                          CPluginFactory** slot = nullptr);

  CPluginFactory(const CPluginFactory&) = delete;
  CPluginFactory& operator=(const CPluginFactory&) = delete;

  bool registerClass(const Steinberg::PClassInfo2& info, CreateFunction create,
                     void* context = nullptr);
  bool isClassRegistered(const Steinberg::TUID cid) const;

  // FUnknown
  tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  // IPluginFactory
  tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) override;
  int32 PLUGIN_API countClasses() override;
  tresult PLUGIN_API getClassInfo(int32 index, Steinberg::PClassInfo* info) override;
  tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                    void** obj) override;

  // IPluginFactory2
  tresult PLUGIN_API getClassInfo2(int32 index, Steinberg::PClassInfo2* info) override;

  // IPluginFactory3
  tresult PLUGIN_API getClassInfoUnicode(int32 index, Steinberg::PClassInfoW* info) override;
  tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) override;

  Steinberg::FUnknown* hostContext() const { return mHostContext; }

protected:
  virtual ~CPluginFactory();

private:
  struct ClassEntry
  {
    Steinberg::PClassInfo2 info;
    CreateFunction create;
    void* context;
  };

  const ClassEntry* entryAt(int32 index) const;
  const ClassEntry* entryFor(const Steinberg::TUID cid) const;

  std::atomic<int32> mRefCount{1};
  Steinberg::PFactoryInfo mFactoryInfo;
  std::vector<ClassEntry> mClasses;
  Steinberg::FUnknown* mHostContext = nullptr;
  CPluginFactory** mSlot;
};

}  // namespace vst3
