#pragma once

#include <cstdint>

// When a run-loop timer tick may redraw. Hosts serve timers on ticks of
// their own and round a requested interval up to whole ticks (40 ms becomes
// 60 on a 30 ms tick), so the editor asks for short ticks and keeps its own
// schedule of one redraw per interval of monotonic time. A tick that finds
// the schedule behind draws at once; one slightly early still counts.
class IRedrawPacer
{
public:
  explicit IRedrawPacer(int64_t intervalMs) : mInterval(intervalMs) {}

  bool Due(int64_t nowMs) const { return !mStarted || nowMs + kEarlyMs >= mNext; }

  // A redraw happened at nowMs: the next is one interval after the one that
  // was due, so uneven ticks still average the interval; after an idle spell
  // the schedule starts again from now instead of drawing in a burst.
  void Drew(int64_t nowMs)
  {
    const bool behind = !mStarted || nowMs - mNext >= mInterval;
    mNext = behind ? nowMs + mInterval : mNext + mInterval;
    mStarted = true;
  }

  void Reset() { mStarted = false; }

private:
  static constexpr int64_t kEarlyMs = 2;
  int64_t mInterval;
  int64_t mNext = 0;
  bool mStarted = false;
};
