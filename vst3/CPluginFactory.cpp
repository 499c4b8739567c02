#include "vst3/CPluginFactory.h"

#include <cstring>

using namespace Steinberg;

namespace vst3 {

CPluginFactory::CPluginFactory(const PFactoryInfo& info, CPluginFactory** slot)
: mFactoryInfo(info), mSlot(slot)
{
}

CPluginFactory::~CPluginFactory()
{
  if (mHostContext)
    mHostContext->release();
  if (mSlot && *mSlot == this)
    *mSlot = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo2& info, CreateFunction create, void* context)
{
  if (!create || isClassRegistered(info.cid))
    return false;
  mClasses.push_back({info, create, context});
  return true;
}

bool CPluginFactory::isClassRegistered(const TUID cid) const
{
  return entryFor(cid) != nullptr;
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const
{
  if (index < 0 || index >= static_cast<int32>(mClasses.size()))
    return nullptr;
  return &mClasses[static_cast<size_t>(index)];
}

const CPluginFactory::ClassEntry* CPluginFactory::entryFor(const TUID cid) const
{
  for (const ClassEntry& entry : mClasses)
    if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) == 0)
      return &entry;
  return nullptr;
}

// --- FUnknown ------------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid))
  {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
  return static_cast<uint32>(++mRefCount);
}

uint32 PLUGIN_API CPluginFactory::release()
{
  const int32 left = --mRefCount;
  if (left == 0)
    delete this;
  return static_cast<uint32>(left);
}

// --- class information -----------------------------------------------------------

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
  if (!info)
    return kInvalidArgument;
  *info = mFactoryInfo;
  return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
  return static_cast<int32>(mClasses.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!info || !entry)
    return kInvalidArgument;
  *info = PClassInfo(entry->info.cid, entry->info.cardinality, entry->info.category,
                     entry->info.name);
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!info || !entry)
    return kInvalidArgument;
  *info = entry->info;
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
  const ClassEntry* entry = entryAt(index);
  if (!info || !entry)
    return kInvalidArgument;
  info->fromAscii(entry->info);
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context)
{
  if (context)
    context->addRef();
  if (mHostContext)
    mHostContext->release();
  mHostContext = context;
  return kResultOk;
}

// --- creation ----------------------------------------------------------------------

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid)
    return kInvalidArgument;
  const ClassEntry* entry = entryFor(reinterpret_cast<const int8*>(cid));
  if (!entry)
    return kNoInterface;

  FUnknown* instance = nullptr;
  try
  {
    instance = entry->create(entry->context);
  }
  catch (...)
  {
    instance = nullptr;  // nothing may escape into the host
  }
  if (!instance)
    return kOutOfMemory;
  // The query adds the reference the caller gets; ours goes either way.
  const tresult result = instance->queryInterface(reinterpret_cast<const int8*>(iid), obj);
  instance->release();
  if (result != kResultOk)
  {
    *obj = nullptr;
    return kNoInterface;
  }
  return kResultOk;
}

}  // namespace vst3
