#include "tools/host/ComponentHandler.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace host {

tresult PLUGIN_API ComponentHandler::beginEdit(ParamID id)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEdits.push_back({Edit::kBegin, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(ParamID id, ParamValue valueNormalized)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEdits.push_back({Edit::kPerform, id, valueNormalized});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(ParamID id)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEdits.push_back({Edit::kEnd, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mRestartFlags |= flags;
  return kResultOk;
}

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IComponentHandler::iid))
  {
    *obj = static_cast<IComponentHandler*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

std::vector<ComponentHandler::Edit> ComponentHandler::edits() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mEdits;
}

int32 ComponentHandler::restartFlags() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mRestartFlags;
}

void ComponentHandler::clear()
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEdits.clear();
  mRestartFlags = 0;
}

}  // namespace host
