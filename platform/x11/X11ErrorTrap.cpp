#include "platform/x11/X11ErrorTrap.h"

#include <atomic>

namespace
{
using Handler = int (*)(Display*, XErrorEvent*);
thread_local X11ErrorTrap* tInnermost = nullptr;
// The handler in place before the outermost trap. Not per thread: the
// handler is the process's, and a host thread may meet an error of its own
// while a trap is up.
std::atomic<Handler> gForeign{nullptr};
}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : mDisplay(display), mOuter(tInnermost)
{
  mPrevious = XSetErrorHandler(OnError);
  if (!mOuter) gForeign.store(mPrevious);
  tInnermost = this;
}

X11ErrorTrap::~X11ErrorTrap()
{
  tInnermost = mOuter;
  XSetErrorHandler(mPrevious);
}

bool X11ErrorTrap::SyncFailed()
{
  if (mDisplay) XSync(mDisplay, False);
  return mErrors > 0;
}

int X11ErrorTrap::OnError(Display* display, XErrorEvent* error)
{
  for (X11ErrorTrap* trap = tInnermost; trap; trap = trap->mOuter)
  {
    if (trap->mDisplay == display)
    {
      ++trap->mErrors;
      return 0;
    }
  }
  const Handler foreign = gForeign.load();
  return foreign ? foreign(display, error) : 0;
}
