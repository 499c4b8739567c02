#pragma once

#include "tools/host/ParamValueQueue.h"

#include <memory>
#include <vector>

namespace host {

// The changes the host delivers with one process call: one queue per
// parameter. Owned by the host; reference counting does not delete it.
class ParameterChanges : public Steinberg::Vst::IParameterChanges
{
public:
  virtual ~ParameterChanges() = default;

  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  // Adds one point to the parameter's queue, creating the queue when needed.
  void add(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
           Steinberg::int32 sampleOffset = 0);
  bool empty() const { return mQueues.empty(); }
  void clear() { mQueues.clear(); }

private:
  std::vector<std::unique_ptr<ParamValueQueue>> mQueues;
};

}  // namespace host
