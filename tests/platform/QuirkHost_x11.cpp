#include "tests/platform/QuirkHost_x11.h"

#include <X11/Xatom.h>
#include <sys/select.h>

#include <algorithm>

using namespace Steinberg;

namespace
{
// XEmbed's messages and flags, as an embedder sends and reads them.
constexpr long kEmbeddedNotify = 0;
constexpr long kWindowActivate = 1;
constexpr long kRequestFocus = 3;
constexpr long kFocusIn = 4;
constexpr long kFocusCurrent = 0;
constexpr long kMapped = 1;
}  // namespace

QuirkHost::QuirkHost(const HostHabits& habits, Display* display)
  : mHabits(habits), mDisplay(display), mNextTick(Clock::now())
{
  mXEmbed = XInternAtom(mDisplay, "_XEMBED", False);
  mXEmbedInfo = XInternAtom(mDisplay, "_XEMBED_INFO", False);
  const int screen = DefaultScreen(mDisplay);
  mParent = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), 0, 0, 1240, 360, 0, 0,
                                0x202020);
  // An embedder hears of the windows made in its own, and of their messages.
  XSelectInput(mDisplay, mParent, SubstructureNotifyMask | StructureNotifyMask);
  if (!habits.unmappedParent) MapParent();
  XSync(mDisplay, False);
}

QuirkHost::~QuirkHost()
{
  XDestroyWindow(mDisplay, mParent);
  XSync(mDisplay, False);
}

void QuirkHost::MapParent()
{
  XMapRaised(mDisplay, mParent);
  for (XEvent e;;)
  {
    XWindowEvent(mDisplay, mParent, StructureNotifyMask, &e);
    if (e.type == MapNotify) break;
  }
}

void QuirkHost::SizeParent(const ViewRect& size)
{
  XResizeWindow(mDisplay, mParent, static_cast<unsigned>(size.getWidth()),
                static_cast<unsigned>(size.getHeight()));
  XSync(mDisplay, False);
}

void QuirkHost::RunTicks(int ticks, int maxMs)
{
  const long until = mTimerCalls + ticks;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(maxMs);
  while (mTimerCalls < until && Clock::now() < end) Step(end);
}

void QuirkHost::Run(int ms)
{
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < end) Step(end);
}

void QuirkHost::Step(Clock::time_point until)
{
  Clock::time_point wake = until;
  if (mHabits.tickMs > 0)
    wake = std::min(wake, mNextTick);
  else
    for (const TimerEntry& t : mTimers) wake = std::min(wake, t.due);
  ServeDescriptors(std::max(wake - Clock::now(), Clock::duration::zero()));
  ServeOwnConnection();

  const Clock::time_point now = Clock::now();
  std::vector<Linux::ITimerHandler*> due;
  if (mHabits.tickMs > 0)
  {
    if (now < mNextTick) return;
    mNextTick = now + std::chrono::milliseconds(mHabits.tickMs);
    if (mHabits.idlePollsFd) FireIdlePolls();
    for (const TimerEntry& t : mTimers)
    {
      int& left = TicksLeft(t);
      if (--left > 0) continue;
      left = 0;  // counted afresh from the interval
      due.push_back(t.handler);
    }
  }
  else
  {
    for (TimerEntry& t : mTimers)
      if (t.due <= now)
      {
        t.due = now + t.interval;
        due.push_back(t.handler);
      }
  }
  for (Linux::ITimerHandler* handler : due) Fire(handler);
}

int& QuirkHost::TicksLeft(const TimerEntry& timer)
{
  // Ticking hosts round an interval up to whole ticks.
  int& left = mTicksLeft[timer.handler];
  if (left <= 0)
  {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(timer.interval).count();
    left = static_cast<int>((ms + mHabits.tickMs - 1) / mHabits.tickMs);
  }
  return left;
}

