#include "tools/host/RunLoop_linux.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

using namespace Steinberg;

namespace host {

RunLoopFrame::~RunLoopFrame()
{
  // A plug-in that forgot to unregister loses its handlers with the frame.
  for (EventEntry& e : mEvents) e.handler->release();
  for (TimerEntry& t : mTimers) t.handler->release();
}

tresult PLUGIN_API RunLoopFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  if (mResize && !mResize(newSize->getWidth(), newSize->getHeight())) return kResultFalse;
  return view->onSize(newSize);
}

tresult PLUGIN_API RunLoopFrame::registerEventHandler(Linux::IEventHandler* handler,
                                                      Linux::FileDescriptor fd)
{
  if (!handler || fd < 0) return kInvalidArgument;
  if (Registered(handler, fd)) return kResultFalse;
  handler->addRef();
  mEvents.push_back({handler, fd});
  return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterEventHandler(Linux::IEventHandler* handler)
{
  // Every descriptor the handler watches goes.
  bool found = false;
  for (auto it = mEvents.begin(); it != mEvents.end();)
  {
    if (it->handler != handler)
    {
      ++it;
      continue;
    }
    it->handler->release();
    it = mEvents.erase(it);
    found = true;
  }
  return found ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API RunLoopFrame::registerTimer(Linux::ITimerHandler* handler,
                                               Linux::TimerInterval milliseconds)
{
  if (!handler || milliseconds == 0) return kInvalidArgument;
  if (Registered(handler)) return kResultFalse;
  handler->addRef();
  const auto interval = std::chrono::milliseconds(milliseconds);
  mTimers.push_back({handler, interval, Clock::now() + interval});
  return kResultOk;
}

tresult PLUGIN_API RunLoopFrame::unregisterTimer(Linux::ITimerHandler* handler)
{
  auto it = std::find_if(mTimers.begin(), mTimers.end(),
                         [handler](const TimerEntry& t) { return t.handler == handler; });
  if (it == mTimers.end()) return kInvalidArgument;
  it->handler->release();
  mTimers.erase(it);
  return kResultOk;
}

bool RunLoopFrame::Registered(Linux::IEventHandler* handler, int fd) const
{
  return std::any_of(mEvents.begin(), mEvents.end(), [&](const EventEntry& e) {
    return e.handler == handler && e.fd == fd;
  });
}

bool RunLoopFrame::Registered(Linux::ITimerHandler* handler) const
{
  return std::any_of(mTimers.begin(), mTimers.end(),
                     [handler](const TimerEntry& t) { return t.handler == handler; });
}

void RunLoopFrame::Run(int ms)
{
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
  for (;;)
  {
    Clock::time_point wake = end;
    for (const TimerEntry& t : mTimers) wake = std::min(wake, t.due);
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now());

    // Handlers may unregister anything while being called, so each call
    // works on a copy and checks that its entry is still there.
    const std::vector<EventEntry> events = mEvents;
    std::vector<pollfd> fds;
    for (const EventEntry& e : events) fds.push_back({e.fd, POLLIN, 0});
    const int ready = poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(wait.count(), 0)));
    if (ready < 0 && errno != EINTR) return;
    for (size_t i = 0; ready > 0 && i < fds.size(); ++i)
    {
      if (fds[i].revents == 0 || !Registered(events[i].handler, events[i].fd)) continue;
      events[i].handler->onFDIsSet(events[i].fd);
    }

    const Clock::time_point now = Clock::now();
    std::vector<Linux::ITimerHandler*> due;
    for (TimerEntry& t : mTimers)
    {
      if (t.due > now) continue;
      due.push_back(t.handler);
      t.due = now + t.interval;
    }
    for (Linux::ITimerHandler* handler : due)
      if (Registered(handler)) handler->onTimer();
    if (Clock::now() >= end) return;
  }
}

tresult PLUGIN_API RunLoopFrame::queryInterface(const TUID iid, void** obj)
{
  if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid))
  {
    *obj = static_cast<IPlugFrame*>(this);
    return kResultOk;
  }
  if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
  {
    *obj = static_cast<Linux::IRunLoop*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace host
