#pragma once

// An editor window with no thread of its own: the host's run loop watches
// the window system connection and calls the redraw timer, both on the
// host's user-interface thread. The plug-in's view registers the two with
// the host when the window opens and unregisters them before it closes.
class IEditorRunLoop
{
public:
  // The connection's file descriptor, or -1 without a window.
  virtual int EventDescriptor() = 0;
  virtual int RedrawIntervalMs() = 0;
  // The descriptor is readable: handle what the window system sent.
  virtual void OnEventsReady() = 0;
  virtual void OnRedrawTimer() = 0;

protected:
  ~IEditorRunLoop() = default;
};
