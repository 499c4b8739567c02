#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace host {

// One parameter's points within a block, in the order they were added.
class ParamValueQueue : public Steinberg::Vst::IParamValueQueue
{
public:
  explicit ParamValueQueue(Steinberg::Vst::ParamID id) : mId(id) {}
  virtual ~ParamValueQueue() = default;

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
  struct Point
  {
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
  };
  Steinberg::Vst::ParamID mId;
  std::vector<Point> mPoints;
};

}  // namespace host
