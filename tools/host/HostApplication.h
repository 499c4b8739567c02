#pragma once

#include "pluginterfaces/vst/ivsthostapplication.h"

namespace host {

// What the host hands to initialize: its name, and message objects for
// plug-ins whose component and controller talk through connection points.
// Lives as long as the host; reference counting does not delete it.
class HostApplication : public Steinberg::Vst::IHostApplication
{
public:
  explicit HostApplication(const char* name = "morvex-host");
  virtual ~HostApplication() = default;

  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
  const char* mName;
};

}  // namespace host
