#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>

class IEditorRunLoop;

#if SMTG_OS_LINUX
// The editor window's connection and redraw timer, registered with the
// host's run loop while the view is attached. The host holds references to
// it and may call it late; once unregistered it forgets the editor and
// does nothing.
class RunLoopBinding : public Steinberg::Linux::IEventHandler,
                       public Steinberg::Linux::ITimerHandler
{
public:
  // Registers the editor's descriptor and timer with the loop; null, with
  // nothing left registered, when the host refuses either.
  static RunLoopBinding* Register(Steinberg::Linux::IRunLoop* loop, IEditorRunLoop* editor);
  // Unregisters both and drops the caller's reference; later calls do nothing.
  void Unregister();

  void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;
  void PLUGIN_API onTimer() override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  RunLoopBinding(Steinberg::Linux::IRunLoop* loop, IEditorRunLoop* editor);
  virtual ~RunLoopBinding() = default;

  Steinberg::IPtr<Steinberg::Linux::IRunLoop> mLoop;
  IEditorRunLoop* mEditor;
  bool mEventsRegistered = false;
  bool mTimerRegistered = false;
  std::atomic<Steinberg::uint32> mRefs{1};
};
#endif
