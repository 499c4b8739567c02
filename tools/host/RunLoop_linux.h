#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <functional>
#include <vector>

namespace host {

// The host's plug frame on Linux, which is also its run loop, as Linux DAWs
// offer it: a plug-in's editor registers its redraw timer and its window
// system connection here, and everything runs on the thread that calls Run.
// Handlers are held with a reference while registered, and may unregister
// (themselves or others) from inside a call.
class RunLoopFrame : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop
{
public:
  using ResizeHandler = std::function<bool(int width, int height)>;

  RunLoopFrame() = default;
  virtual ~RunLoopFrame();

  // What resizeView does with a new size before telling the view; without
  // a handler every size is accepted.
  void OnResize(ResizeHandler handler) { mResize = std::move(handler); }
  // Serves timers and descriptors for ms milliseconds.
  void Run(int ms);

  int EventHandlers() const { return static_cast<int>(mEvents.size()); }
  int Timers() const { return static_cast<int>(mTimers.size()); }

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval milliseconds) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

protected:
  // What is registered, for hosts that serve it their own way.
  using Clock = std::chrono::steady_clock;
  struct EventEntry
  {
    Steinberg::Linux::IEventHandler* handler;
    int fd;
  };
  struct TimerEntry
  {
    Steinberg::Linux::ITimerHandler* handler;
    Clock::duration interval;
    Clock::time_point due;
  };
  bool Registered(Steinberg::Linux::IEventHandler* handler, int fd) const;
  bool Registered(Steinberg::Linux::ITimerHandler* handler) const;

  std::vector<EventEntry> mEvents;
  std::vector<TimerEntry> mTimers;

private:
  ResizeHandler mResize;
};

}  // namespace host
