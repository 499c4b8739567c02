#pragma once

// An editor window with no thread of its own: the host's run loop watches
// the window system connection and calls a timer, both on the host's
// user-interface thread. The plug-in's view registers the two with the host
// when the window opens and unregisters them before it closes.
//
// Hosts differ in how well they serve the descriptor (some never report it,
// some only once, some call with nothing to read), so every call drains what
// the connection holds without waiting, and the timer alone is enough.
class IEditorRunLoop
{
public:
  // The timer interval to ask the host for: half the redraw interval, since
  // hosts round it up to their own ticks. The editor paces its redraws
  // itself, so a change shows within two ticks.
  static constexpr int kTimerTickMs = 20;

  // The connection's file descriptor, or -1 without a window.
  virtual int EventDescriptor() = 0;
  // How often the editor redraws what changed.
  virtual int RedrawIntervalMs() = 0;
  // The descriptor may be readable: handle what the window system sent.
  virtual void OnEventsReady() = 0;
  // A timer tick: handle what the window system sent, and redraw what
  // changed when a redraw is due.
  virtual void OnTimerTick() = 0;

protected:
  ~IEditorRunLoop() = default;
};
