#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>
#include <vector>

namespace host {

// The host's end of the controller's edits. It records what the plug-in
// reports so that callers (and tests) can see it.
class ComponentHandler : public Steinberg::Vst::IComponentHandler
{
public:
  struct Edit
  {
    enum Kind { kBegin, kPerform, kEnd } kind;
    Steinberg::Vst::ParamID id;
    Steinberg::Vst::ParamValue value;
  };

  virtual ~ComponentHandler() = default;

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  std::vector<Edit> edits() const;
  Steinberg::int32 restartFlags() const;
  void clear();

private:
  mutable std::mutex mMutex;  // edits may come from the plug-in's own threads
  std::vector<Edit> mEdits;
  Steinberg::int32 mRestartFlags = 0;
};

}  // namespace host