void QuirkHost::ServeDescriptors(Clock::duration wait)
{
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(wait).count();
  timeval timeout = {static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
  // A host that only polls from its idle tick watches nothing in between.
  if (mHabits.idlePollsFd || mEvents.empty())
  {
    select(0, nullptr, nullptr, nullptr, &timeout);
    return;
  }
  fd_set readable;
  FD_ZERO(&readable);
  int highest = ConnectionNumber(mDisplay);  // the host watches its own connection too
  FD_SET(highest, &readable);
  for (const EventEntry& e : mEvents)
  {
    FD_SET(e.fd, &readable);
    highest = std::max(highest, e.fd);
  }
  const int count = mHabits.selectMissesHighest ? highest : highest + 1;
  if (select(count, &readable, nullptr, nullptr, &timeout) <= 0) return;
  // Handlers may unregister anything while called.
  const std::vector<EventEntry> events = mEvents;
  for (const EventEntry& e : events)
  {
    if (!FD_ISSET(e.fd, &readable) || !Registered(e.handler, e.fd)) continue;
    e.handler->onFDIsSet(e.fd);
    if (mHabits.fdFiresOnce) unregisterEventHandler(e.handler);
  }
}

void QuirkHost::FireIdlePolls()
{
  const std::vector<EventEntry> events = mEvents;
  for (int i = 0; i < kIdlePolls; ++i)
    for (const EventEntry& e : events)
      if (Registered(e.handler, e.fd)) e.handler->onFDIsSet(e.fd);
}

void QuirkHost::Fire(Linux::ITimerHandler* handler)
{
  if (!Registered(handler)) return;
  ++mTimerCalls;
  handler->onTimer();
}

void QuirkHost::ServeOwnConnection()
{
  XEvent e;
  while (XCheckTypedWindowEvent(mDisplay, mParent, CreateNotify, &e))
    if (mHabits.xembedChecksInfo) Embed(e.xcreatewindow.window);
  while (XCheckTypedWindowEvent(mDisplay, mParent, ClientMessage, &e))
    if (e.xclient.message_type == mXEmbed && e.xclient.data.l[1] == kRequestFocus)
    {
      ++mFocusRequests;
      SendXEmbed(mClient, kFocusIn, kFocusCurrent, 0, 0);
    }
}

void QuirkHost::Embed(Window client)
{
  // As the SDK's sample host does: a client without the property is refused
  // (that host exits), one with it is told who embeds it, and shown if it
  // says it wants to be.
  mClient = client;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const bool read = XGetWindowProperty(mDisplay, client, mXEmbedInfo, 0, 2, False, mXEmbedInfo,
                                       &type, &format, &items, &after, &data) == Success;
  mClientHadInfo = read && type == mXEmbedInfo && format == 32 && items >= 2;
  if (mClientHadInfo) mClientFlags = reinterpret_cast<long*>(data)[1];
  if (data) XFree(data);
  if (!mClientHadInfo) return;
  SendXEmbed(client, kEmbeddedNotify, 0, static_cast<long>(mParent), 0);
  if (mClientFlags & kMapped) XMapWindow(mDisplay, client);
  SendXEmbed(client, kWindowActivate, 0, 0, 0);
  XFlush(mDisplay);
}

void QuirkHost::SendXEmbed(Window to, long message, long detail, long data1, long data2)
{
  if (!to) return;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = to;
  event.xclient.message_type = mXEmbed;
  event.xclient.format = 32;
  event.xclient.data.l[0] = CurrentTime;
  event.xclient.data.l[1] = message;
  event.xclient.data.l[2] = detail;
  event.xclient.data.l[3] = data1;
  event.xclient.data.l[4] = data2;
  XSendEvent(mDisplay, to, False, NoEventMask, &event);
  XFlush(mDisplay);
}

tresult PLUGIN_API QuirkHost::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize) return kInvalidArgument;
  ResizeCall call{*newSize, ViewRect()};
  view->getSize(&call.sizeDuringCall);
  resizeCalls.push_back(call);
  switch (resizeAnswer)
  {
    case ResizeAnswer::kOnSize:
      XResizeWindow(mDisplay, mParent, static_cast<unsigned>(newSize->getWidth()),
                    static_cast<unsigned>(newSize->getHeight()));
      return view->onSize(newSize);
    case ResizeAnswer::kYesWithoutOnSize:
      XResizeWindow(mDisplay, mParent, static_cast<unsigned>(newSize->getWidth()),
                    static_cast<unsigned>(newSize->getHeight()));
      return kResultTrue;
    case ResizeAnswer::kRefuse: return kResultFalse;
    case ResizeAnswer::kOldSizeThenNo:
    {
      ViewRect old = call.sizeDuringCall;
      view->onSize(&old);
      return kResultFalse;
    }
  }
  return kResultFalse;
}

tresult PLUGIN_API QuirkHost::registerEventHandler(Linux::IEventHandler* handler,
                                                   Linux::FileDescriptor fd)
{
  if (mHabits.noFdSupport) return kNotImplemented;
  return RunLoopFrame::registerEventHandler(handler, fd);
}
