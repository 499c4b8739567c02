#include "tools/host/HostApplication.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

HostApplication::HostApplication(const char* name) : mName(name) {}

tresult PLUGIN_API HostApplication::getName(String128 name)
{
  if (!name)
    return kInvalidArgument;
  int i = 0;
  for (; mName[i] && i < 127; ++i)
    name[i] = static_cast<TChar>(static_cast<unsigned char>(mName[i]));
  name[i] = 0;
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID cid, TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  const FUID classId = FUID::fromTUID(cid);
  const FUID interfaceId = FUID::fromTUID(iid);
  if (classId == IMessage::iid && interfaceId == IMessage::iid)
  {
    *obj = static_cast<IMessage*>(new HostMessage);
    return kResultOk;
  }
  if (classId == IAttributeList::iid && interfaceId == IAttributeList::iid)
  {
    *obj = static_cast<IAttributeList*>(new HostAttributeList);
    return kResultOk;
  }
  return kResultFalse;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IHostApplication::iid))
  {
    *obj = static_cast<IHostApplication*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace host
