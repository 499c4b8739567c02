#include "vst3/EngineChanges.h"

#include "framework/IPlugBase.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

EngineChanges::EngineChanges(int paramCount)
  : mBefore(static_cast<size_t>(std::max(paramCount, 0))),
    mWaiting(static_cast<size_t>(std::max(paramCount, 0)))
{
}

void EngineChanges::Capture(const IPlugBase& plug)
{
  const int n = std::min(plug.NParams(), static_cast<int>(mBefore.size()));
  for (int i = 0; i < n; ++i)
    mBefore[static_cast<size_t>(i)] = plug.GetParam(i)->Value();
}

void EngineChanges::Collect(const IPlugBase& plug)
{
  const int n = std::min(plug.NParams(), static_cast<int>(mBefore.size()));
  for (int i = 0; i < n; ++i)
    if (plug.GetParam(i)->Value() != mBefore[static_cast<size_t>(i)])
      mWaiting[static_cast<size_t>(i)] = 1;
}

void EngineChanges::Forget(int index)
{
  if (index >= 0 && index < static_cast<int>(mWaiting.size()))
    mWaiting[static_cast<size_t>(index)] = 0;
}

void EngineChanges::ForgetAll()
{
  std::fill(mWaiting.begin(), mWaiting.end(), 0);
}

void EngineChanges::Report(const IPlugBase& plug, IParameterChanges* out)
{
  if (!out)
    return;
  const int n = std::min(plug.NParams(), static_cast<int>(mWaiting.size()));
  for (int i = 0; i < n; ++i)
  {
    if (!mWaiting[static_cast<size_t>(i)])
      continue;
    int32 queueIndex = 0;
    int32 pointIndex = 0;
    IParamValueQueue* queue = out->addParameterData(static_cast<ParamID>(i), queueIndex);
    if (queue && queue->addPoint(0, plug.GetParam(i)->NormalizedValue(), pointIndex) == kResultOk)
      mWaiting[static_cast<size_t>(i)] = 0;
  }
}
