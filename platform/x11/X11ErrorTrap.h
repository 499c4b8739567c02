#pragma once

#include <X11/Xlib.h>

// While alive, the X errors of one connection are counted here instead of
// reaching Xlib's default handler, which ends the process: a host that
// destroys its window before closing the editor must not take the session
// down with it. Errors of other connections (the host's own) still go to
// the handler that was there before. Traps nest; each lives on the thread
// that uses the connection.
class X11ErrorTrap
{
public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();

  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server to answer everything sent so far, then tells
  // whether any of it failed.
  bool SyncFailed();
  int Errors() const { return mErrors; }

private:
  static int OnError(Display* display, XErrorEvent* error);

  Display* mDisplay;
  int mErrors = 0;
  X11ErrorTrap* mOuter;
  int (*mPrevious)(Display*, XErrorEvent*);
};
