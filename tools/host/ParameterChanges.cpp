#include "tools/host/ParameterChanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

int32 PLUGIN_API ParameterChanges::getParameterCount()
{
  return static_cast<int32>(mQueues.size());
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
  if (index < 0 || index >= getParameterCount())
    return nullptr;
  return mQueues[static_cast<size_t>(index)].get();
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index)
{
  for (size_t i = 0; i < mQueues.size(); ++i)
    if (mQueues[i]->getParameterId() == id)
    {
      index = static_cast<int32>(i);
      return mQueues[i].get();
    }
  index = getParameterCount();
  mQueues.push_back(std::make_unique<ParamValueQueue>(id));
  return mQueues.back().get();
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IParameterChanges::iid))
  {
    *obj = static_cast<IParameterChanges*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

void ParameterChanges::add(ParamID id, ParamValue value, int32 sampleOffset)
{
  int32 index = 0;
  int32 pointIndex = 0;
  addParameterData(id, index)->addPoint(sampleOffset, value, pointIndex);
}

}  // namespace host
